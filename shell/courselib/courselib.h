// The course shell and suite version libraries as the lesson sees them: random numbers, number
// formatting, the student's record and certificates. suite/ implements them; every layer of the
// lesson calls them through this header only.
#pragma once

#include <cstdint>
#include <span>

// Names the lesson to the course shell, always passed in this order.
inline constexpr int kLessonIdMajor = 29;
inline constexpr int kLessonIdMinor = 230;

inline constexpr int kStudentRecordSize = 64;
inline constexpr int kStudentDataASize = 64;
inline constexpr int kStudentDataBSize = 288;

// Seeds the random source behind RandomInRange. The same seed gives the same draws everywhere.
void SeedRandom(std::uint64_t seed);

// A whole number from low to high, both included. The upper bound comes first.
int RandomInRange(int high, int low);

// The value rounded to that many decimals, halves away from zero.
double RoundToPlaces(double value, int places);

// Append to the zero-terminated text held in the buffer; the text is cut at the buffer's end and
// always stays terminated. The decimal point is '.' whatever the locale.
void AppendInt(std::span<char> text, int value);
void AppendLong(std::span<char> text, int value);
// flag 1 drops trailing zeros of the fraction, and the point when nothing is left of it.
void AppendDecimal(std::span<char> text, double value, int places, int flag);
