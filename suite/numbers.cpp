// The course shell's number formatting: whole numbers and decimals appended to zero-terminated
// buffers, and rounding to a number of decimals. Rounding works on the number as it is written
// (its shortest decimal form that reads back as the same double), halves away from zero, and
// RoundToPlaces reads back exactly the digits AppendDecimal writes, so a number shown is the
// number stored. Nothing here depends on the locale.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "courselib.h"

namespace {

// More places than any caller asks for; larger requests are cut to this.
constexpr int kMaxPlaces = 20;

// Room for any finite double in fixed notation: at most 309 integer digits, or "0." followed by
// up to 323 zeros and 17 significant digits, plus a carry digit and the padding to kMaxPlaces.
constexpr int kDigitsSize = 400;

// A non-negative decimal number as digits, without sign or point. The integer part is
// digits[first, first + intDigits), the fraction follows it. digits[0] is kept free for a carry.
struct DecimalDigits {
  std::array<char, kDigitsSize> digits;
  int first;
  int intDigits;
  int fracDigits;
};

// Enough for the sign, the digits and the point of a written decimal.
constexpr int kWrittenSize = kDigitsSize + 2;

// Appends bytes to the zero-terminated text in the buffer, cut at the buffer's end.
void AppendBytes(std::span<char> text, std::string_view more) {
  if (text.empty()) return;
  const void* end = std::memchr(text.data(), '\0', text.size());
  std::size_t used = end ? static_cast<const char*>(end) - text.data() : text.size() - 1;
  std::size_t count = std::min(text.size() - 1 - used, more.size());
  std::copy_n(more.data(), count, text.data() + used);
  text[used + count] = '\0';
}

int ClampPlaces(int places) {
  return std::clamp(places, 0, kMaxPlaces);
}

// Step 1: the shortest fixed-notation digits of |value| that read back as the same double.
bool ReadShortestDigits(double value, DecimalDigits& d) {
  std::array<char, kDigitsSize> written{};
  auto [end, error] = std::to_chars(written.data(), written.data() + written.size(),
                                    std::fabs(value), std::chars_format::fixed);
  if (error != std::errc{}) return false;
  d.first = 1;
  d.intDigits = 0;
  d.fracDigits = 0;
  bool inFraction = false;
  int out = d.first;
  for (const char* c = written.data(); c != end; ++c) {
    if (*c == '.') {
      inFraction = true;
      continue;
    }
    d.digits[out++] = *c;
    ++(inFraction ? d.fracDigits : d.intDigits);
  }
  return true;
}

// Step 2: keep `places` fraction digits; when the first dropped digit is 5 or more, add one to
// the last kept digit, carrying to the left (a carry out of the first digit becomes a new one).
void RoundHalfAwayFromZero(DecimalDigits& d, int places) {
  if (d.fracDigits <= places) return;
  int kept = d.intDigits + places;
  bool roundUp = d.digits[d.first + kept] >= '5';
  d.fracDigits = places;
  if (!roundUp) return;
  int i = d.first + kept - 1;
  for (; i >= d.first; --i) {
    if (d.digits[i] != '9') {
      ++d.digits[i];
      return;
    }
    d.digits[i] = '0';
  }
  d.digits[--d.first] = '1';
  ++d.intDigits;
}

// Step 3: pad the fraction with zeros to `places` (flag 0), or drop its trailing zeros (flag 1;
// any non-zero flag reads as 1).
void FitFraction(DecimalDigits& d, int places, int flag) {
  if (flag != 0) {
    while (d.fracDigits > 0 && d.digits[d.first + d.intDigits + d.fracDigits - 1] == '0') {
      --d.fracDigits;
    }
    return;
  }
  while (d.fracDigits < places) d.digits[d.first + d.intDigits + d.fracDigits++] = '0';
}

bool IsZero(const DecimalDigits& d) {
  int count = d.intDigits + d.fracDigits;
  return std::all_of(d.digits.begin() + d.first, d.digits.begin() + d.first + count,
                     [](char c) { return c == '0'; });
}

// Step 4: sign, integer digits, and the point with the fraction when one is left. A number that
// rounds to zero is written without a sign.
std::string_view WriteDecimal(const DecimalDigits& d, bool negative,
                              std::array<char, kWrittenSize>& out) {
  std::size_t length = 0;
  if (negative && !IsZero(d)) out[length++] = '-';
  const char* digits = d.digits.data() + d.first;
  length = std::copy_n(digits, d.intDigits, out.data() + length) - out.data();
  if (d.fracDigits > 0) {
    out[length++] = '.';
    length = std::copy_n(digits + d.intDigits, d.fracDigits, out.data() + length) - out.data();
  }
  return {out.data(), length};
}

// NaN and infinities have no digits to round; they are written as words.
std::string_view NonFiniteWord(double value) {
  if (std::isnan(value)) return "nan";
  return value < 0 ? "-inf" : "inf";
}

// The value rounded and written with `places` decimals under the flag's rule.
std::string_view FormatDecimal(double value, int places, int flag,
                               std::array<char, kWrittenSize>& out) {
  if (!std::isfinite(value)) return NonFiniteWord(value);
  places = ClampPlaces(places);
  DecimalDigits d{};
  if (!ReadShortestDigits(value, d)) return "";
  RoundHalfAwayFromZero(d, places);
  FitFraction(d, places, flag);
  return WriteDecimal(d, std::signbit(value), out);
}

}  // namespace

double RoundToPlaces(double value, int places) {
  if (!std::isfinite(value)) return value;
  std::array<char, kWrittenSize> written{};
  std::string_view text = FormatDecimal(value, places, 1, written);
  double rounded = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), rounded);
  return rounded;
}

void AppendInt(std::span<char> text, int value) {
  std::array<char, 16> written{};
  auto [end, error] = std::to_chars(written.data(), written.data() + written.size(), value);
  if (error != std::errc{}) return;
  AppendBytes(text, {written.data(), static_cast<std::size_t>(end - written.data())});
}

void AppendLong(std::span<char> text, int value) {
  AppendInt(text, value);
}

void AppendDecimal(std::span<char> text, double value, int places, int flag) {
  std::array<char, kWrittenSize> written{};
  AppendBytes(text, FormatDecimal(value, places, flag, written));
}
