// The window system's windows and messages: posting and sending, the message loop and its queue,
// painting, the focus and replaced procedures, destruction and the safety of dead handles, and the
// fonts, pictures and other programs' windows that come from the back end. Message-order tests
// record every message into a log and compare it whole against a table of expected rows.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform.h"
#include "platform_test_support.h"

namespace {

using namespace platform_test_support;

// ---- Posting, sending and the message loop ----------------------------------------------------

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

// ---- Painting ---------------------------------------------------------------------------------

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
