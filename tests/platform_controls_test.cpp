// The window system's controls: typing into edit fields, list boxes with their bounded rows,
// selection, scrolling and notifications, and menus with their grey items and chosen commands.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"
#include "platform_test_support.h"

namespace {

using namespace platform_test_support;

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

}  // namespace
