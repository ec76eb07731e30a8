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

// ---- The student's record and certificates ----------------------------------------------------

// Window handles as the course shell's own dialogs take them (the platform's Window).
using CourseWindow = std::uint32_t;

// Fills the three opaque blocks and the certification series of the signed-in student. Returns
// non-zero when a student is signed in, 0 when nobody is.
int OpenStudentRecord(std::span<char, kStudentRecordSize> studentRecord,
                      std::span<char, kStudentDataASize> studentDataA,
                      std::span<char, kStudentDataBSize> studentDataB, int* certificationSeries);

// The main window is ready; the result means nothing to the lesson.
int AnnounceLessonStart(std::span<const char, kStudentRecordSize> studentRecord);

// The course shell's dialog for choosing the certification series, owned by owner. Returns the
// series chosen, or -1 when the student cancelled (the lesson keeps its series).
int SelectCertificationSeries(CourseWindow owner);

// "Print Certificate" with no pass in this run: prints the student's last recorded certification
// of the lesson, or says in a message box that there is none. The result means nothing to the
// lesson.
int PrintRecordedCertificate(CourseWindow owner,
                             std::span<const char, kStudentRecordSize> studentRecord,
                             std::span<const char, kStudentDataASize> studentDataA,
                             std::span<const char, kStudentDataBSize> studentDataB,
                             int lessonIdMajor, int lessonIdMinor, int certificationSeries);

// Prints the certificate of a run passed since start-up: justPassed 1 right after the pass (before
// RecordCertification), 0 for a later "Print Certificate". reservedA and reservedB are 0. The
// result means nothing to the lesson.
int PrintNewCertificate(CourseWindow owner, std::span<const char, kStudentRecordSize> studentRecord,
                        std::span<const char, kStudentDataASize> studentDataA,
                        std::span<const char, kStudentDataBSize> studentDataB, int lessonIdMajor,
                        int lessonIdMinor, int certificationSeries, int reservedA, int reservedB,
                        int justPassed);

// Records the pass just printed in the student's record, in that series. The result means
// nothing to the lesson; a failure is told to the student by the course shell itself.
int RecordCertification(CourseWindow owner, int lessonIdMajor, int lessonIdMinor,
                        int certificationSeries,
                        std::span<const char, kStudentRecordSize> studentRecord,
                        std::span<const char, kStudentDataASize> studentDataA);

// True when the course shell asks for the extended certification setting (4 strikes allowed, 3
// problems a run) instead of the standard one (3 and 1).
bool ExtendedCertification();

// The suite version library's version number.
double GetSuiteVersion();
