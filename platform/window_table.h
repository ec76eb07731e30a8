// The window system's own records, shared by its sources and seen by no one else: the table of
// windows with the state of their controls, the back end in use, the activity count that tells
// the message loop whether input arrived, and the hooks by which one source of the window system
// calls another (class procedures, list rows, menus, the modal stack, resetting).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "backend.h"
#include "platform.h"

namespace platform_detail {

inline constexpr int kMaxClassName = 44;  // 43 characters and the terminator
inline constexpr int kMaxCaptionText = 128;
inline constexpr int kMaxPictureName = 40;
inline constexpr int kNoSlot = -1;
inline constexpr int kSystemFontHeight = 16;
inline constexpr std::string_view kDialogClassName = "dialog";

static_assert(kMaxEditChars < kMaxControlText, "an edit field's text fits a window's text");

struct WindowRecord {
  Window handle;             // kNoWindow while the slot is free
  std::uint32_t generation;  // how often the slot was used before: makes handles unique
  std::uint32_t creation;    // creation sequence, for listing windows in creation order
  WindowKind kind;
  ControlKind controlKind;
  std::array<char, kMaxClassName> className;
  const DialogTemplate* dialogTemplate;
  WindowProc procedure;
  Window parent;
  Window owner;
  std::array<char, kMaxControlText> text;
  std::array<char, kMaxCaptionText> caption;
  WindowRect rect;      // a child's is relative to its parent
  std::uint32_t style;  // kStyleVisible and kStyleDisabled are the visible and enabled state
  std::uint32_t controlStyle;
  int id;
  bool checked;
  bool modal;
  bool ended;
  Result result;
  bool redraw;
  bool destroying;
  bool needsPaint;
  bool pressed;      // a button between mouse down and up
  Window lastFocus;  // dialogs: the control that last had the focus
  Font font;
  std::uint32_t boxStyle;
  std::uint32_t serial;
  std::uint32_t zOrder;
  int caret;
  int list;  // list boxes: the row store, kNoSlot otherwise
  int menu;  // the menu bar, kNoSlot when none
  std::array<char, kMaxPictureName> pictureLibrary;
  std::array<char, kMaxPictureName> pictureName;
  bool pictureStretched;
};

// ---- Text -------------------------------------------------------------------------------------

// The zero-terminated text in a buffer (all of it when there is no terminator).
std::string_view TextOf(std::span<const char> buffer);
// Copies the text, cut at the buffer's end, terminated; true when the buffer's text changed.
bool CopyText(std::span<char> buffer, std::string_view text);
bool SameIgnoringCase(std::string_view a, std::string_view b);
// The character after the first single '&' of a label, 0 when it has none.
char MnemonicOf(std::string_view label);
char LowerCase(char c);

// ---- The window table (windows.cpp) -----------------------------------------------------------

// The record of a live window (also while it is being destroyed); nullptr for any other handle.
WindowRecord* Find(Window window);
// A fresh record of that kind, or nullptr when the table is full. Sends nothing.
WindowRecord* NewRecord(WindowKind kind, std::string_view className);
bool IsShown(const WindowRecord& record);
bool IsEnabledRecord(const WindowRecord& record);
// Bumps the serial and tells the back end.
void Touch(WindowRecord& record);
// Anything that the message loop counts as something happening.
void NoteActivity();
std::uint64_t Activity();

Window TopLevelOf(Window window);
// window is ancestor or lies inside it (through parents).
bool IsInside(Window window, Window ancestor);
// The window and every parent above it are visible.
bool ShownWithParents(Window window);
// The window and every parent above it are visible and enabled.
bool AcceptsInput(Window window);
// The dialog or message box that is the window or holds it, kNoWindow when none.
Window EnclosingDialog(Window window);
void MarkForPaint(Window window, bool withDescendants);
// Takes the focus away (kMsgKillFocus to the focused window) when it lies inside the window.
void DropFocusFrom(Window window);
void ForgetFocusInside(Window window);

// Handles of live windows that pass the test, in creation order; returns the count.
template <typename Keep>
int CollectWindows(std::span<Window> out, Keep&& keep);
std::span<WindowRecord> AllRecords();

int ChildrenOf(Window parent, std::span<Window> out);
void RaiseToTop(WindowRecord& record);

// ---- Hooks of the other sources ---------------------------------------------------------------

const Backend& TheBackend();  // backend.cpp

// controls.cpp
struct ControlBlueprint {
  Window parent;
  ControlKind kind;
  std::string_view text;
  WindowRect rect;  // relative to the parent
  int id;
  std::uint32_t style;  // WindowStyle bits; kStyleChild is added
  std::uint32_t controlStyle;
};
Window CreateControl(const ControlBlueprint& blueprint);
WindowProc ControlProcedure(ControlKind kind);
std::string_view ControlClassName(ControlKind kind);
bool IsControlClass(std::string_view className, ControlKind& kind);
bool IsPushButton(ControlKind kind);  // push, default and owner-drawn buttons
int AttachList();
void ReleaseList(int list);
void ResetLists();

// dialogs.cpp
Result DefaultDialogProc(Window dialog, unsigned message, WParam wParam, LParam lParam);
// Runs a created dialog or box modally: disables the owner, shows it, loops, destroys it and
// gives the focus back. previousFocus is the focus before the dialog was created.
Result RunModal(Window dialog, Window previousFocus);
bool ModalStackFull();
Window FirstTabStop(Window dialog);
void ResetDialogs();

// message_loop.cpp
void ResetQueue();
// Posts input: dropped when the window takes no input; marked so that it is dropped at dispatch
// too when the window no longer does.
void PostInput(Window window, unsigned message, WParam wParam, LParam lParam);

// menus.cpp
void ReleaseMenu(int menu);
bool ChooseMenuMnemonic(Window window, char c);
void ResetMenus();

// fonts.cpp
int FontHeight(Font font);
void ResetFonts();

// world.cpp
void ResetWorld();

// ---- Template definitions ---------------------------------------------------------------------

template <typename Keep>
int CollectWindows(std::span<Window> out, Keep&& keep) {
  struct Entry {
    std::uint32_t creation;
    Window handle;
  };
  std::array<Entry, kMaxWindows> found{};
  int count = 0;
  for (const WindowRecord& record : AllRecords()) {
    if (record.handle != kNoWindow && keep(record))
      found[count++] = {record.creation, record.handle};
  }
  std::sort(found.begin(), found.begin() + count,
            [](const Entry& a, const Entry& b) { return a.creation < b.creation; });
  int written = std::min<int>(count, static_cast<int>(out.size()));
  for (int i = 0; i < written; ++i) out[i] = found[i].handle;
  return written;
}

}  // namespace platform_detail
