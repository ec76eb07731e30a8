// What a back end gives the window system (the screen, character widths, the world outside, input)
// and what the window system lets a back end see (every window's state, for drawing it or writing
// it into a transcript). The headless and Qt back ends implement Backend; start-up installs one.
#pragma once

#include <span>
#include <string_view>

#include "platform.h"

struct Backend {
  ScreenMetrics (*screen)();
  // Advance widths of the bytes in a font of that face and height (0: the face's default).
  void (*charWidths)(std::string_view face, int height, CharWidths& widths);
  bool (*fontInstalled)(std::string_view face);
  bool (*libraryPresent)(std::string_view name);
  bool (*pictureAvailable)(std::string_view library, std::string_view name, int& width,
                           int& height);
  int (*startProgram)(std::string_view path);  // >= 32 on success
  void (*openHelp)(std::string_view file);
  void (*reportEvent)(std::string_view text);
  // A window was created, changed, shown, hidden, ended or destroyed, or its menu changed. The
  // back end may mirror it now or note it for later. For a destroyed window IsWindow is false.
  void (*windowChanged)(Window window);
  // The queue is empty and the program waits for input: deliver some (post or send messages,
  // change a window), or end the program. Returning with nothing delivered tells the loop that
  // the input has ended: it returns -1 (see RunMessageLoop).
  void (*waitForInput)();
  bool (*keyDown)(int key);
  // A page to print (PrintDocument), for the owner's window; its first line names it.
  void (*printDocument)(Window owner, std::span<const std::string_view> lines);
};

// Entries left null keep the default back end's: a screen of 1024 x 768 at 96 dpi, every byte
// 8 pixels wide, no fonts, libraries or pictures, programs that do not start, no printer, and no
// input.
void InstallBackend(const Backend& backend);

// Destroys every window without messages and forgets the queue, the quit, classes, menus, fonts,
// pictures, libraries and the registered resources; handles stay unique across it. For tests.
void ResetWindowSystem();

// ---- Seeing the windows -----------------------------------------------------------------------

enum class WindowKind : std::uint8_t {
  kTopLevel,   // a window of a registered class
  kDialog,     // a dialog from a template
  kMessageBox,
  kControl,
  kForeign,    // a window of another program (the calculator, a second copy), made by a back end
};

struct WindowView {
  WindowKind kind;
  ControlKind controlKind;  // for kControl
  std::string_view className;     // "dialog" for dialogs and message boxes
  std::string_view templateName;  // dialogs: "MINMAX", "1603"
  std::string_view text;          // title, label, edit text, static text; a box's message
  std::string_view caption;       // a message box's caption
  int id;                         // control ID, kNoControlId when none
  bool visible;
  bool enabled;
  bool checked;
  bool modal;  // a dialog or message box run by RunModalDialog / MessageBox
  bool ended;  // EndDialog was called (or the box answered); result holds the result
  Result result;
  bool redraw;  // list boxes: drawing is on (kMsgSetRedraw)
  Window parent;
  Window owner;
  Font font;
  std::uint32_t style;         // WindowStyle bits; controls: kStyleChild
  std::uint32_t controlStyle;  // ControlStyle bits of a control from a template
  WindowRect rect;             // screen coordinates
  std::uint32_t zOrder;        // higher is nearer the top; showing and BringToTop raise it
  std::string_view pictureLibrary;  // SetWindowPicture; empty when none
  std::string_view pictureName;
  bool pictureStretched;
  std::uint32_t boxStyle;  // message boxes
  std::uint32_t serial;    // bumped by every change of the window or its rows
};

bool ViewWindow(Window window, WindowView& view);
// Every live window, in creation order.
int ListWindows(std::span<Window> windows);
// The controls of a dialog in template order.
int ListControls(Window dialog, std::span<Window> controls);
int ListRows(Window list, std::span<std::string_view> rows);  // views valid until the next change
bool IsLessonFaceFont(Font font, std::string_view face);
// The face and height a font was created with; false for no font.
bool ViewFont(Font font, FontDescription& description);
Window TopModal();  // the innermost running modal dialog or message box, or kNoWindow
Window KeyboardDialog();

struct MenuItemView {
  std::string_view label;
  int command;
  bool enabled;
  bool separator;
  bool rightText;  // a separator turned into right-justified text
};
// Menu bar items and pop-up items of a window's menu; returns the count.
int ViewMenuBar(Window window, std::span<MenuItemView> items);
int ViewMenuPopup(Window window, int position, std::span<MenuItemView> items);
std::uint32_t MenuSerial(Window window);

// A window of another program, for back ends that stand in for the world outside.
Window CreateForeignWindow(std::string_view className, std::string_view title);

// Delivering input. A click, key or character goes where a real one would.
void ClickButton(Window button);
void KeyPress(Window target, int key);
void TypeChar(Window target, char c);
// Input for a window that is hidden or disabled, or inside one, is dropped, here and again when
// it is dispatched.
void ListClickRow(Window list, int row, bool doubleClick);
void CloseRequest(Window window);
// Chooses a menu command as a click on its item would: posts kMsgCommand (command, value 0) to
// the window. False when the window takes no input or the item (or its pop-up) is greyed.
bool ChooseMenuCommand(Window window, int command);
