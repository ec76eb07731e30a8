// Play scripts: the action lines read into actions, text typed as key strokes, the header lines
// that set up a session, malformed lines reported with their line numbers, and the command-line
// options that override the header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_test_support.h"
#include "platform.h"
#include "play_script.h"

namespace {

using namespace headless_test_support;

// ---- Reading scripts --------------------------------------------------------------------------

std::string ParseError(const std::string& text) {
  PlayScript script;
  std::string error;
  EXPECT_FALSE(ParsePlayScript(text, script, error)) << text;
  return error;
}

// The forms the session scripts use are read there; these are the others.
TEST(PlayScript, ReadsEveryActionForm) {
  struct Case {
    const char* line;
    ActionKind kind;
    std::string text;
    int number;
    int key;
    unsigned modifiers;
  };
  const Case cases[] = {
      {"menu \"140\"", ActionKind::kMenu, "140", kNoNumber, 0, 0},
      {"click \"say \\\"hi\\\" \\\\ now\"", ActionKind::kClick, "say \"hi\" \\ now", kNoNumber, 0,
       0},
      {"choose \"2 - Maximize\"", ActionKind::kChoose, "2 - Maximize", kNoNumber, 0, 0},
      {"select \"  pages printed  \"", ActionKind::kSelect, "  pages printed  ", kNoNumber, 0, 0},
      {"dblclick 3", ActionKind::kDoubleClick, "", 3, 0, 0},
      {"type 2p + 5q", ActionKind::kType, "2p + 5q", kNoNumber, 0, 0},
      {"type \"  padded \"", ActionKind::kType, "  padded ", kNoNumber, 0, 0},
      {"key F12", ActionKind::kKey, "", kNoNumber, kKeyF12, 0},
      {"key Ctrl+Shift+Tab", ActionKind::kKey, "", kNoNumber, kKeyTab, kModCtrl | kModShift},
      {"click-problem-box", ActionKind::kClickProblemBox, "", kNoNumber, 0, 0},
      {"expect title: Tavrin", ActionKind::kExpect, "title: Tavrin", kNoNumber, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const PlayScript script = Parse(std::string("# comment\n\n  ") + c.line + "  \n");
    ASSERT_EQ(script.actions.size(), 1u);
    const PlayAction& action = script.actions[0];
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.line, 3);
    EXPECT_EQ(action.source, c.line);
    EXPECT_EQ(action.text, c.text);
    EXPECT_EQ(action.number, c.number);
    EXPECT_EQ(action.key, c.key);
    EXPECT_EQ(action.modifiers, c.modifiers);
  }
}

// Strokes written out: characters as they are, keys as <code>.
std::string Written(const std::vector<Stroke>& strokes) {
  std::string text;
  for (const Stroke& stroke : strokes) {
    text += stroke.isKey ? "<" + std::to_string(stroke.key) + ">" : std::string(1, stroke.c);
  }
  return text;
}
std::string KeyCode(int key) {
  return "<" + std::to_string(key) + ">";
}

TEST(PlayScript, TypesRelationSignsWithTheirKeysAndLatin1AsBytes) {
  struct Case {
    const char* text;
    std::string strokes;
  };
  const Case cases[] = {
      {"2p \u2265 1", "2p " + KeyCode(kKeyF2) + " 1"},
      {"\u2264\u2260", KeyCode(kKeyF1) + KeyCode(kKeyF3)},
      {"caf\u00e9", "caf\xE9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const PlayScript script = Parse(std::string("type ") + c.text);
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(Written(script.actions[0].strokes), c.strokes);
  }
}

// The extended setting, the suite's version and a second copy running show in the sessions
// flow_extended_run, welcome_version and already_running.
TEST(PlayScript, HeaderLinesSetUpTheSessionAndDefaultsStandWithoutThem) {
  const PlayScript plain = Parse("close\n");
  EXPECT_FALSE(plain.hasStudent);
  EXPECT_FALSE(plain.hasSeed);
  EXPECT_EQ(plain.screen.width, 1024);
  EXPECT_EQ(plain.screen.height, 768);
  EXPECT_EQ(plain.screen.dpi, 96);
  EXPECT_FALSE(plain.extended);
  EXPECT_EQ(plain.suiteVersion, "1.0");
  EXPECT_TRUE(plain.missingLibraries.empty());
  EXPECT_FALSE(plain.alreadyRunning);
  EXPECT_FALSE(plain.noLessonFont);

  const PlayScript set = Parse(
      "student \"Ann Lee\"\nseed 18446744073709551615\nscreen 800 600 120\nextended\n"
      "suite-version 2.5\nwithout BRISKL.DLL\nwithout TRAMOR32.DLL\nalready-running\n"
      "no-lesson-font\nclick 1\n");
  EXPECT_TRUE(set.hasStudent);
  EXPECT_EQ(set.student, "Ann Lee");
  EXPECT_TRUE(set.hasSeed);
  EXPECT_EQ(set.seed, 18446744073709551615u);
  EXPECT_EQ(set.screen.width, 800);
  EXPECT_EQ(set.screen.height, 600);
  EXPECT_EQ(set.screen.dpi, 120);
  EXPECT_EQ(set.missingLibraries, (std::vector<std::string>{"BRISKL.DLL", "TRAMOR32.DLL"}));
  EXPECT_TRUE(set.noLessonFont);
  ASSERT_EQ(set.actions.size(), 1u);
  EXPECT_EQ(set.actions[0].line, 10);
}

TEST(PlayScript, MalformedLinesAreReportedWithTheirLineNumber) {
  struct Case {
    const char* script;
    const char* error;
  };
  const Case cases[] = {
      {"click 1\nseed 5",
       "script line 2: seed is a header line and must come before the first action"},
      {"seed 18446744073709551616", "script line 1: seed takes an unsigned 64-bit number"},
      {"seed 12abc", "script line 1: seed takes an unsigned 64-bit number"},
      {"screen 0 600 96", "script line 1: screen takes three positive numbers: width, height, dpi"},
      {"screen 800 600 96 1",
       "script line 1: screen takes three positive numbers: width, height, dpi"},
      {"suite-version one", "script line 1: suite-version takes a number such as 1.0"},
      {"extended yes", "script line 1: extended takes no argument"},
      {"student", "script line 1: student needs an argument"},
      {"\n# note\njump 3", "script line 3: unknown action \"jump\""},
      {"click 14x", "script line 1: click takes a number or a quoted text"},
      {"dblclick 99999999999", "script line 1: dblclick takes a number or a quoted text"},
      {"choose \"\"", "script line 1: choose needs a non-empty text"},
      {"answer Maybe", "script line 1: answer takes OK, Cancel, Yes or No"},
      {"key F13", "script line 1: unknown key name \"F13\""},
      {"key Hyper+X", "script line 1: unknown key name \"Hyper+X\""},
      {"type \"abc", "script line 1: the closing quote is missing"},
      {"type \"a\\nb\"", "script line 1: only \\\" and \\\\ escape inside quotes"},
      {"expect \"x\" y", "script line 1: text after the closing quote"},
      {"type \u2211", "script line 1: cannot type U+2211"},
      {"type \"\xC3\"", "script line 1: the text is not UTF-8"},
      {"clear now", "script line 1: clear takes no argument"},
      {"menu", "script line 1: menu needs an item"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(ParseError(c.script), c.error);
  }
}

TEST(PlayScript, CarriageReturnsAndTrailingBlanksAreNotPartOfALine) {
  const PlayScript script = Parse("student Ann\r\n\r\nmenu Practice \r\ntype 3p\r\n");
  EXPECT_EQ(script.student, "Ann");
  ASSERT_EQ(script.actions.size(), 2u);
  EXPECT_EQ(script.actions[0].text, "Practice");
  EXPECT_EQ(script.actions[1].line, 4);
  EXPECT_EQ(script.actions[1].text, "3p");
}

TEST(PlayOptions, CommandLineOverridesHeaderLines) {
  PlayScript script = Parse("student Ann\nseed 4\nscreen 640 480 96\n");
  const char* const options[] = {"--seed",   "77",   "--student", "Bo",
                                 "--screen", "1280", "1024",      "120"};
  std::string error;
  ASSERT_TRUE(ApplyPlayOptions(options, script, error)) << error;
  EXPECT_EQ(script.seed, 77u);
  EXPECT_EQ(script.student, "Bo");
  EXPECT_EQ(script.screen.width, 1280);
  EXPECT_EQ(script.screen.height, 1024);
  EXPECT_EQ(script.screen.dpi, 120);

  struct Case {
    std::vector<const char*> options;
    const char* error;
  };
  const Case bad[] = {
      {{"--seed", "x"}, "--seed takes an unsigned 64-bit number"},
      {{"--screen", "800", "600"}, "unknown or incomplete option --screen"},
      {{"--screen", "800", "0", "96"}, "--screen takes three positive numbers"},
      {{"--fast"}, "unknown or incomplete option --fast"},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.error);
    EXPECT_FALSE(ApplyPlayOptions(c.options, script, error));
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
}

}  // namespace
