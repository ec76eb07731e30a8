// The course shell's own side, which the lesson never sees: start-up (main) configures who is
// signed in, where the student records live, the certification setting and the suite version; the
// certificate operations record and look up certifications through the functions here. The lesson
// reaches the same shell only through courselib.h.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "courselib.h"
#include "record_store.h"

// The store's file inside the data directory.
inline constexpr char kRecordStoreFileName[] = "records.sqlite";

struct CourseShellSettings {
  std::string studentName;    // empty: nobody signed in
  std::string dataDirectory;  // empty: DefaultDataDirectory()
  bool extendedCertification = false;
  double suiteVersion = 1.0;
  int storeBusyTimeoutMs = kRecordStoreBusyTimeoutMs;
};

// Takes the settings for the rest of the run (and closes a store opened under earlier ones).
// Refuses, keeping the earlier settings, a student name holding control characters or bytes that
// are not UTF-8, and a suite version that is not a finite number.
bool ConfigureCourseShell(const CourseShellSettings& settings, std::string& error);

// Closes the store (at exit, or between runs in the tests). The next OpenStudentRecord opens it
// again unless it was found unusable in this run.
void CloseCourseShell();

// $XDG_DATA_HOME/tavrin, or ~/.local/share/tavrin when XDG_DATA_HOME is unset, empty or relative.
// False when neither gives a directory.
bool DefaultDataDirectory(std::string& directory);

// False after OpenStudentRecord found the store unusable: the student works from a record in
// memory and nothing is recorded in this run.
bool StudentStoreAvailable();

// ---- What the shell keeps in the lesson's opaque blocks -----------------------------------------
//
// StudentRecord: the student's name, zero-terminated, cut to 63 bytes without splitting a
// character. StudentDataA: StudentIdentityBlock. StudentDataB: LastCertificationBlock.

inline constexpr int kStampSize = 20;  // "YYYY-MM-DD HH:MM:SS" and its terminator

struct StudentIdentityBlock {
  std::int64_t recordId;                 // the student's row; 0 for a record in memory only
  std::array<char, kStampSize> created;  // when the row was made; empty in memory
};
static_assert(sizeof(StudentIdentityBlock) <= kStudentDataASize);

// The last certification of this lesson the store knew of when the record was opened.
struct LastCertificationBlock {
  std::int32_t certified;  // 0: none recorded
  std::int32_t series;
  std::int32_t extended;
  std::array<char, kStampSize> passedAt;
};
static_assert(sizeof(LastCertificationBlock) <= kStudentDataBSize);

StudentIdentityBlock ReadStudentIdentity(std::span<const char, kStudentDataASize> studentDataA);
LastCertificationBlock ReadLastCertificationBlock(
    std::span<const char, kStudentDataBSize> studentDataB);

// ---- Certifications -----------------------------------------------------------------------------

// Records that the student of these blocks passed a certification run of the lesson in the given
// series, with the extended setting in force, as one transaction. False, with the reason in error
// and nothing written, when the store is unavailable, the blocks are not the signed-in student's,
// or the store refuses (locked past the busy timeout, for one).
bool RecordCertificationInStore(std::span<const char, kStudentRecordSize> studentRecord,
                                std::span<const char, kStudentDataASize> studentDataA,
                                int lessonIdMajor, int lessonIdMinor, int series,
                                std::string& error);

// The student's most recent certification of the lesson, read from the store.
StoreLookup LastCertification(std::span<const char, kStudentRecordSize> studentRecord,
                              std::span<const char, kStudentDataASize> studentDataA,
                              int lessonIdMajor, int lessonIdMinor, CertificationRow& row,
                              std::string& error);
