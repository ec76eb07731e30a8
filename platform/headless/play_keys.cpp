// Key names and typed text of play scripts: `key Ctrl+Up`, and the key strokes that type a UTF-8
// text into the lesson's single-byte controls.
#include <array>
#include <charconv>
#include <cstdint>

#include "platform.h"
#include "play_script.h"

namespace {

bool ParseInt(std::string_view text, int& value) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// ---- Key names --------------------------------------------------------------------------------

struct KeyName {
  std::string_view name;
  int key;
};

constexpr KeyName kKeyNames[] = {
    {"Enter", kKeyEnter},
    {"Escape", kKeyEscape},
    {"Tab", kKeyTab},
    {"Space", kKeySpace},
    {"Backspace", kKeyBackspace},
    {"Delete", kKeyDelete},
    {"Home", kKeyHome},
    {"End", kKeyEnd},
    {"Left", kKeyLeft},
    {"Right", kKeyRight},
    {"Up", kKeyUp},
    {"Down", kKeyDown},
    {"PageUp", kKeyPageUp},
    {"PageDown", kKeyPageDown},
};

constexpr KeyName kModifierNames[] = {{"Ctrl", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// F1..F12, written without leading zeros; 0 for any other name.
int FunctionKey(std::string_view name) {
  int number = 0;
  if (name.size() < 2 || (name[0] != 'F' && name[0] != 'f') || name[1] == '0') return 0;
  if (!ParseInt(name.substr(1), number) || number < 1 || number > 12) return 0;
  return kKeyF1 + number - 1;
}

// A letter or digit: its key is the upper-case character, as keyboards number them; 0 for none.
int CharacterKey(std::string_view name) {
  if (name.size() != 1) return 0;
  const char c = name[0];
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return c;
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  return 0;
}

// A key without modifiers: a named key, a function key, a letter or a digit.
bool ParsePlainKey(std::string_view name, int& key) {
  for (const KeyName& named : kKeyNames) {
    if (SameIgnoringCase(name, named.name)) {
      key = named.key;
      return true;
    }
  }
  key = FunctionKey(name);
  if (key == 0) key = CharacterKey(name);
  return key != 0;
}

// "U+2211": how an untypeable character is named.
std::string CodePointName(char32_t code) {
  std::array<char, 8> digits{};
  const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                       static_cast<std::uint32_t>(code), 16);
  std::string hex(digits.data(), ec == std::errc() ? end : digits.data());
  for (char& c : hex) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
  return "U+" + hex;
}

// ---- UTF-8 text to key strokes ----------------------------------------------------------------

struct SignKey {
  char32_t code;
  int key;
};

// The relation signs are typed with the keys the entry line turns into them.
constexpr SignKey kSignKeys[] = {{U'\u2265', kKeyF2}, {U'\u2264', kKeyF1}, {U'\u2260', kKeyF3}};

// Decodes one UTF-8 character at text[i]; advances i. False on a malformed sequence.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = byte(i);
  if (lead < 0x80) {
    code = lead;
    ++i;
    return true;
  }
  const int extra = (lead & 0xE0) == 0xC0   ? 1
                    : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3
                                            : 0;
  if (extra == 0 || i + extra >= text.size()) return false;
  code = lead & (0x3Fu >> extra);
  for (int k = 1; k <= extra; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return false;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF) return false;
  i += extra + 1;
  return true;
}

}  // namespace

bool ParseKeyName(std::string_view name, int& key, unsigned& modifiers) {
  modifiers = 0;
  for (;;) {
    const std::size_t plus = name.find('+');
    if (plus == std::string_view::npos || plus + 1 == name.size()) break;
    const std::string_view part = name.substr(0, plus);
    bool known = false;
    for (const KeyName& modifier : kModifierNames) {
      if (SameIgnoringCase(part, modifier.name)) {
        modifiers |= static_cast<unsigned>(modifier.key);
        known = true;
      }
    }
    if (!known) return false;
    name.remove_prefix(plus + 1);
  }
  return ParsePlainKey(name, key);
}

bool TextToStrokes(std::string_view text, std::vector<Stroke>& strokes, std::string& error) {
  strokes.clear();
  for (std::size_t i = 0; i < text.size();) {
    char32_t code = 0;
    if (!DecodeUtf8(text, i, code)) {
      error = "the text is not UTF-8";
      return false;
    }
    bool isSign = false;
    for (const SignKey& sign : kSignKeys) {
      if (sign.code == code) {
        strokes.push_back({true, sign.key, 0});
        isSign = true;
      }
    }
    if (isSign) continue;
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0) || code > 0xFF) {
      error = "cannot type " + CodePointName(code);
      return false;
    }
    strokes.push_back({false, 0, static_cast<char>(code)});
  }
  return true;
}
