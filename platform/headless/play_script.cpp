// Reading a play script: one header line or action a line, arguments with blanks in double quotes.
#include "play_script.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform.h"

namespace {

// ---- Words, numbers and quoted arguments ------------------------------------------------------

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Splits off the first blank-delimited word; rest keeps what follows, leading blanks removed.
std::string_view FirstWord(std::string_view text, std::string_view& rest) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  rest = Trim(text.substr(end));
  return text.substr(0, end);
}

// A whole unsigned number (or version) written without sign, nothing after it.
template <typename Number>
bool ParseWhole(std::string_view text, Number& value) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseInt(std::string_view text, int& value) {
  return ParseWhole(text, value);
}
bool ParseUint64(std::string_view text, std::uint64_t& value) {
  return ParseWhole(text, value);
}
bool ParseVersion(std::string_view text, double& value) {
  return ParseWhole(text, value) && std::isfinite(value);
}

// A double-quoted argument with \" and \\ escapes, which must end the line.
bool ReadQuoted(std::string_view text, std::string& out, std::string& error) {
  out.clear();
  std::size_t i = 1;
  for (; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
      out += text[++i];
      continue;
    }
    error = "only \\\" and \\\\ escape inside quotes";
    return false;
  }
  if (i >= text.size()) {
    error = "the closing quote is missing";
    return false;
  }
  if (!Trim(text.substr(i + 1)).empty()) {
    error = "text after the closing quote";
    return false;
  }
  return true;
}

// The argument of an action that takes one: quoted, or the rest of the line.
bool ReadArgument(std::string_view rest, std::string& out, bool& quoted, std::string& error) {
  quoted = !rest.empty() && rest.front() == '"';
  if (quoted) return ReadQuoted(rest, out, error);
  out.assign(rest);
  return true;
}

// ---- Header lines -----------------------------------------------------------------------------

bool ReadScreen(std::string_view rest, PlayScreen& screen, std::string& error) {
  int values[3] = {};
  for (int& value : values) {
    const std::string_view word = FirstWord(rest, rest);
    if (!ParseInt(word, value) || value <= 0) {
      error = "screen takes three positive numbers: width, height, dpi";
      return false;
    }
  }
  if (!rest.empty()) {
    error = "screen takes three positive numbers: width, height, dpi";
    return false;
  }
  screen = {values[0], values[1], values[2]};
  return true;
}

bool NeedNothing(std::string_view word, std::string_view rest, std::string& error) {
  if (rest.empty()) return true;
  error = std::string(word) + " takes no argument";
  return false;
}

bool NeedText(std::string_view word, std::string_view rest, std::string& out, std::string& error) {
  bool quoted = false;
  if (!ReadArgument(rest, out, quoted, error)) return false;
  if (!out.empty()) return true;
  error = std::string(word) + " needs an argument";
  return false;
}

bool ReadSeed(std::string_view rest, PlayScript& script, std::string& error) {
  if (!ParseUint64(rest, script.seed)) {
    error = "seed takes an unsigned 64-bit number";
    return false;
  }
  script.hasSeed = true;
  return true;
}

bool ReadSuiteVersion(std::string_view rest, PlayScript& script, std::string& error) {
  if (!ParseVersion(rest, script.suiteVersionValue)) {
    error = "suite-version takes a number such as 1.0";
    return false;
  }
  script.suiteVersion = rest;
  return true;
}

bool ReadFlag(std::string_view word, std::string_view rest, bool& flag, std::string& error) {
  if (!NeedNothing(word, rest, error)) return false;
  flag = true;
  return true;
}

bool ReadStudent(std::string_view word, std::string_view rest, PlayScript& script,
                 std::string& error) {
  if (!NeedText(word, rest, script.student, error)) return false;
  script.hasStudent = true;
  return true;
}

bool ReadMissingLibrary(std::string_view word, std::string_view rest, PlayScript& script,
                        std::string& error) {
  std::string library;
  if (!NeedText(word, rest, library, error)) return false;
  script.missingLibraries.push_back(library);
  return true;
}

bool IsHeaderWord(std::string_view word) {
  constexpr std::string_view kHeaderWords[] = {"student",         "seed",          "screen",
                                               "extended",        "suite-version", "without",
                                               "already-running", "no-lesson-font"};
  for (std::string_view header : kHeaderWords) {
    if (header == word) return true;
  }
  return false;
}

// Reads a header line (IsHeaderWord(word) holds); false with error when it is malformed.
bool ReadHeader(std::string_view word, std::string_view rest, PlayScript& script,
                std::string& error) {
  if (word == "student") return ReadStudent(word, rest, script, error);
  if (word == "seed") return ReadSeed(rest, script, error);
  if (word == "screen") return ReadScreen(rest, script.screen, error);
  if (word == "extended") return ReadFlag(word, rest, script.extended, error);
  if (word == "suite-version") return ReadSuiteVersion(rest, script, error);
  if (word == "without") return ReadMissingLibrary(word, rest, script, error);
  if (word == "already-running") return ReadFlag(word, rest, script.alreadyRunning, error);
  return ReadFlag(word, rest, script.noLessonFont, error);
}

// ---- Actions ----------------------------------------------------------------------------------

enum class ArgumentForm : std::uint8_t {
  kNone,         // clear, close, click-problem-box
  kMenuItem,     // a label (quoted or the rest of the line) or a command number
  kIdOrQuoted,   // a number, or a quoted text
  kText,         // the rest of the line, or quoted
  kKeyName,      // Enter, Ctrl+Up, ...
  kAnswerButton  // OK, Cancel, Yes, No
};

struct ActionForm {
  std::string_view word;
  ActionKind kind;
  ArgumentForm form;
};

constexpr ActionForm kActionForms[] = {
    {"menu", ActionKind::kMenu, ArgumentForm::kMenuItem},
    {"click", ActionKind::kClick, ArgumentForm::kIdOrQuoted},
    {"choose", ActionKind::kChoose, ArgumentForm::kIdOrQuoted},
    {"select", ActionKind::kSelect, ArgumentForm::kIdOrQuoted},
    {"dblclick", ActionKind::kDoubleClick, ArgumentForm::kIdOrQuoted},
    {"type", ActionKind::kType, ArgumentForm::kText},
    {"key", ActionKind::kKey, ArgumentForm::kKeyName},
    {"clear", ActionKind::kClear, ArgumentForm::kNone},
    {"answer", ActionKind::kAnswer, ArgumentForm::kAnswerButton},
    {"click-problem-box", ActionKind::kClickProblemBox, ArgumentForm::kNone},
    {"close", ActionKind::kClose, ArgumentForm::kNone},
    {"expect", ActionKind::kExpect, ArgumentForm::kText},
};

struct AnswerName {
  std::string_view name;
  int id;
};

constexpr AnswerName kAnswerNames[] = {
    {"OK", kIdOk}, {"Cancel", kIdCancel}, {"Yes", kIdYes}, {"No", kIdNo}};

bool ReadIdOrQuoted(std::string_view word, std::string_view rest, PlayAction& action,
                    std::string& error) {
  if (!rest.empty() && rest.front() == '"') {
    if (!ReadQuoted(rest, action.text, error)) return false;
    if (!action.text.empty()) return true;
    error = std::string(word) + " needs a non-empty text";
    return false;
  }
  if (ParseInt(rest, action.number)) return true;
  error = std::string(word) + " takes a number or a quoted text";
  return false;
}

bool ReadMenuItem(std::string_view rest, PlayAction& action, std::string& error) {
  bool quoted = false;
  if (!ReadArgument(rest, action.text, quoted, error)) return false;
  if (action.text.empty()) {
    error = "menu needs an item";
    return false;
  }
  if (!quoted && ParseInt(action.text, action.number)) action.text.clear();
  return true;
}

bool ReadAnswer(std::string_view rest, PlayAction& action, std::string& error) {
  for (const AnswerName& answer : kAnswerNames) {
    if (rest == answer.name) {
      action.key = answer.id;
      return true;
    }
  }
  error = "answer takes OK, Cancel, Yes or No";
  return false;
}

bool ReadActionArgument(const ActionForm& form, std::string_view rest, PlayAction& action,
                        std::string& error) {
  switch (form.form) {
    case ArgumentForm::kNone:
      return NeedNothing(form.word, rest, error);
    case ArgumentForm::kMenuItem:
      return ReadMenuItem(rest, action, error);
    case ArgumentForm::kIdOrQuoted:
      return ReadIdOrQuoted(form.word, rest, action, error);
    case ArgumentForm::kText:
      if (!NeedText(form.word, rest, action.text, error)) return false;
      return action.kind != ActionKind::kType || TextToStrokes(action.text, action.strokes, error);
    case ArgumentForm::kKeyName:
      if (ParseKeyName(rest, action.key, action.modifiers)) return true;
      error = "unknown key name \"" + std::string(rest) + "\"";
      return false;
    case ArgumentForm::kAnswerButton:
      return ReadAnswer(rest, action, error);
  }
  return false;
}

// Returns 1 when the line was an action, 0 when the word names none, -1 on an error.
int ReadAction(std::string_view word, std::string_view rest, PlayAction& action,
               std::string& error) {
  for (const ActionForm& form : kActionForms) {
    if (form.word != word) continue;
    action.kind = form.kind;
    return ReadActionArgument(form, rest, action, error) ? 1 : -1;
  }
  return 0;
}

// The whole of a file, read through C streams: the program keeps clear of the C++ standard
// streams (see headless_backend.cpp).
bool ReadWholeFile(std::FILE* file, std::string& text) {
  char block[4096];
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file);
    text.append(block, got);
    if (got < sizeof block) return std::ferror(file) == 0;
  }
}

}  // namespace

bool ParsePlayScript(std::string_view text, PlayScript& script, std::string& error) {
  script = PlayScript{};
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;

    std::string_view rest;
    const std::string_view word = FirstWord(line, rest);
    std::string reason;
    if (IsHeaderWord(word)) {
      if (!script.actions.empty()) {
        reason = std::string(word) + " is a header line and must come before the first action";
      } else {
        ReadHeader(word, rest, script, reason);
      }
    } else {
      PlayAction action;
      if (ReadAction(word, rest, action, reason) == 0) {
        reason = "unknown action \"" + std::string(word) + "\"";
      }
      action.line = lineNumber;
      action.source.assign(line);
      if (reason.empty()) script.actions.push_back(std::move(action));
    }
    if (!reason.empty()) {
      error = "script line " + std::to_string(lineNumber) + ": " + reason;
      return false;
    }
  }
  return true;
}

bool LoadPlayScript(std::string_view path, PlayScript& script, std::string& error) {
  std::string text;
  bool read = false;
  if (path == "-") {
    read = ReadWholeFile(stdin, text);
  } else if (std::FILE* file = std::fopen(std::string(path).c_str(), "rb")) {
    read = ReadWholeFile(file, text);
    std::fclose(file);
  }
  if (!read) {
    error = "cannot read the script " + std::string(path);
    return false;
  }
  return ParsePlayScript(text, script, error);
}

bool ApplyPlayOptions(std::span<const char* const> options, PlayScript& script,
                      std::string& error) {
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::string_view option = options[i];
    const std::size_t left = options.size() - i - 1;
    if (option == "--seed" && left >= 1) {
      if (!ParseUint64(options[++i], script.seed)) {
        error = "--seed takes an unsigned 64-bit number";
        return false;
      }
      script.hasSeed = true;
    } else if (option == "--student" && left >= 1) {
      script.student = options[++i];
      script.hasStudent = !script.student.empty();
    } else if (option == "--screen" && left >= 3) {
      const std::string joined =
          std::string(options[i + 1]) + ' ' + options[i + 2] + ' ' + options[i + 3];
      if (!ReadScreen(joined, script.screen, error)) {
        error = "--" + error;
        return false;
      }
      i += 3;
    } else {
      error = "unknown or incomplete option " + std::string(option) +
              " (play takes --seed N, --student NAME, --screen W H DPI)";
      return false;
    }
  }
  return true;
}
