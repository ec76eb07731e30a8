// The window system: the order of messages that procedures receive (creation, posting and
// sending, modal loops, focus, subclassing, destruction), the keyboard handling of edits and
// dialogs, list boxes, menus, message boxes, and the safety of dead handles. Message-order tests
// record every message into a log and compare it whole against a table of expected rows.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "backend.h"
#include "platform.h"

namespace {

// ---- Resources --------------------------------------------------------------------------------

constexpr int kEditId = 10;
constexpr int kHiddenId = 20;
constexpr int kRadioId = 21;
constexpr int kGoId = 40;
constexpr int kNotifyListId = 30;
constexpr int kQuietListId = 31;

constexpr ControlTemplate kAskControls[] = {
    {kNoControlId, ControlKind::kStatic, "Question?", 4, 4, 100, 10, 0},
    {kEditId, ControlKind::kEdit, "", 4, 16, 100, 12, kControlTabStop},
    {kIdOk, ControlKind::kDefaultButton, "&Ok", 4, 32, 40, 14, kControlTabStop},
    {kIdCancel, ControlKind::kPushButton, "&Cancel", 50, 32, 40, 14, kControlTabStop},
    {kHiddenId, ControlKind::kPushButton, "&Hidden", 96, 32, 40, 14,
     kControlTabStop | kControlHidden},
    {kRadioId, ControlKind::kRadioButton, "&Maximize", 4, 50, 60, 10, kControlTabStop},
};
constexpr ControlTemplate kPanelControls[] = {
    {50, ControlKind::kStatic, "Prompt", 4, 4, 100, 10, 0},
    {kEditId, ControlKind::kEdit, "", 4, 16, 100, 12, kControlTabStop},
    {kGoId, ControlKind::kPushButton, "&Go", 4, 32, 40, 14, kControlTabStop},
};
constexpr ControlTemplate kListControls[] = {
    {kNotifyListId, ControlKind::kListBox, "", 0, 0, 100, 30, kControlTabStop | kControlListNotify},
    {kQuietListId, ControlKind::kListBox, "", 0, 40, 100, 30, kControlTabStop},
};
constexpr ControlTemplate kPictureControls[] = {
    {999, ControlKind::kFrame, "", 0, 0, 100, 100, 0},
    {1, ControlKind::kOwnerDrawButton, "", 10, 10, 40, 20, kControlTabStop},
};
constexpr DialogTemplate kDialogs[] = {
    {"ASK", "Ask", 10, 20, 200, 80, kDialogVisible, kAskControls},
    {"PANEL", "", 0, 0, 200, 60, 0, kPanelControls},
    {"LISTS", "Lists", 0, 0, 120, 80, kDialogVisible, kListControls},
    {"PICTURE", "", 0, 0, 120, 120, kDialogVisible | kDialogNoCaption, kPictureControls},
};
constexpr MenuItemTemplate kOptions[] = {{"&Calculator", 116}, {nullptr, 0}, {"&Print", 135}};
constexpr MenuBarItemTemplate kBar[] = {
    {"&Practice", 110, {}}, {"&Options", 0, kOptions}, {"&Quit", 140, {}}};
constexpr MenuTemplate kMenus[] = {{"TESTMENU", kBar}};
constexpr ResourceSet kResources{kDialogs, kMenus};

// ---- The message log --------------------------------------------------------------------------

struct Row {
  Window window;
  unsigned message;
  WParam wParam;
  LParam lParam;
  bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
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
constexpr unsigned kPaintMessages = (1u << kMsgPaint) | (1u << kMsgCtlColor) | (1u << kMsgDrawItem);
constexpr unsigned kFocusMessages = (1u << kMsgSetFocus) | (1u << kMsgKillFocus);

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

Log messageLog;

// Starts a fresh log that leaves out the messages with these bits.
void Watch(unsigned ignored) {
  messageLog = Log{};
  messageLog.ignored = ignored;
}

// ---- A scripted back end ----------------------------------------------------------------------

struct Script {
  std::vector<std::function<void()>> steps;
  std::size_t next = 0;
  int waits = 0;
};

Script script;
std::set<int> heldKeys;

void ScriptedInput() {
  ++script.waits;
  if (script.next < script.steps.size()) script.steps[script.next++]();
}

bool HeldKey(int key) {
  return heldKeys.count(key) > 0;
}

bool FontFaceInstalled(std::string_view face) {
  return face == "custom";
}
bool LibraryPresent(std::string_view name) {
  return name == "BRISKL.DLL";
}
bool PictureAvailable(std::string_view library, std::string_view name, int& width, int& height) {
  width = 64;
  height = 32;
  return library == "BRISKL.DLL" && name == "WEL_BMP";
}

std::string lastFace;
int lastHeight = -1;
void CharWidthsSeen(std::string_view face, int height, CharWidths& widths) {
  lastFace = std::string(face);
  lastHeight = height;
  widths.fill(7);
}

// ---- Procedures -------------------------------------------------------------------------------

Result LogProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  messageLog.Record(window, message, wParam, lParam);
  return DefaultWindowProc(window, message, wParam, lParam);
}

// Per-test behaviour of the dialog procedure, after logging; 0 leaves the message to the dialog.
std::function<Result(Window, unsigned, WParam, LParam)> dialogHook;

// Takes the focus at initialisation; a modal dialog ends with the ID of command 1 or 2.
Result DialogProc(Window dialog, unsigned message, WParam wParam, LParam lParam) {
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

// ---- Creation and the order of messages -------------------------------------------------------

TEST_F(WindowSystem, ModalDialogHearsCreationInitialisationFocusCommandAndDestruction) {
  Window main = Main();
  SetFocus(main);
  Watch(kPaintMessages);
  Window dialog = kNoWindow, edit = kNoWindow, ok = kNoWindow;
  bool ownerEnabledDuring = true;
  script.steps = {[&] {
    dialog = TopModal();
    edit = DialogItem(dialog, kEditId);
    ok = DialogItem(dialog, kIdOk);
    ownerEnabledDuring = IsWindowEnabled(main);
    ClickButton(ok);
  }};

  EXPECT_EQ(RunModalDialog("ASK", main, DialogProc, 42), kIdOk);

  const std::vector<Row> expected = {
      {dialog, kMsgCreate, 0, 42},
      {dialog, kMsgInitDialog, edit, 42},
      {main, kMsgKillFocus, edit, 0},
      {dialog, kMsgSetFocus, main, 0},  // the focus entered the dialog onto its first tab stop
      {dialog, kMsgCommand, MakeCommand(kIdOk, kNotifyClicked), static_cast<LParam>(ok)},
      {dialog, kMsgDestroy, 0, 0},
      {main, kMsgSetFocus, kNoWindow, 0},  // the focus returns where it was
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(TopModal(), kNoWindow);
  EXPECT_EQ(GetFocus(), main);
}

TEST_F(WindowSystem, DialogTemplateUnitsBecomePixelsFromTheOwnersCorner) {
  Window main = Main();
  Window dialog = CreateModelessDialog("ASK", main, DialogProc, 0);
  WindowRect d = GetWindowRect(dialog);
  EXPECT_EQ(d.left, 100 + 10 * 6 / 4);
  EXPECT_EQ(d.top, 50 + 20 * 13 / 8);
  EXPECT_EQ(d.width, 300);
  EXPECT_EQ(d.height, 130);
  WindowRect e = GetWindowRect(DialogItem(dialog, kEditId));
  EXPECT_EQ(e.left, d.left + 6);
  EXPECT_EQ(e.top, d.top + 26);
  EXPECT_EQ(e.width, 150);
  EXPECT_EQ(e.height, 19);
  EXPECT_TRUE(IsWindowVisible(dialog));  // the template says visible
  EXPECT_FALSE(IsWindowVisible(DialogItem(dialog, kHiddenId)));
  EXPECT_EQ(DialogTemplateName(dialog), "ASK");
  EXPECT_EQ(GetOwner(dialog), main);

  std::array<Window, 16> controls{};
  ASSERT_EQ(ListControls(dialog, controls), 6);
  EXPECT_EQ(GetControlId(controls[0]), kNoControlId);
  EXPECT_EQ(GetControlId(controls[5]), kRadioId);
}

TEST_F(WindowSystem, HiddenModelessDialogIsInitialisedWithoutTakingTheFocus) {
  Window main = Main();
  SetFocus(main);
  messageLog = Log{};
  Window panel = CreateModelessDialog("PANEL", main, DialogProc, 7);
  Window edit = DialogItem(panel, kEditId);
  const std::vector<Row> expected = {
      {panel, kMsgCreate, 0, 7},
      {panel, kMsgInitDialog, edit, 7},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_EQ(GetFocus(), main);
  EXPECT_FALSE(IsWindowVisible(panel));
  EXPECT_EQ(CreateModelessDialog("NOSUCH", main, DialogProc, 0), kNoWindow);
  EXPECT_EQ(RunModalDialog("NOSUCH", main, DialogProc, 0), -1);
  EXPECT_EQ(FindDialogTemplate("panel"), &kDialogs[1]);  // names match in either case
}

TEST_F(WindowSystem, PostQueuesInOrderWhileSendCallsAtOnce) {
  Window main = Main();
  Window other = Plain();
  constexpr unsigned kP = kMsgFirstPrivate;
  // main's handling of kP posts to other, sends to other and posts to itself.
  ReplaceWindowProc(main, [](Window w, unsigned m, WParam wp, LParam lp) -> Result {
    messageLog.Record(w, m, wp, lp);
    if (m == kP) {
      Window o = FindTopWindow("Plain", "");
      PostMessageTo(o, kP + 1, 0, 0);
      SendMessageTo(o, kP + 2, 0, 0);
      PostMessageTo(w, kP + 3, 0, 0);
    }
    return DefaultWindowProc(w, m, wp, lp);
  });
  Watch(kPaintMessages);
  ASSERT_TRUE(PostMessageTo(main, kP, 1, 2));
  ASSERT_TRUE(PostMessageTo(other, kP + 4, 0, 0));
  PostQuitMessage(5);

  EXPECT_EQ(RunMessageLoop(kNoWindow), 5);  // the quit waits for the queue to empty

  const std::vector<Row> expected = {
      {main, kP, 1, 2},      {other, kP + 2, 0, 0}, {other, kP + 4, 0, 0},
      {other, kP + 1, 0, 0}, {main, kP + 3, 0, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_EQ(SendMessageTo(other, kP, 0, 0), 0);
}

TEST_F(WindowSystem, ModalLoopStillDispatchesCommandsPostedToOtherWindows) {
  constexpr int kOpen = 500;
  constexpr int kPosted = 600;
  Window main = Main();
  Window other = Plain();
  ReplaceWindowProc(main, [](Window w, unsigned m, WParam wp, LParam lp) -> Result {
    messageLog.Record(w, m, wp, lp);
    if (m == kMsgCommand && CommandId(wp) == kOpen) {
      Result r = RunModalDialog("ASK", w, DialogProc, 0);
      messageLog.Record(w, kMsgFirstPrivate, static_cast<WParam>(r), 0);  // the result, logged
      DestroyWindow(w);
    }
    if (m == kMsgDestroy) PostQuitMessage(9);
    return DefaultWindowProc(w, m, wp, lp);
  });
  dialogHook = [other](Window, unsigned m, WParam, LParam) -> Result {
    if (m == kMsgInitDialog) PostMessageTo(other, kMsgCommand, MakeCommand(kPosted, 0), 0);
    return 0;
  };
  Watch(kPaintMessages | kFocusMessages);
  Window dialog = kNoWindow, edit = kNoWindow, cancel = kNoWindow;
  script.steps = {[&] {
    dialog = TopModal();
    edit = DialogItem(dialog, kEditId);
    cancel = DialogItem(dialog, kIdCancel);
    ClickButton(cancel);
  }};
  PostMessageTo(main, kMsgCommand, MakeCommand(kOpen, 0), 0);

  EXPECT_EQ(RunMessageLoop(kNoWindow), 9);

  const std::vector<Row> expected = {
      {main, kMsgCommand, MakeCommand(kOpen, 0), 0},
      {dialog, kMsgCreate, 0, 0},
      {dialog, kMsgInitDialog, edit, 0},
      {other, kMsgCommand, MakeCommand(kPosted, 0), 0},  // dispatched by the modal loop
      {dialog, kMsgCommand, MakeCommand(kIdCancel, 0), static_cast<LParam>(cancel)},
      {dialog, kMsgDestroy, 0, 0},
      {main, kMsgFirstPrivate, kIdCancel, 0},
      {main, kMsgDestroy, 0, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
}

TEST_F(WindowSystem, NestedModalDialogsDisableTheirOwnersInTurn) {
  Window main = Main();
  Result inner = 0;
  // The radio button of the outer dialog opens an inner one owned by it.
  dialogHook = [&inner](Window d, unsigned m, WParam wp, LParam) -> Result {
    if (m == kMsgCommand && CommandId(wp) == kRadioId) {
      inner = RunModalDialog("ASK", d, DialogProc, 0);
      return 1;
    }
    return 0;
  };
  Window outer = kNoWindow, nested = kNoWindow;
  Window nestedOwner = kNoWindow;
  bool mainEnabled = true, outerEnabled = true, outerEnabledAfter = false;
  script.steps = {
      [&] {
        outer = TopModal();
        ClickButton(DialogItem(outer, kRadioId));
      },
      [&] {
        nested = TopModal();
        nestedOwner = GetOwner(nested);
        mainEnabled = IsWindowEnabled(main);
        outerEnabled = IsWindowEnabled(outer);
        ClickButton(DialogItem(nested, kIdCancel));
      },
      [&] {
        outerEnabledAfter = IsWindowEnabled(outer) && TopModal() == outer;
        KeyPress(GetFocus(), kKeyEnter);
      },
  };

  EXPECT_EQ(RunModalDialog("ASK", main, DialogProc, 0), kIdOk);
  EXPECT_EQ(inner, kIdCancel);
  EXPECT_NE(nested, outer);
  EXPECT_EQ(nestedOwner, outer);
  EXPECT_FALSE(mainEnabled);
  EXPECT_FALSE(outerEnabled);
  EXPECT_TRUE(outerEnabledAfter);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindow(outer));
  EXPECT_FALSE(IsWindow(nested));
}

TEST_F(WindowSystem, QuitPostedDuringAModalLoopEndsTheMainLoopAfterwards) {
  Window main = Main();
  bool dialogAliveAfterQuit = false;
  ReplaceWindowProc(main, [](Window w, unsigned m, WParam wp, LParam lp) -> Result {
    if (m == kMsgCommand)
      messageLog.Record(w, kMsgFirstPrivate, RunModalDialog("ASK", w, DialogProc, 0), 0);
    return DefaultWindowProc(w, m, wp, lp);
  });
  dialogHook = [](Window, unsigned m, WParam, LParam) -> Result {
    if (m == kMsgInitDialog) PostQuitMessage(3);
    return 0;
  };
  Watch(~0u);  // only the private row with the dialog's result
  script.steps = {[&] {
    dialogAliveAfterQuit = TopModal() != kNoWindow;
    ClickButton(DialogItem(TopModal(), kIdOk));
  }};
  PostMessageTo(main, kMsgCommand, MakeCommand(1, 0), 0);

  EXPECT_EQ(RunMessageLoop(kNoWindow), 3);
  EXPECT_TRUE(dialogAliveAfterQuit);
  EXPECT_EQ(script.waits, 1);
  const std::vector<Row> expected = {{main, kMsgFirstPrivate, kIdOk, 0}};
  EXPECT_EQ(messageLog.Rows(), expected);
}

TEST_F(WindowSystem, LoopsEndWithMinusOneWhenTheBackEndDeliversNothing) {
  Window main = Main();
  EXPECT_EQ(RunMessageLoop(kNoWindow), -1);
  EXPECT_EQ(script.waits, 1);
  EXPECT_EQ(RunModalDialog("ASK", main, DialogProc, 0), -1);
  EXPECT_EQ(MessageBox(main, "Gone?", "Tavrin", kBoxYesNo), -1);
  EXPECT_EQ(script.waits, 3);
  std::array<Window, 8> all{};
  EXPECT_EQ(ListWindows(all), 1);  // the dialog and the box were destroyed
  EXPECT_TRUE(IsWindowEnabled(main));

  // A back end that only changes a window has delivered something: the loop waits again.
  script = Script{};
  script.steps = {[main] { SetWindowText(main, "Changed"); }};
  EXPECT_EQ(RunMessageLoop(kNoWindow), -1);
  EXPECT_EQ(script.waits, 2);
}

TEST_F(WindowSystem, QueueRefusesMessagesWhenFull) {
  Window main = Main();
  for (int i = 0; i < kQueueSize; ++i) ASSERT_TRUE(PostMessageTo(main, kMsgFirstPrivate, i, 0));
  EXPECT_FALSE(PostMessageTo(main, kMsgFirstPrivate, kQueueSize, 0));
  PostQuitMessage(4);  // the quit needs no room in the queue
  Watch(kPaintMessages);
  EXPECT_EQ(RunMessageLoop(kNoWindow), 4);
  ASSERT_EQ(messageLog.count, kQueueSize);
  EXPECT_EQ(messageLog.rows[kQueueSize - 1].wParam, static_cast<WParam>(kQueueSize - 1));
  EXPECT_TRUE(PostMessageTo(main, kMsgFirstPrivate, 0, 0));
}

// ---- Focus and subclassing --------------------------------------------------------------------

TEST_F(WindowSystem, DialogHearsTheFocusOnlyWhenItComesFromOutside) {
  Window main = Main();
  Window panel = CreateModelessDialog("PANEL", main, DialogProc, 0);
  ShowWindow(panel, kShowNormal);
  Window edit = DialogItem(panel, kEditId);
  Window go = DialogItem(panel, kGoId);
  SetFocus(main);
  messageLog = Log{};

  SetFocus(edit);  // from outside
  SetFocus(go);    // within the dialog
  SetFocus(main);
  SetFocus(panel);  // the dialog itself passes the focus on to the control that had it last

  const std::vector<Row> expected = {
      {main, kMsgKillFocus, edit, 0}, {panel, kMsgSetFocus, main, 0},
      {main, kMsgSetFocus, go, 0},    {main, kMsgKillFocus, panel, 0},
      {panel, kMsgSetFocus, main, 0}, {panel, kMsgKillFocus, go, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_EQ(GetFocus(), go);
  ShowWindow(panel, kHide);
  EXPECT_EQ(GetFocus(), kNoWindow);  // hiding takes the focus along
}

std::vector<std::string> chain;
WindowProc savedEditProc = nullptr;
WindowProc savedFilterProc = nullptr;

// The inner replacement swallows 'x'; the outer one only watches.
Result FilterProc(Window w, unsigned m, WParam wp, LParam lp) {
  if (m != kMsgChar) return CallWindowProc(savedEditProc, w, m, wp, lp);
  chain.push_back("filter " + std::string(1, static_cast<char>(wp)));
  if (wp == 'x') return 0;
  return CallWindowProc(savedEditProc, w, m, wp, lp);
}
Result WatchProc(Window w, unsigned m, WParam wp, LParam lp) {
  if (m == kMsgChar) chain.push_back("watch " + std::string(1, static_cast<char>(wp)));
  return CallWindowProc(savedFilterProc, w, m, wp, lp);
}

TEST_F(WindowSystem, ReplacedProceduresChainOutermostFirst) {
  Window main = Main();
  Window edit = CreateWindowOf("edit", "", kStyleChild | kStyleVisible, 0, 0, 100, 20, main, 5, 0);
  chain.clear();
  savedEditProc = ReplaceWindowProc(edit, FilterProc);
  savedFilterProc = ReplaceWindowProc(edit, WatchProc);
  ASSERT_NE(savedEditProc, nullptr);
  EXPECT_EQ(savedFilterProc, FilterProc);
  for (char c : std::string("axb")) TypeChar(edit, c);
  Pump();
  EXPECT_EQ(ReplaceWindowProc(edit, FilterProc), WatchProc);  // the outer one taken off
  TypeChar(edit, 'c');
  Pump();

  const std::vector<std::string> expected = {"watch a", "filter a", "watch x", "filter x",
                                             "watch b", "filter b", "filter c"};
  EXPECT_EQ(chain, expected);
  std::array<char, 16> text{};
  GetWindowText(edit, text);
  EXPECT_STREQ(text.data(), "abc");
}

// ---- Edit fields ------------------------------------------------------------------------------

struct Stroke {
  bool key;
  int value;
};
Stroke K(int key) {
  return {true, key};
}
std::vector<Stroke> T(const std::string& text) {
  std::vector<Stroke> strokes;
  for (char c : text) strokes.push_back({false, static_cast<unsigned char>(c)});
  return strokes;
}
std::vector<Stroke> operator+(std::vector<Stroke> a, const std::vector<Stroke>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<Stroke> operator+(std::vector<Stroke> a, Stroke b) {
  a.push_back(b);
  return a;
}

TEST_F(WindowSystem, EditInsertsTypedBytesAtTheCaretAndHandlesItsKeys) {
  struct Case {
    const char* name;
    std::vector<Stroke> strokes;
    std::string text;
    int caret;
  };
  const std::string full(kMaxEditChars, 'x');
  const Case cases[] = {
      {"typing inserts at the caret", T("abc") + K(kKeyLeft) + K(kKeyLeft) + T("X"), "aXbc", 2},
      {"backspace key erases before the caret", T("abc") + K(kKeyLeft) + K(kKeyBackspace), "ac", 1},
      {"backspace character does the same", T("abc\b"), "ab", 2},
      {"backspace at the start does nothing", T("ab") + K(kKeyHome) + K(kKeyBackspace), "ab", 0},
      {"delete erases at the caret", T("abc") + K(kKeyHome) + K(kKeyDelete), "bc", 0},
      {"delete at the end does nothing", T("abc") + K(kKeyDelete), "abc", 3},
      {"home and end", T("abc") + K(kKeyHome) + T("X") + K(kKeyEnd) + T("Y"), "XabcY", 5},
      {"left stops at the start", T("ab") + K(kKeyLeft) + K(kKeyLeft) + K(kKeyLeft), "ab", 0},
      {"right stops at the end", T("ab") + K(kKeyHome) + K(kKeyRight) + K(kKeyRight) + K(kKeyRight),
       "ab", 2},
      {"control bytes and 0x7F are ignored",
       T("a\x7f\x1f\t\r\x1b"
         "b"),
       "ab", 2},
      {"bytes above 0x7F are typed", T("\xC0\x82\xFF"), "\xC0\x82\xFF", 3},
      {"space key types a blank", T("a") + K(kKeySpace) + T("b"), "a b", 3},
      {"typing beyond the limit is ignored", T(full + "yz"), full, kMaxEditChars},
      {"a full field ignores typing anywhere", T(full) + K(kKeyHome) + T("y"), full, 0},
      {"room again after an erase", T(full) + K(kKeyBackspace) + T("y"), full.substr(1) + "y",
       kMaxEditChars},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Window main = Main();
    Window edit =
        CreateWindowOf("edit", "", kStyleChild | kStyleVisible, 0, 0, 100, 20, main, 5, 0);
    for (const Stroke& s : c.strokes) {
      if (s.key) {
        KeyPress(edit, s.value);
      } else {
        TypeChar(edit, static_cast<char>(s.value));
      }
    }
    Pump();
    std::array<char, kMaxControlText> text{};
    GetWindowText(edit, text);
    EXPECT_EQ(std::string(text.data()), c.text);
    EXPECT_EQ(EditCaret(edit), c.caret);
  }
}

// ---- Dialog keyboard handling -----------------------------------------------------------------

TEST_F(WindowSystem, DialogKeyboardPressesButtonsAndMovesBetweenTabStops) {
  constexpr int kNone = -1;  // no command
  struct Case {
    const char* name;
    const char* dialog;
    int focus;
    int disabled;  // 0 for none
    int held;      // 0 for none
    int key;
    int command;  // the command sent, with the ID of the control in lParam (0 for none)
    int control;
    int focusAfter;
  };
  // clang-format off
  const Case cases[] = {
      {"Enter presses the default button", "ASK", kEditId, 0, 0, kKeyEnter, 1, 1, kEditId},
      {"Enter presses a focused push button", "ASK", kIdCancel, 0, 0, kKeyEnter, 2, 2, kIdCancel},
      {"Enter, default button disabled", "ASK", kEditId, kIdOk, 0, kKeyEnter, kNone, 0, kEditId},
      {"Enter without a default button", "PANEL", kEditId, 0, 0, kKeyEnter, 1, 0, kEditId},
      {"Escape sends command 2", "ASK", kEditId, 0, 0, kKeyEscape, 2, 2, kEditId},
      {"Escape without a cancel button", "PANEL", kEditId, 0, 0, kKeyEscape, 2, 0, kEditId},
      {"Tab moves to the next tab stop", "ASK", kEditId, 0, 0, kKeyTab, kNone, 0, kIdOk},
      {"Tab skips hidden controls", "ASK", kIdCancel, 0, 0, kKeyTab, kNone, 0, kRadioId},
      {"Tab skips disabled controls", "ASK", kEditId, kIdOk, 0, kKeyTab, kNone, 0, kIdCancel},
      {"Tab wraps around", "ASK", kRadioId, 0, 0, kKeyTab, kNone, 0, kEditId},
      {"Shift+Tab goes back", "ASK", kEditId, 0, kKeyShift, kKeyTab, kNone, 0, kRadioId},
      {"Alt+mnemonic presses its button", "ASK", kEditId, 0, kKeyAlt, 'C', 2, 2, kEditId},
      {"Alt+radio mnemonic focuses it", "ASK", kEditId, 0, kKeyAlt, 'M', kRadioId, kRadioId,
       kRadioId},
      {"a letter in an edit field is typed", "ASK", kEditId, 0, 0, 'C', kNone, 0, kEditId},
      {"a letter elsewhere is a mnemonic", "ASK", kIdOk, 0, 0, 'C', 2, 2, kIdOk},
      {"mnemonic of a disabled button", "ASK", kIdOk, kIdCancel, 0, 'C', kNone, 0, kIdOk},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Window main = Main();
    dialogHook = [](Window, unsigned m, WParam, LParam) -> Result { return m == kMsgCommand; };
    Window dialog = CreateModelessDialog(c.dialog, main, DialogProc, 0);
    ShowWindow(dialog, kShowNormal);
    SetKeyboardDialog(dialog);
    if (c.disabled != 0) EnableWindow(DialogItem(dialog, c.disabled), false);
    SetFocus(DialogItem(dialog, c.focus));
    Watch(~(1u << kMsgCommand));
    if (c.held != 0) heldKeys = {c.held};
    KeyPress(GetFocus(), c.key);
    Pump();

    std::vector<Row> expected;
    if (c.command != kNone) {
      LParam l = c.control ? static_cast<LParam>(DialogItem(dialog, c.control)) : 0;
      expected.push_back({dialog, kMsgCommand, MakeCommand(c.command, kNotifyClicked), l});
    }
    EXPECT_EQ(messageLog.Rows(), expected);
    EXPECT_EQ(GetControlId(GetFocus()), c.focusAfter);
  }
}

TEST_F(WindowSystem, InputToADisabledOrHiddenWindowIsDropped) {
  Window main = Main();
  Window dialog = CreateModelessDialog("ASK", main, DialogProc, 0);
  Window ok = DialogItem(dialog, kIdOk);
  Watch(~(1u << kMsgCommand));
  EnableWindow(dialog, false);
  ClickButton(ok);
  EnableWindow(dialog, true);
  ShowWindow(ok, kHide);
  ClickButton(ok);
  ShowWindow(ok, kShowNormal);
  ClickButton(ok);
  EnableWindow(dialog, false);  // disabled after the click was queued
  Pump();
  EXPECT_EQ(messageLog.count, 0);
  EnableWindow(dialog, true);
  ClickButton(ok);
  Pump();
  const std::vector<Row> expected = {
      {dialog, kMsgCommand, MakeCommand(kIdOk, kNotifyClicked), static_cast<LParam>(ok)}};
  EXPECT_EQ(messageLog.Rows(), expected);
}

TEST_F(WindowSystem, RadioButtonOnlySendsItsCommandAndCheckStateIsTheDialogs) {
  Window dialog = CreateModelessDialog("ASK", Main(), DialogProc, 0);
  Window radio = DialogItem(dialog, kRadioId);
  Watch(~(1u << kMsgCommand));
  ClickButton(radio);
  Pump();
  EXPECT_EQ(messageLog.count, 1);
  EXPECT_FALSE(IsButtonChecked(dialog, kRadioId));
  CheckButton(dialog, kRadioId, true);
  WindowView view{};
  ASSERT_TRUE(ViewWindow(radio, view));
  EXPECT_TRUE(view.checked);
  EXPECT_TRUE(IsButtonChecked(dialog, kRadioId));
  EXPECT_EQ(GetFocus(), radio);  // a click takes the focus
}

TEST_F(WindowSystem, OwnerDrawnButtonAsksItsDialogToDrawItsStates) {
  Window main = Main();
  dialogHook = [](Window, unsigned m, WParam, LParam) -> Result { return m == kMsgCommand; };
  Window dialog = CreateModelessDialog("PICTURE", main, DialogProc, 0);
  Window frame = DialogItem(dialog, 999);
  Window button = DialogItem(dialog, 1);
  SetFocus(main);
  Watch(kFocusMessages | (1u << kMsgPaint));
  Pump();  // the first painting
  ClickButton(button);
  Pump();
  const std::vector<Row> expected = {
      {dialog, kMsgCtlColor, frame, 0},
      {dialog, kMsgDrawItem, 1, kDrawEntire},
      {dialog, kMsgDrawItem, 1, kDrawFocus},
      {dialog, kMsgDrawItem, 1, kDrawSelect | kDrawSelected},
      {dialog, kMsgDrawItem, 1, kDrawSelect},
      {dialog, kMsgCommand, MakeCommand(1, kNotifyClicked), static_cast<LParam>(button)},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
}

TEST_F(WindowSystem, PaintReachesShownWindowsOnceWhenInvalid) {
  Window main = Main();
  Window hidden = CreateWindowOf("Plain", "", 0, 0, 0, 10, 10, kNoWindow, 0, 0);
  Watch(~(1u << kMsgPaint));
  Pump();
  InvalidateWindow(hidden, true);
  Pump();
  InvalidateWindow(main, false);
  UpdateWindow(main);  // at once
  UpdateWindow(main);  // nothing left to paint
  ShowWindow(hidden, kShowNormal);
  Pump();
  const std::vector<Row> expected = {
      {main, kMsgPaint, 0, 0}, {main, kMsgPaint, 0, 0}, {hidden, kMsgPaint, 0, 0}};
  EXPECT_EQ(messageLog.Rows(), expected);
}

// ---- List boxes -------------------------------------------------------------------------------

std::vector<std::string> RowsOf(Window list) {
  std::array<std::string_view, kMaxListRows> rows{};
  int count = ListRows(list, rows);
  return {rows.begin(), rows.begin() + count};
}

TEST_F(WindowSystem, ListBoxKeepsBoundedRowsAndItsSelection) {
  Window list = DialogItem(CreateModelessDialog("LISTS", Main(), DialogProc, 0), kQuietListId);
  struct Case {
    const char* name;
    std::function<void()> act;
    std::vector<std::string> rows;
    int selection;
  };
  // clang-format off
  const Case cases[] = {
      {"rows go to the end", [&] { ListAddRow(list, "c"); }, {"a", "b", "c"}, 1},
      {"insert before the selection moves it",
       [&] { EXPECT_EQ(ListInsertRow(list, 0, "z"), 0); }, {"z", "a", "b"}, 2},
      {"insert past the end is refused",
       [&] { EXPECT_EQ(ListInsertRow(list, 3, "z"), -1); }, {"a", "b"}, 1},
      {"deleting the selected row clears the selection", [&] { ListDeleteRow(list, 1); }, {"a"},
       -1},
      {"deleting a row above moves the selection", [&] { ListDeleteRow(list, 0); }, {"b"}, 0},
      {"deleting past the end changes nothing", [&] { ListDeleteRow(list, 5); }, {"a", "b"}, 1},
      {"selecting past the end changes nothing", [&] { ListSelect(list, 2); }, {"a", "b"}, 1},
      {"-1 clears the selection", [&] { ListSelect(list, -1); }, {"a", "b"}, -1},
      {"clearing empties", [&] { ListClear(list); }, {}, -1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListClear(list);
    ListAddRow(list, "a");
    ListAddRow(list, "b");
    ListSelect(list, 1);
    c.act();
    EXPECT_EQ(RowsOf(list), c.rows);
    EXPECT_EQ(ListSelection(list), c.selection);
  }

  ListClear(list);
  for (int i = 0; i < kMaxListRows; ++i) ASSERT_EQ(ListAddRow(list, std::to_string(i)), i);
  EXPECT_EQ(ListAddRow(list, "one too many"), -1);
  EXPECT_EQ(ListInsertRow(list, 0, "one too many"), -1);
  EXPECT_EQ(ListRowCount(list), kMaxListRows);
  std::array<char, 8> text{};
  EXPECT_EQ(ListRowText(list, kMaxListRows - 1, text), 3);
  EXPECT_STREQ(text.data(), "255");
  EXPECT_EQ(ListRowText(list, kMaxListRows, text), -1);
  EXPECT_STREQ(text.data(), "");
  ListDeleteRow(list, 0);
  EXPECT_EQ(ListAddRow(list, std::string(1000, 'w')), kMaxListRows - 1);
  EXPECT_EQ(RowsOf(list).back().size(), static_cast<std::size_t>(kMaxControlText - 1));
}

TEST_F(WindowSystem, ListBoxScrollsTheSelectionIntoView) {
  Window list = DialogItem(CreateModelessDialog("LISTS", Main(), DialogProc, 0), kQuietListId);
  EXPECT_EQ(ListVisibleRows(list), 3);  // 30 units are 48 pixels, rows of the 16-pixel font
  for (int i = 0; i < 10; ++i) ListAddRow(list, std::to_string(i));
  ListSelect(list, 5);
  EXPECT_EQ(ListTopRow(list), 3);
  ListSelect(list, 1);
  EXPECT_EQ(ListTopRow(list), 1);
  ListSetTopRow(list, 50);
  EXPECT_EQ(ListTopRow(list), 9);
}

TEST_F(WindowSystem, ListBoxClicksNotifyOnlyWithTheNotifyStyle) {
  Window dialog = CreateModelessDialog("LISTS", Main(), DialogProc, 0);
  Window notify = DialogItem(dialog, kNotifyListId);
  Window quiet = DialogItem(dialog, kQuietListId);
  for (Window list : {notify, quiet}) {
    for (const char* row : {"a", "b", "c"}) ListAddRow(list, row);
  }
  Watch(~(1u << kMsgCommand));
  ListClickRow(notify, 1, false);
  ListClickRow(notify, 2, true);
  ListClickRow(notify, 7, false);  // below the last row
  ListClickRow(quiet, 2, true);
  KeyPress(notify, kKeyDown);  // already on the last row
  KeyPress(notify, kKeyHome);
  Pump();
  const auto l = static_cast<LParam>(notify);
  const std::vector<Row> expected = {
      {dialog, kMsgCommand, MakeCommand(kNotifyListId, kNotifyListSelect), l},
      {dialog, kMsgCommand, MakeCommand(kNotifyListId, kNotifyListSelect), l},
      {dialog, kMsgCommand, MakeCommand(kNotifyListId, kNotifyListDoubleClick), l},
      {dialog, kMsgCommand, MakeCommand(kNotifyListId, kNotifyListSelect), l},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_EQ(ListSelection(notify), 0);
  EXPECT_EQ(ListSelection(quiet), 2);
}

TEST_F(WindowSystem, ListBoxRedrawFlagFollowsSetRedraw) {
  Window list = DialogItem(CreateModelessDialog("LISTS", Main(), DialogProc, 0), kQuietListId);
  WindowView view{};
  SendMessageTo(list, kMsgSetRedraw, 0, 0);
  ASSERT_TRUE(ViewWindow(list, view));
  EXPECT_FALSE(view.redraw);
  std::uint32_t serial = view.serial;
  ListAddRow(list, "a");
  ASSERT_TRUE(ViewWindow(list, view));
  EXPECT_GT(view.serial, serial);
  SendMessageTo(list, kMsgSetRedraw, 1, 0);
  ASSERT_TRUE(ViewWindow(list, view));
  EXPECT_TRUE(view.redraw);
}

// ---- Menus ------------------------------------------------------------------------------------

std::vector<std::string> MenuLabels(Window window, int position = -1) {
  std::array<MenuItemView, 8> items{};
  int count = position < 0 ? ViewMenuBar(window, items) : ViewMenuPopup(window, position, items);
  std::vector<std::string> labels;
  for (int i = 0; i < count; ++i) {
    std::string label = items[i].separator ? "-" : std::string(items[i].label);
    if (!items[i].enabled) label += " (grey)";
    if (items[i].rightText) label += " (right)";
    labels.push_back(label);
  }
  return labels;
}

TEST_F(WindowSystem, MenuItemsGreyByPositionOrCommandAndSerialMarksEveryChange) {
  Window main = Main();
  std::uint32_t serial = MenuSerial(main);
  EXPECT_EQ(MenuLabels(main), (std::vector<std::string>{"&Practice", "&Options", "&Quit"}));

  EnableMenuPosition(main, 0, false);
  EXPECT_FALSE(IsMenuPositionEnabled(main, 0));
  EXPECT_EQ(MenuSerial(main), serial + 1);
  EnableMenuPosition(main, 0, false);  // no change
  EnableMenuPosition(main, 9, false);  // no such position
  EXPECT_EQ(MenuSerial(main), serial + 1);

  EnableMenuCommand(main, 135, false);
  SetMenuCommandText(main, 0, "Problem: 1  Strikes: 0");
  EXPECT_EQ(
      MenuLabels(main, 1),
      (std::vector<std::string>{"&Calculator", "Problem: 1  Strikes: 0 (right)", "&Print (grey)"}));
  EXPECT_EQ(MenuSerial(main), serial + 3);
  SetMenuCommandSeparator(main, 0);
  EXPECT_EQ(MenuLabels(main, 1), (std::vector<std::string>{"&Calculator", "-", "&Print (grey)"}));
  EXPECT_EQ(MenuSerial(main), serial + 4);
}

TEST_F(WindowSystem, ChoosingAMenuCommandPostsItUnlessGreyed) {
  Window main = Main();
  EnableMenuPosition(main, 0, false);
  EXPECT_FALSE(ChooseMenuCommand(main, 110));  // greyed item
  EXPECT_TRUE(ChooseMenuCommand(main, 116));
  EnableMenuPosition(main, 1, false);
  EXPECT_FALSE(ChooseMenuCommand(main, 116));  // its pop-up is greyed
  EXPECT_FALSE(ChooseMenuCommand(main, 0));    // the separator
  EXPECT_FALSE(ChooseMenuCommand(main, 777));
  EnableMenuPosition(main, 0, true);
  heldKeys = {kKeyAlt};
  KeyPress(main, 'P');  // the mnemonic of "&Practice"
  KeyPress(main, 'Q');
  EnableWindow(main, false);
  EXPECT_FALSE(ChooseMenuCommand(main, 140));
  EnableWindow(main, true);
  Watch(~(1u << kMsgCommand));
  Pump();
  const std::vector<Row> expected = {
      {main, kMsgCommand, MakeCommand(116, 0), 0},
      {main, kMsgCommand, MakeCommand(110, 0), 0},
      {main, kMsgCommand, MakeCommand(140, 0), 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
}

// ---- Message boxes ----------------------------------------------------------------------------

TEST_F(WindowSystem, MessageBoxShowsItsTextsAndDisablesItsOwnerUntilAnswered) {
  Window main = Main();
  WindowView view{};
  std::string text, caption;
  bool mainEnabled = true;
  std::vector<int> buttons;
  script.steps = {[&] {
    Window box = TopModal();
    ASSERT_TRUE(ViewWindow(box, view));
    text = view.text;  // the views die with the box
    caption = view.caption;
    mainEnabled = IsWindowEnabled(main);
    std::array<Window, 4> controls{};
    int count = ListControls(box, controls);
    for (int i = 0; i < count; ++i) buttons.push_back(GetControlId(controls[i]));
    ClickButton(DialogItem(box, kIdNo));
  }};
  EXPECT_EQ(MessageBox(main, "Are you sure?", "End Practice",
                       kBoxYesNo | kBoxIconQuestion | kBoxSystemModal),
            kIdNo);
  EXPECT_EQ(view.kind, WindowKind::kMessageBox);
  EXPECT_EQ(text, "Are you sure?");
  EXPECT_EQ(caption, "End Practice");
  EXPECT_EQ(view.boxStyle, kBoxYesNo | kBoxIconQuestion | kBoxSystemModal);
  EXPECT_TRUE(view.modal);
  EXPECT_EQ(view.owner, main);
  EXPECT_FALSE(mainEnabled);
  EXPECT_EQ(buttons, (std::vector<int>{kIdYes, kIdNo}));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(TopModal(), kNoWindow);

  // A box without an owner disables nothing.
  script = Script{};
  script.steps = {[&] {
    mainEnabled = IsWindowEnabled(main);
    ClickButton(DialogItem(TopModal(), kIdOk));
  }};
  EXPECT_EQ(MessageBox(kNoWindow, "You are about to quit.", "Quit Module", kBoxOkCancel), kIdOk);
  EXPECT_TRUE(mainEnabled);
}

TEST_F(WindowSystem, MessageBoxAnswersEnterEscapeAndMnemonics) {
  struct Case {
    const char* name;
    std::uint32_t style;
    std::vector<int> keys;
    int result;
  };
  const Case cases[] = {
      {"Enter answers OK", kBoxOk, {kKeyEnter}, kIdOk},
      {"Escape answers an OK box with OK", kBoxOk, {kKeyEscape}, kIdOk},
      {"Enter answers the first button", kBoxOkCancel, {kKeyEnter}, kIdOk},
      {"Escape answers Cancel", kBoxOkCancel, {kKeyEscape}, kIdCancel},
      {"Enter answers Yes", kBoxYesNo, {kKeyEnter}, kIdYes},
      {"Escape does not answer Yes/No", kBoxYesNo, {kKeyEscape, 'N'}, kIdNo},
      {"Tab moves to the second button", kBoxYesNo, {kKeyTab, kKeyEnter}, kIdNo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    for (int key : c.keys) {
      script.steps.push_back([key] { KeyPress(GetFocus(), key); });
    }
    EXPECT_EQ(MessageBox(kNoWindow, "Text", "", c.style), c.result);
    EXPECT_EQ(script.waits, static_cast<int>(c.keys.size()));
  }
}

// ---- Destruction and dead handles -------------------------------------------------------------

TEST_F(WindowSystem, DestroyingAWindowDestroysOwnedWindowsThenItselfThenItsChildren) {
  Window main = Main();
  Window child = CreateWindowOf("Plain", "", kStyleChild | kStyleVisible, 0, 0, 5, 5, main, 3, 0);
  Window owned = Plain(main);
  Window panel = CreateModelessDialog("PANEL", main, DialogProc, 0);
  Window edit = DialogItem(panel, kEditId);
  ReplaceWindowProc(edit, LogProc);
  Watch(~(1u << kMsgDestroy));

  DestroyWindow(main);

  const std::vector<Row> expected = {
      {owned, kMsgDestroy, 0, 0}, {panel, kMsgDestroy, 0, 0}, {edit, kMsgDestroy, 0, 0},
      {main, kMsgDestroy, 0, 0},  {child, kMsgDestroy, 0, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  for (Window w : {main, child, owned, panel, edit}) EXPECT_FALSE(IsWindow(w));
  std::array<Window, 8> all{};
  EXPECT_EQ(ListWindows(all), 0);
}

TEST_F(WindowSystem, HandlesAreNeverGivenOutTwice) {
  Watch(~0u);
  std::set<Window> seen;
  for (int i = 0; i < 3 * kMaxWindows; ++i) {
    Window w = Plain();
    ASSERT_NE(w, kNoWindow);
    EXPECT_TRUE(seen.insert(w).second);
    DestroyWindow(w);
  }
  Fresh();
  EXPECT_EQ(seen.count(Plain()), 0u);  // not even across a reset
}

TEST_F(WindowSystem, EveryCallOnADeadOrZeroHandleIsHarmless) {
  Window main = Main();
  Window dialog = CreateModelessDialog("LISTS", main, DialogProc, 0);
  Window list = DialogItem(dialog, kQuietListId);
  DestroyWindow(main);
  std::array<char, 8> text{'x'};
  std::array<std::string_view, 4> rows{};
  WindowView view{};
  FontDescription font{};
  for (Window dead : {main, dialog, list, kNoWindow}) {
    SCOPED_TRACE(dead);
    EXPECT_FALSE(IsWindow(dead));
    EXPECT_FALSE(PostMessageTo(dead, kMsgFirstPrivate, 0, 0));
    EXPECT_EQ(SendMessageTo(dead, kMsgFirstPrivate, 0, 0), 0);
    ShowWindow(dead, kShowNormal);
    EXPECT_FALSE(IsWindowVisible(dead));
    EnableWindow(dead, true);
    EXPECT_FALSE(IsWindowEnabled(dead));
    SetWindowText(dead, "text");
    EXPECT_EQ(GetWindowText(dead, text), 0);
    EXPECT_STREQ(text.data(), "");
    MoveWindow(dead, 1, 2, 3, 4);
    EXPECT_EQ(GetWindowRect(dead).width, 0);
    EXPECT_EQ(ReplaceWindowProc(dead, LogProc), nullptr);
    EXPECT_EQ(DialogItem(dead, kQuietListId), kNoWindow);
    EXPECT_EQ(ListAddRow(dead, "row"), -1);
    EXPECT_EQ(ListRowCount(dead), 0);
    EXPECT_EQ(ListSelection(dead), -1);
    EXPECT_EQ(ListRows(dead, rows), 0);
    EditSetCaret(dead, 3);
    EXPECT_EQ(EditCaret(dead), 0);
    CheckButton(dead, 1, true);
    EXPECT_FALSE(IsButtonChecked(dead, 1));
    EndDialog(dead, 1);
    EXPECT_FALSE(SetWindowMenu(dead, "TESTMENU"));
    EnableMenuPosition(dead, 0, false);
    EXPECT_EQ(MenuSerial(dead), 0u);
    EXPECT_FALSE(ChooseMenuCommand(dead, 110));
    EXPECT_FALSE(ViewWindow(dead, view));
    EXPECT_EQ(ListControls(dead, std::span<Window>()), 0);
    SetWindowFont(dead, SystemFont());
    EXPECT_EQ(GetWindowFont(dead), kNoFont);
    SetWindowPicture(dead, kNoPicture, false);
    SetFocus(dead);
    EXPECT_EQ(GetFocus(), kNoWindow);
    ClickButton(dead);
    KeyPress(dead, kKeyEnter);
    ListClickRow(dead, 0, true);
    CloseRequest(dead);
    DestroyWindow(dead);
    EXPECT_EQ(RunModalDialog("ASK", dead, DialogProc, 0), -1);  // no input: ends at once
  }
  EXPECT_FALSE(ViewFont(kNoFont, font));
  EXPECT_EQ(RunMessageLoop(main), -1);
}

TEST_F(WindowSystem, CloseRequestDestroysByDefaultAndCancelsADialog) {
  Window main = Main();
  Window dialog = CreateModelessDialog("ASK", main, DialogProc, 0);
  Window cancel = DialogItem(dialog, kIdCancel);
  Watch(~((1u << kMsgClose) | (1u << kMsgCommand) | (1u << kMsgDestroy)));
  CloseRequest(dialog);
  Pump();
  EXPECT_FALSE(IsWindowVisible(dialog));  // the procedure ended it on Cancel
  CloseRequest(main);
  Pump();
  const std::vector<Row> expected = {
      {dialog, kMsgClose, 0, 0},
      {dialog, kMsgCommand, MakeCommand(kIdCancel, kNotifyClicked), static_cast<LParam>(cancel)},
      {main, kMsgClose, 0, 0},
      {dialog, kMsgDestroy, 0, 0},
      {main, kMsgDestroy, 0, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
  EXPECT_FALSE(IsWindow(main));
}

// ---- Fonts, pictures and the world outside ----------------------------------------------------

// Which faces and libraries the back end has is checked through the headless back end.
TEST_F(WindowSystem, FontsComeFromTheBackEndByFaceAndHeight) {
  Font lesson = CreateFontFrom({"custom", 15, 0});
  ASSERT_NE(lesson, kNoFont);
  CharWidths widths{};
  GetCharWidths(lesson, widths);
  EXPECT_EQ(lastFace, "custom");
  EXPECT_EQ(lastHeight, 15);
  EXPECT_EQ(widths['a'], 7);
  GetCharWidths(kNoFont, widths);
  EXPECT_EQ(lastFace, "System");
  EXPECT_TRUE(IsLessonFaceFont(lesson, "CUSTOM"));
  EXPECT_FALSE(IsLessonFaceFont(SystemFont(), "custom"));
  DeleteFont(lesson);
  FontDescription description{};
  EXPECT_FALSE(ViewFont(lesson, description));
  DeleteFont(SystemFont());
  EXPECT_TRUE(ViewFont(SystemFont(), description));
}

TEST_F(WindowSystem, PicturesAndLibrariesComeFromTheBackEnd) {
  Library briskl = LoadLibraryByName("BRISKL.DLL");
  EXPECT_GE(briskl, 32u);
  Picture picture = LoadPicture("BRISKL.DLL", "WEL_BMP");
  int width = 0, height = 0;
  PictureSize(picture, width, height);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 32);

  Window main = Main();
  SetWindowPicture(main, picture, true);
  FreePicture(picture);  // the window keeps its own copy
  WindowView view{};
  ASSERT_TRUE(ViewWindow(main, view));
  EXPECT_EQ(view.pictureLibrary, "BRISKL.DLL");
  EXPECT_EQ(view.pictureName, "WEL_BMP");
  EXPECT_TRUE(view.pictureStretched);
  SetWindowPicture(main, kNoPicture, false);
  ASSERT_TRUE(ViewWindow(main, view));
  EXPECT_EQ(view.pictureName, "");
  FreeLibrary(briskl);
  FreeLibrary(briskl);
}

TEST_F(WindowSystem, TopWindowsAreFoundByClassOrTitleForeignOnesIncluded) {
  Window main = Main();
  Window calculator = CreateForeignWindow("SciCalc", "Calculator");
  Window panel = CreateModelessDialog("PANEL", main, DialogProc, 0);
  EXPECT_EQ(FindTopWindow("TestMain", ""), main);
  EXPECT_EQ(FindTopWindow("", "calculator"), calculator);
  EXPECT_EQ(FindTopWindow("SciCalc", "Main"), kNoWindow);
  EXPECT_EQ(FindTopWindow("edit", ""), kNoWindow);  // controls are not top-level
  EXPECT_EQ(LastActivePopup(main), main);           // the panel is hidden
  ShowWindow(panel, kShowNormal);
  EXPECT_EQ(LastActivePopup(main), panel);
  WindowView view{};
  ASSERT_TRUE(ViewWindow(calculator, view));
  std::uint32_t z = view.zOrder;
  BringToTop(calculator);
  ASSERT_TRUE(ViewWindow(calculator, view));
  EXPECT_GT(view.zOrder, z);
  CloseRequest(calculator);
  Pump();
  EXPECT_FALSE(IsWindow(calculator));
}

TEST_F(WindowSystem, ShowingMaximisedOrMinimisedReportsTheSizeState) {
  Window main = Main();
  Watch(~(1u << kMsgSize));
  ShowWindow(main, kShowMaximized);
  ShowWindow(main, kShowMaximized);
  ShowWindow(main, kShowMinimized);
  ShowWindow(main, kShowNormal);
  MoveWindow(main, 0, 0, 640, 480);  // same size: no size message
  MoveWindow(main, 0, 0, 800, 600);
  const std::vector<Row> expected = {
      {main, kMsgSize, kSizeMaximized, 0},
      {main, kMsgSize, kSizeMinimized, 0},
      {main, kMsgSize, kSizeRestored, 0},
      {main, kMsgSize, kSizeRestored, 0},
  };
  EXPECT_EQ(messageLog.Rows(), expected);
}

}  // namespace
