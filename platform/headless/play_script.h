// A play script read into a record: the header lines that set up the session (student, seed,
// screen, missing libraries, ...) and the student's actions with their script lines. The play
// runner (headless_backend) performs the actions; main() reads the header for the course shell.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class ActionKind : std::uint8_t {
  kMenu,             // menu ITEM
  kClick,            // click ID | click "LABEL"
  kChoose,           // choose ID | choose "LABEL"
  kSelect,           // select N | select "TEXT"
  kDoubleClick,      // dblclick N | dblclick "TEXT"
  kType,             // type TEXT
  kKey,              // key NAME, with modifiers
  kClear,            // clear
  kAnswer,           // answer OK|Cancel|Yes|No
  kClickProblemBox,  // click-problem-box
  kClose,            // close
  kExpect,           // expect "TEXT"
};

// One key stroke of a typed text: a character byte, or a key (the relation signs are keys).
struct Stroke {
  bool isKey;
  int key;  // Key, when isKey
  char c;   // the single-byte character, otherwise
};

inline constexpr int kNoNumber = -1;

enum ModifierFlag : unsigned { kModCtrl = 1u, kModAlt = 2u, kModShift = 4u };

struct PlayAction {
  ActionKind kind = ActionKind::kClose;
  int line = 0;        // script line, from 1
  std::string source;  // the script line as written, blanks around it removed (echoed as "> ")
  // Menu item label, button or radio label, row text, typed text, expected text (UTF-8). Empty
  // when the action names a number instead.
  std::string text;
  int number = kNoNumber;       // control ID, row, menu command; kNoNumber when text is used
  int key = 0;                  // kKey: the key; kAnswer: the button ID (kIdOk, ...)
  unsigned modifiers = 0;       // kKey: ModifierFlag bits
  std::vector<Stroke> strokes;  // kType: the key strokes of text
};

struct PlayScreen {
  int width = 1024;
  int height = 768;
  int dpi = 96;
};

struct PlayScript {
  bool hasStudent = false;  // nobody is signed in unless a student line or --student says so
  std::string student;
  bool hasSeed = false;  // without a seed the course shell seeds with the time
  std::uint64_t seed = 0;
  PlayScreen screen;
  bool extended = false;
  std::string suiteVersion = "1.0";
  double suiteVersionValue = 1.0;
  std::vector<std::string> missingLibraries;  // `without` lines, as written
  bool alreadyRunning = false;
  bool noLessonFont = false;
  std::vector<PlayAction> actions;
};

// Reads a whole script. On a malformed line returns false with error set to
// "script line N: ..." (a usage error: the program exits with status 2).
bool ParsePlayScript(std::string_view text, PlayScript& script, std::string& error);
// Reads the script from a file, or from standard input when path is "-".
bool LoadPlayScript(std::string_view path, PlayScript& script, std::string& error);

// Applies the command-line options that follow `--play SCRIPT`: --seed N, --student NAME,
// --screen W H DPI, each overriding the script's header line. False with error for anything else.
bool ApplyPlayOptions(std::span<const char* const> options, PlayScript& script, std::string& error);

// The key strokes that type a UTF-8 text: ASCII and Latin-1 characters as single bytes, and the
// relation signs as the keys the entry line takes for them. False with error for a character that
// cannot be typed.
bool TextToStrokes(std::string_view text, std::vector<Stroke>& strokes, std::string& error);

// A key name as written after `key` (Enter, F2, Ctrl+Up, Alt+P, ...). False when unknown.
bool ParseKeyName(std::string_view name, int& key, unsigned& modifiers);
