// The window system's dialogs: the messages a modal or modeless dialog receives from its creation
// to its end, templates laid out in pixels, modal loops nested or cut short by a quit, the keyboard
// handling of dialogs and their buttons, and message boxes. Message-order tests record every
// message into a log and compare it whole against a table of expected rows.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"
#include "platform_test_support.h"

namespace {

using namespace platform_test_support;

// ---- Creation, modal loops and the order of messages ------------------------------------------

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

}  // namespace
