// The scaffolding of the window system's tests (platform_windows_test, platform_dialogs_test and
// platform_controls_test): the dialog and menu resources they open, a log of every message the
// procedures receive, a back end that plays scripted input each time the window system waits, the
// logging procedures, and the fixture that resets the window system around every test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "backend.h"
#include "platform.h"

namespace platform_test_support {

// ---- Resources --------------------------------------------------------------------------------

inline constexpr int kEditId = 10;
inline constexpr int kHiddenId = 20;
inline constexpr int kRadioId = 21;
inline constexpr int kGoId = 40;
inline constexpr int kNotifyListId = 30;
inline constexpr int kQuietListId = 31;

inline constexpr ControlTemplate kAskControls[] = {
    {kNoControlId, ControlKind::kStatic, "Question?", 4, 4, 100, 10, 0},
    {kEditId, ControlKind::kEdit, "", 4, 16, 100, 12, kControlTabStop},
    {kIdOk, ControlKind::kDefaultButton, "&Ok", 4, 32, 40, 14, kControlTabStop},
    {kIdCancel, ControlKind::kPushButton, "&Cancel", 50, 32, 40, 14, kControlTabStop},
    {kHiddenId, ControlKind::kPushButton, "&Hidden", 96, 32, 40, 14,
     kControlTabStop | kControlHidden},
    {kRadioId, ControlKind::kRadioButton, "&Maximize", 4, 50, 60, 10, kControlTabStop},
};
inline constexpr ControlTemplate kPanelControls[] = {
    {50, ControlKind::kStatic, "Prompt", 4, 4, 100, 10, 0},
    {kEditId, ControlKind::kEdit, "", 4, 16, 100, 12, kControlTabStop},
    {kGoId, ControlKind::kPushButton, "&Go", 4, 32, 40, 14, kControlTabStop},
};
inline constexpr ControlTemplate kListControls[] = {
    {kNotifyListId, ControlKind::kListBox, "", 0, 0, 100, 30, kControlTabStop | kControlListNotify},
    {kQuietListId, ControlKind::kListBox, "", 0, 40, 100, 30, kControlTabStop},
};
inline constexpr ControlTemplate kPictureControls[] = {
    {999, ControlKind::kFrame, "", 0, 0, 100, 100, 0},
    {1, ControlKind::kOwnerDrawButton, "", 10, 10, 40, 20, kControlTabStop},
};
inline constexpr DialogTemplate kDialogs[] = {
    {"ASK", "Ask", 10, 20, 200, 80, kDialogVisible, kAskControls},
    {"PANEL", "", 0, 0, 200, 60, 0, kPanelControls},
    {"LISTS", "Lists", 0, 0, 120, 80, kDialogVisible, kListControls},
    {"PICTURE", "", 0, 0, 120, 120, kDialogVisible | kDialogNoCaption, kPictureControls},
};
inline constexpr MenuItemTemplate kOptions[] = {
    {"&Calculator", 116}, {nullptr, 0}, {"&Print", 135}};
inline constexpr MenuBarItemTemplate kBar[] = {
    {"&Practice", 110, {}}, {"&Options", 0, kOptions}, {"&Quit", 140, {}}};
inline constexpr MenuTemplate kMenus[] = {{"TESTMENU", kBar}};
inline constexpr ResourceSet kResources{kDialogs, kMenus};

// ---- The message log --------------------------------------------------------------------------

struct Row {
  Window window;
  unsigned message;
  WParam wParam;
  LParam lParam;
  bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* out) {
  static constexpr const char* kNames[] = {
      "?",        "Create", "Destroy", "InitDialog", "Command",   "SetFocus",   "KillFocus",
      "Paint",    "Size",   "Close",   "KeyDown",    "Char",      "SysChar",    "CtlColor",
      "DrawItem", "LDown",  "LUp",     "LDblClk",    "SetRedraw", "SysCommand", "Quit"};
  *out << "{window " << row.window << ", ";
  if (row.message < std::size(kNames)) {
    *out << kNames[row.message];
  } else {
    *out << "private " << row.message;
  }
  *out << ", " << row.wParam << ", " << row.lParam << "}";
}

inline constexpr int kLogSize = 1024;
inline constexpr unsigned kPaintMessages =
    (1u << kMsgPaint) | (1u << kMsgCtlColor) | (1u << kMsgDrawItem);
inline constexpr unsigned kFocusMessages = (1u << kMsgSetFocus) | (1u << kMsgKillFocus);

struct Log {
  std::array<Row, kLogSize> rows{};
  int count = 0;
  unsigned ignored = 0;  // bits of message numbers below 32 left out

  void Record(Window window, unsigned message, WParam wParam, LParam lParam) {
    if (message < 32 && (ignored & (1u << message))) return;
    if (count == kLogSize) {
      ADD_FAILURE() << "message log full";
      return;
    }
    rows[count++] = {window, message, wParam, lParam};
  }
  std::vector<Row> Rows() const { return {rows.begin(), rows.begin() + count}; }
};

inline Log messageLog;

// Starts a fresh log that leaves out the messages with these bits.
inline void Watch(unsigned ignored) {
  messageLog = Log{};
  messageLog.ignored = ignored;
}

// ---- A scripted back end ----------------------------------------------------------------------

struct Script {
  std::vector<std::function<void()>> steps;
  std::size_t next = 0;
  int waits = 0;
};

inline Script script;
inline std::set<int> heldKeys;

inline void ScriptedInput() {
  ++script.waits;
  if (script.next < script.steps.size()) script.steps[script.next++]();
}

inline bool HeldKey(int key) {
  return heldKeys.count(key) > 0;
}

inline bool FontFaceInstalled(std::string_view face) {
  return face == "custom";
}
inline bool LibraryPresent(std::string_view name) {
  return name == "BRISKL.DLL";
}
inline bool PictureAvailable(std::string_view library, std::string_view name, int& width,
                             int& height) {
  width = 64;
  height = 32;
  return library == "BRISKL.DLL" && name == "WEL_BMP";
}

inline std::string lastFace;
inline int lastHeight = -1;
inline void CharWidthsSeen(std::string_view face, int height, CharWidths& widths) {
  lastFace = std::string(face);
  lastHeight = height;
  widths.fill(7);
}

// ---- Procedures -------------------------------------------------------------------------------

inline Result LogProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  messageLog.Record(window, message, wParam, lParam);
  return DefaultWindowProc(window, message, wParam, lParam);
}

// Per-test behaviour of the dialog procedure, after logging; 0 leaves the message to the dialog.
inline std::function<Result(Window, unsigned, WParam, LParam)> dialogHook;

// Takes the focus at initialisation; a modal dialog ends with the ID of command 1 or 2.
inline Result DialogProc(Window dialog, unsigned message, WParam wParam, LParam lParam) {
  messageLog.Record(dialog, message, wParam, lParam);
  if (dialogHook) {
    if (Result r = dialogHook(dialog, message, wParam, lParam)) return r;
  }
  if (message == kMsgInitDialog) return 1;
  if (message == kMsgCommand && (CommandId(wParam) == kIdOk || CommandId(wParam) == kIdCancel)) {
    EndDialog(dialog, CommandId(wParam));
    return 1;
  }
  return 0;
}

class WindowSystem : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { Fresh(); }

  static void Fresh() {
    ResetWindowSystem();
    Backend backend{};
    backend.waitForInput = ScriptedInput;
    backend.keyDown = HeldKey;
    backend.fontInstalled = FontFaceInstalled;
    backend.libraryPresent = LibraryPresent;
    backend.pictureAvailable = PictureAvailable;
    backend.charWidths = CharWidthsSeen;
    InstallBackend(backend);
    RegisterResources(kResources);
    RegisterWindowClass({"TestMain", LogProc, {0, 128, 128}, "TESTMENU"});
    RegisterWindowClass({"Plain", LogProc, {0, 0, 0}, nullptr});
    messageLog = Log{};
    script = Script{};
    heldKeys.clear();
    dialogHook = nullptr;
  }

  static Window Main() {
    return CreateWindowOf("TestMain", "Main", kStyleVisible, 100, 50, 640, 480, kNoWindow, 0, 0);
  }
  static Window Plain(Window owner = kNoWindow) {
    return CreateWindowOf("Plain", "Other", kStyleVisible, 0, 0, 50, 50, owner, 0, 0);
  }
  // Runs the loop until the queue is empty and the script gives no more input.
  static void Pump() { EXPECT_EQ(RunMessageLoop(kNoWindow), -1); }
};

}  // namespace platform_test_support
