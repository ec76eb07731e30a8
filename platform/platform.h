// Our window system: windows as handles with procedures, dialogs built from templates, controls,
// the menu bar, message boxes, one message queue and one message loop, fonts and the screen. The
// lesson's window and dialog procedures call only this; back ends (headless/, qt/) decide how a
// window is shown and where input comes from. Nothing here knows the lesson.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "resource_types.h"

// ---- Handles and procedures -------------------------------------------------------------------

using Window = std::uint32_t;  // 0 is no window
inline constexpr Window kNoWindow = 0;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using Result = std::intptr_t;
using WindowProc = Result (*)(Window window, unsigned message, WParam wParam, LParam lParam);

inline constexpr int kMaxWindows = 256;  // live windows and controls at once

// ---- Messages ---------------------------------------------------------------------------------

enum Message : unsigned {
  kMsgCreate = 1,      // lParam: the value passed to CreateWindowOf or to the dialog's creation
  kMsgDestroy,
  kMsgInitDialog,      // wParam: the first tab stop; lParam: the creation value; 1 takes the focus
  kMsgCommand,         // wParam: MakeCommand(id, notification); lParam: value or control
  kMsgSetFocus,        // the window gained the keyboard focus (dialogs get it for any control)
  kMsgKillFocus,
  kMsgPaint,
  kMsgSize,            // wParam: kSizeRestored / kSizeMinimized / kSizeMaximized
  kMsgClose,           // the window manager's close request
  kMsgKeyDown,         // wParam: Key
  kMsgChar,            // wParam: the character byte
  kMsgSysChar,         // wParam: the character typed with Alt held
  kMsgCtlColor,        // wParam: the control; return a colour request handled flag
  kMsgDrawItem,        // wParam: control id; lParam: DrawItemAction
  kMsgLButtonDown,
  kMsgLButtonUp,
  kMsgLButtonDblClk,
  kMsgSetRedraw,       // wParam: 0 off, 1 on
  kMsgSysCommand,      // wParam: the system command
  kMsgQuit,            // wParam: the exit code; never dispatched
};

// Message numbers from here up belong to the application.
inline constexpr unsigned kMsgFirstPrivate = 100;

enum SizeKind : WParam { kSizeRestored = 0, kSizeMinimized = 1, kSizeMaximized = 2 };
// What an owner-drawn button asks its parent to draw: the whole button, a change of its pressed
// state (kDrawSelected set while it is pressed) or a change of focus.
enum DrawItemAction : LParam {
  kDrawEntire = 1,
  kDrawSelect = 2,
  kDrawFocus = 4,
  kDrawSelected = 8,
};

// Control notifications carried in a command.
enum Notification : int {
  kNotifyClicked = 0,
  kNotifyListSelect = 1,
  kNotifyListDoubleClick = 2,
};

inline constexpr WParam MakeCommand(int id, int notification) {
  return (static_cast<WParam>(static_cast<std::uint16_t>(notification)) << 16) |
         static_cast<std::uint16_t>(id);
}
inline constexpr int CommandId(WParam w) { return static_cast<int>(w & 0xFFFFu); }
inline constexpr int CommandNotification(WParam w) { return static_cast<int>((w >> 16) & 0xFFFFu); }

// Standard dialog results and button IDs.
enum DialogId : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// Virtual keys. Letters and digits are their upper-case ASCII codes ('A' to 'Z', '0' to '9').
enum Key : int {
  kKeyBackspace = 8, kKeyTab = 9, kKeyEnter = 13, kKeyShift = 16, kKeyControl = 17, kKeyAlt = 18,
  kKeyEscape = 27, kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35,
  kKeyHome = 36, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyDelete = 46,
  kKeyF1 = 112, kKeyF2, kKeyF3, kKeyF4, kKeyF5, kKeyF6, kKeyF7, kKeyF8, kKeyF9, kKeyF10,
  kKeyF11, kKeyF12,
};

// True while the key (kKeyControl, kKeyShift, kKeyAlt) is held down.
bool IsKeyDown(int key);

struct QueuedMessage {
  Window window;
  unsigned message;
  WParam wParam;
  LParam lParam;
};

inline constexpr int kQueueSize = 512;

// Queues a message; false when the queue is full (the message is dropped).
bool PostMessageTo(Window window, unsigned message, WParam wParam, LParam lParam);
// Calls the window's procedure at once.
Result SendMessageTo(Window window, unsigned message, WParam wParam, LParam lParam);
void PostQuitMessage(int code);

// The one message loop. With modalDialog set it runs until that dialog (or message box) ends and
// returns its result; otherwise until the quit message and returns its code. Each message goes
// first to the keyboard handling of the modal dialog, or, outside modal loops, of the dialog that
// SetKeyboardDialog named; then keys are translated into characters and the message dispatched.
// A quit posted while a modal loop runs is kept: that loop goes on until its dialog ends, and the
// main loop returns the code once its queue is empty. When the queue is empty and no window needs
// painting the loop asks the back end for input; a back end that delivers nothing has no more
// input to give, and the loop returns -1 (a modal dialog that had not ended ends with -1).
Result RunMessageLoop(Window modalDialog);

// The modeless dialog whose keyboard handling the main loop offers messages to first.
void SetKeyboardDialog(Window dialog);

// Dialog keyboard handling, for messages to the dialog or its controls: Enter presses the focused
// push button, else the default button, else sends command 1; Escape sends command 2; Tab and
// Shift+Tab move between tab-stop controls; a mnemonic character (typed with Alt, or without it
// while the focus is not in an edit field or list box) presses its button. True when taken.
bool HandleDialogMessage(Window dialog, const QueuedMessage& message);

// ---- Windows ----------------------------------------------------------------------------------

enum WindowStyle : std::uint32_t {
  kStyleVisible = 1u << 0,
  kStyleDisabled = 1u << 1,
  kStyleChild = 1u << 2,
  kStylePopup = 1u << 3,
  kStyleCaption = 1u << 4,
  kStyleSystemMenu = 1u << 5,
  kStyleMinimizeBox = 1u << 6,
  kStyleMaximized = 1u << 7,
  kStyleBorder = 1u << 8,
  kStyleVScroll = 1u << 9,
  kStyleToolWindow = 1u << 10,
  kStyleClipChildren = 1u << 11,
  kStyleMinimized = 1u << 12,  // set and cleared by ShowWindow, as kStyleMaximized is
};

struct Colour {
  std::uint8_t r, g, b;
};

struct WindowClass {
  const char* name;
  WindowProc procedure;
  Colour background;
  const char* menuName;  // nullptr for none
};

bool RegisterWindowClass(const WindowClass& windowClass);

// Built-in control classes: "static", "edit", "button", "listbox". A window of a control class
// with kStyleChild is a control of its parent. kNoWindow when the class is unknown, the table of
// windows is full or the procedure answers kMsgCreate with -1.
Window CreateWindowOf(std::string_view className, std::string_view title, std::uint32_t style,
                      int x, int y, int width, int height, Window parentOrOwner, int id,
                      LParam createValue);
void DestroyWindow(Window window);
bool IsWindow(Window window);

enum ShowMode : int { kHide = 0, kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };
// Maximised and minimised are states reported in the style; the rectangle stays as set. Hiding a
// window that holds the keyboard focus leaves no window with the focus.
void ShowWindow(Window window, ShowMode mode);
bool IsWindowVisible(Window window);
void EnableWindow(Window window, bool enabled);
bool IsWindowEnabled(Window window);
// kNoWindow takes the focus from every window. The window losing the focus gets kMsgKillFocus,
// the one gaining it kMsgSetFocus; when the focus enters a dialog from outside it (onto the dialog
// or one of its controls) the dialog gets kMsgSetFocus as well.
void SetFocus(Window window);
Window GetFocus();
void BringToTop(Window window);
Window LastActivePopup(Window window);

// An edit field's caret goes to the end of the new text.
void SetWindowText(Window window, std::string_view text);
// Copies the text, cut and terminated, into the buffer; returns its length.
int GetWindowText(Window window, std::span<char> buffer);

Window GetParent(Window window);
Window GetOwner(Window window);
int GetControlId(Window window);

struct WindowRect {
  int left, top, width, height;
};
WindowRect GetWindowRect(Window window);  // screen coordinates
WindowRect GetClientRect(Window window);  // left and top 0
void MoveWindow(Window window, int x, int y, int width, int height);
void InvalidateWindow(Window window, bool erase);
void UpdateWindow(Window window);

// Replaces the window's procedure and returns the previous one, for chaining and restoring.
WindowProc ReplaceWindowProc(Window window, WindowProc procedure);
Result CallWindowProc(WindowProc procedure, Window window, unsigned message, WParam wParam,
                      LParam lParam);
Result DefaultWindowProc(Window window, unsigned message, WParam wParam, LParam lParam);

// Top-level windows by class and/or title (either may be empty to match any).
Window FindTopWindow(std::string_view className, std::string_view title);

// ---- Dialogs ----------------------------------------------------------------------------------

// Creates a modeless dialog from its template (hidden unless the template says visible), sends it
// kMsgInitDialog. kNoWindow when there is no such template.
Window CreateModelessDialog(std::string_view templateName, Window owner, WindowProc procedure,
                            LParam initValue);
// Creates the dialog, disables its owner, runs the message loop until EndDialog, destroys it and
// returns the result (-1 when there is no such template or the input ended first). Template
// coordinates are dialog units, turned into pixels as x * 6 / 4 across and y * 13 / 8 down, from
// the owner's top left corner (the screen's without an owner).
Result RunModalDialog(std::string_view templateName, Window owner, WindowProc procedure,
                      LParam initValue);
// Ends a modal dialog with that result (it is hidden now, destroyed when its loop returns); a
// modeless dialog is only hidden.
void EndDialog(Window dialog, Result result);
// The command of a dialog that only its OK button closes: OK ends it with result and is handled
// (1); any other command is not (0).
inline Result EndOnOk(Window dialog, WParam wParam, Result result) {
  if (CommandId(wParam) != kIdOk) return 0;
  EndDialog(dialog, result);
  return 1;
}
Window DialogItem(Window dialog, int id);
void SetDialogItemText(Window dialog, int id, std::string_view text);
std::string_view DialogTemplateName(Window dialog);

// Radio and check state.
void CheckButton(Window dialog, int id, bool checked);
bool IsButtonChecked(Window dialog, int id);

// ---- List boxes and edit fields ---------------------------------------------------------------

inline constexpr int kMaxListRows = 256;
inline constexpr int kMaxControlText = 512;  // a list row or a control's text, terminator included

int ListAddRow(Window list, std::string_view text);  // index, or -1 when the list is full
// Index -1 adds at the end; -1 when the list is full or the index lies beyond the last row.
int ListInsertRow(Window list, int index, std::string_view text);
void ListDeleteRow(Window list, int index);
void ListClear(Window list);
int ListRowCount(Window list);
// -1 clears the selection; a selected row is scrolled into view; an index outside the rows
// changes nothing.
void ListSelect(Window list, int index);
int ListSelection(Window list);  // -1 when none
int ListRowText(Window list, int index, std::span<char> buffer);  // length, -1 when no such row
void ListSetTopRow(Window list, int index);
int ListTopRow(Window list);
int ListVisibleRows(Window list);

void EditSetCaret(Window edit, int position);
int EditCaret(Window edit);
inline constexpr int kMaxEditChars = 77;  // longer typing into a field is ignored

// ---- Menus ------------------------------------------------------------------------------------

// Loads the menu template of that name as the window's menu bar.
bool SetWindowMenu(Window window, std::string_view menuName);
void EnableMenuPosition(Window window, int position, bool enabled);
bool IsMenuPositionEnabled(Window window, int position);
void EnableMenuCommand(Window window, int command, bool enabled);
// Turns the item with that command into right-justified text, or back into a separator.
void SetMenuCommandText(Window window, int command, std::string_view text);
void SetMenuCommandSeparator(Window window, int command);
void DrawMenuBar(Window window);

// ---- Message boxes ----------------------------------------------------------------------------

enum BoxStyle : std::uint32_t {
  kBoxOk = 0,
  kBoxOkCancel = 1,
  kBoxYesNo = 4,
  kBoxButtonsMask = 0xF,
  kBoxIconInformation = 0x40,
  kBoxIconExclamation = 0x30,
  kBoxIconQuestion = 0x20,
  kBoxIconMask = 0xF0,
  kBoxSystemModal = 0x1000,
};

// Shows a message box and runs the message loop until it is answered; returns the button's ID
// (-1 when the input ended first). The owner's top-level window is disabled while the box is up;
// a box without owner disables nothing.
int MessageBox(Window owner, std::string_view text, std::string_view caption, std::uint32_t style);

// ---- Fonts, pictures, screen ------------------------------------------------------------------

using Font = std::uint32_t;  // 0 is no font: the control's default
inline constexpr Font kNoFont = 0;
using CharWidths = std::array<int, 256>;

struct FontDescription {
  char face[32];
  int height;  // 0 asks for the face's default height
  int width;
};
using FontEnumProc = int (*)(const FontDescription& font, LParam value);
// Calls back for each installed font of that face (with height and width 0); returns the
// callback's last result, 0 when none was installed.
int EnumerateFonts(std::string_view face, FontEnumProc procedure, LParam value);
Font CreateFontFrom(const FontDescription& description);
void DeleteFont(Font font);
Font SystemFont();
void SetWindowFont(Window window, Font font);
Font GetWindowFont(Window window);
void GetCharWidths(Font font, CharWidths& widths);

struct ScreenMetrics {
  int width;
  int height;
  int dpi;
};
ScreenMetrics GetScreenMetrics();
int ScrollBarWidth();

using Picture = std::uint32_t;  // 0 is no picture
inline constexpr Picture kNoPicture = 0;
Picture LoadPicture(std::string_view library, std::string_view name);
void FreePicture(Picture picture);
void PictureSize(Picture picture, int& width, int& height);
// Shows the picture over the window's client area, stretched or at its own size at the top left;
// kNoPicture clears it. The window keeps its own copy: the picture may be freed afterwards.
void SetWindowPicture(Window window, Picture picture, bool stretched);

void SetScrollBarColour(Colour colour);
Colour GetScrollBarColour();

// ---- The world outside ------------------------------------------------------------------------

// Loads a library of the suite by name; 0 when it is missing. A loaded library's handle is 32 or
// more.
using Library = std::uint32_t;
Library LoadLibraryByName(std::string_view name);
void FreeLibrary(Library library);

// Starts a program; returns a value of 32 or more on success, an error code below that.
int StartProgram(std::string_view path);
// The directories a program is started from, C:\WINDOWS and C:\WINDOWS\SYSTEM; a back end
// reads the program's name after the last backslash.
std::string_view WindowsDirectory();
std::string_view SystemDirectory();
void OpenHelp(Window owner, std::string_view file);
// Events the student would notice that have no window of their own ("certificate printed: ...").
void ReportEvent(std::string_view text);
// Prints a page of UTF-8 lines. The first line names the document (a print queue shows it; the
// headless back end reports it); the rest are the page's text. Whether and where it is printed is
// the back end's business: the desktop asks with its print dialog.
void PrintDocument(Window owner, std::span<const std::string_view> lines);
