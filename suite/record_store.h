// The student record store: one SQLite database file holding a table of students and a table of the
// certifications they passed. The course shell (course_shell.cpp) is its only user; everything here
// reports failure by return value together with SQLite's own message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;

// The layout the code below reads and writes, kept in the file's user_version. A file of a later
// layout belongs to a newer program and is left alone.
inline constexpr int kRecordStoreSchemaVersion = 1;

// How long a statement waits for another program's lock before it gives up.
inline constexpr int kRecordStoreBusyTimeoutMs = 2000;

struct RecordStore {
  sqlite3* db = nullptr;
};

struct StudentRow {
  std::int64_t id = 0;
  std::string name;
  std::string created;  // "YYYY-MM-DD HH:MM:SS", UTC
};

struct CertificationRow {
  std::int64_t id = 0;
  std::int64_t studentId = 0;
  int lessonIdMajor = 0;
  int lessonIdMinor = 0;
  int series = 0;
  std::string passedAt;  // "YYYY-MM-DD HH:MM:SS", UTC
  bool extended = false;
};

enum class StoreLookup { kFound, kNone, kFailed };

// Opens the store at path, creating the file and its tables when there is none. An existing file
// that is not a database, or a database of some other program or of a later layout, is refused
// without a byte of it changed.
bool OpenRecordStore(RecordStore& store, const std::string& path, int busyTimeoutMs,
                     std::string& error);

void CloseRecordStore(RecordStore& store);

// The student's row, created on first use. Finding and creating are one transaction, so two
// programs signing the same new student in at once end up with one row.
bool FindOrCreateStudent(RecordStore& store, std::string_view name, StudentRow& row,
                         std::string& error);

// Adds a certification of an existing student, stamped with the current time; fills row.id and
// row.passedAt. All or nothing: on failure the store holds no trace of it.
bool InsertCertification(RecordStore& store, CertificationRow& row, std::string& error);

// The student's most recent certification of the lesson.
StoreLookup FindLastCertification(RecordStore& store, std::int64_t studentId, int lessonIdMajor,
                                  int lessonIdMinor, CertificationRow& row, std::string& error);
