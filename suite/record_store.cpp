// The student record store on SQLite. Every value reaches SQL as a bound parameter; the only SQL
// text is the constant text below. Writes run in one IMMEDIATE transaction each, so a store locked
// by another program is noticed before anything is written, and a failure rolls back whole.
#include "record_store.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace {

// The tables, created in one transaction on first use. The index serves the look-up of a
// student's last certification of a lesson.
constexpr const char* kCreateSchema =
    "CREATE TABLE student ("
    "  id INTEGER PRIMARY KEY,"
    "  name TEXT NOT NULL UNIQUE,"
    "  created TEXT NOT NULL);"
    "CREATE TABLE certification ("
    "  id INTEGER PRIMARY KEY,"
    "  student_id INTEGER NOT NULL REFERENCES student(id),"
    "  lesson_id_major INTEGER NOT NULL,"
    "  lesson_id_minor INTEGER NOT NULL,"
    "  series INTEGER NOT NULL,"
    "  passed_at TEXT NOT NULL,"
    "  extended INTEGER NOT NULL CHECK (extended IN (0, 1)));"
    "CREATE INDEX certification_by_lesson"
    "  ON certification(student_id, lesson_id_major, lesson_id_minor);"
    "PRAGMA user_version = 1;";
// A pragma takes no bound parameter; the number above must follow the constant.
static_assert(kRecordStoreSchemaVersion == 1, "update the user_version in kCreateSchema");

constexpr const char* kFindStudent = "SELECT id, name, created FROM student WHERE name = ?1";
constexpr const char* kInsertStudent =
    "INSERT INTO student (name, created) VALUES (?1, strftime('%Y-%m-%d %H:%M:%S', 'now'))";
constexpr const char* kInsertCertification =
    "INSERT INTO certification"
    " (student_id, lesson_id_major, lesson_id_minor, series, passed_at, extended)"
    " VALUES (?1, ?2, ?3, ?4, strftime('%Y-%m-%d %H:%M:%S', 'now'), ?5)";
constexpr const char* kCertificationStamp = "SELECT passed_at FROM certification WHERE id = ?1";
constexpr const char* kLastCertification =
    "SELECT id, student_id, lesson_id_major, lesson_id_minor, series, passed_at, extended"
    " FROM certification"
    " WHERE student_id = ?1 AND lesson_id_major = ?2 AND lesson_id_minor = ?3"
    " ORDER BY id DESC LIMIT 1";

// A prepared statement, finalized whichever way the function that holds it returns.
struct Statement {
  sqlite3_stmt* handle = nullptr;
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(handle); }
};

bool Failed(sqlite3* db, std::string& error) {
  error = sqlite3_errmsg(db);
  return false;
}

bool Prepare(sqlite3* db, const char* sql, Statement& statement, std::string& error) {
  if (sqlite3_prepare_v2(db, sql, -1, &statement.handle, nullptr) == SQLITE_OK) return true;
  return Failed(db, error);
}

// Runs constant SQL text that returns no rows.
bool Execute(sqlite3* db, const char* sql, std::string& error) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  error = message != nullptr ? message : sqlite3_errmsg(db);
  sqlite3_free(message);
  return false;
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// A write transaction that rolls back unless committed. It takes the write lock at once, so a store
// locked by someone else fails here, after the busy timeout, before any statement ran.
struct WriteTransaction {
  sqlite3* db = nullptr;
  bool open = false;
  WriteTransaction() = default;
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  ~WriteTransaction() {
    if (open && sqlite3_get_autocommit(db) == 0)
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
};

bool Begin(sqlite3* db, WriteTransaction& transaction, std::string& error) {
  transaction.db = db;
  transaction.open = Execute(db, "BEGIN IMMEDIATE", error);
  return transaction.open;
}

// A COMMIT that fails (a reader still holds the file) leaves the transaction open; the guard's
// destructor then rolls it back.
bool Commit(WriteTransaction& transaction, std::string& error) {
  if (!Execute(transaction.db, "COMMIT", error)) return false;
  transaction.open = false;
  return true;
}

bool ReadUserVersion(sqlite3* db, int& version, std::string& error) {
  Statement statement;
  if (!Prepare(db, "PRAGMA user_version", statement, error)) return false;
  if (sqlite3_step(statement.handle) != SQLITE_ROW) return Failed(db, error);
  version = sqlite3_column_int(statement.handle, 0);
  return true;
}

bool CountSchemaObjects(sqlite3* db, int& count, std::string& error) {
  Statement statement;
  if (!Prepare(db, "SELECT count(*) FROM sqlite_schema", statement, error)) return false;
  if (sqlite3_step(statement.handle) != SQLITE_ROW) return Failed(db, error);
  count = sqlite3_column_int(statement.handle, 0);
  return true;
}

// Creates the tables in a file that has none yet. Checked again inside the transaction, since
// another program may have created them in the meantime; a file holding anything else is refused.
bool CreateSchema(sqlite3* db, std::string& error) {
  WriteTransaction transaction;
  if (!Begin(db, transaction, error)) return false;
  int version = 0;
  if (!ReadUserVersion(db, version, error)) return false;
  if (version == kRecordStoreSchemaVersion) return Commit(transaction, error);
  int objects = 0;
  if (!CountSchemaObjects(db, objects, error)) return false;
  if (version != 0 || objects != 0) {
    error = "the file holds another program's database";
    return false;
  }
  if (!Execute(db, kCreateSchema, error)) return false;
  return Commit(transaction, error);
}

// Step one of opening: the file's layout must be ours, or absent.
bool CheckOrCreateSchema(sqlite3* db, std::string& error) {
  int version = 0;
  if (!ReadUserVersion(db, version, error)) return false;
  if (version == kRecordStoreSchemaVersion) return true;
  if (version > kRecordStoreSchemaVersion) {
    error = "the store was written by a newer version of Tavrin";
    return false;
  }
  if (version < 0) {
    error = "the file holds another program's database";
    return false;
  }
  return CreateSchema(db, error);
}

// Looks the student up by name inside the caller's transaction; false with an empty error when
// there is no such student.
bool SelectStudent(sqlite3* db, std::string_view name, StudentRow& row, std::string& error) {
  error.clear();
  Statement statement;
  if (!Prepare(db, kFindStudent, statement, error)) return false;
  sqlite3_bind_text(statement.handle, 1, name.data(), static_cast<int>(name.size()),
                    SQLITE_TRANSIENT);
  int step = sqlite3_step(statement.handle);
  if (step == SQLITE_DONE) return false;
  if (step != SQLITE_ROW) return Failed(db, error);
  row.id = sqlite3_column_int64(statement.handle, 0);
  row.name = ColumnText(statement.handle, 1);
  row.created = ColumnText(statement.handle, 2);
  return true;
}

bool InsertStudent(sqlite3* db, std::string_view name, std::string& error) {
  Statement statement;
  if (!Prepare(db, kInsertStudent, statement, error)) return false;
  sqlite3_bind_text(statement.handle, 1, name.data(), static_cast<int>(name.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(statement.handle) != SQLITE_DONE) return Failed(db, error);
  return true;
}

bool ReadStamp(sqlite3* db, std::int64_t id, std::string& stamp, std::string& error) {
  Statement statement;
  if (!Prepare(db, kCertificationStamp, statement, error)) return false;
  sqlite3_bind_int64(statement.handle, 1, id);
  if (sqlite3_step(statement.handle) != SQLITE_ROW) return Failed(db, error);
  stamp = ColumnText(statement.handle, 0);
  return true;
}

}  // namespace

bool OpenRecordStore(RecordStore& store, const std::string& path, int busyTimeoutMs,
                     std::string& error) {
  CloseRecordStore(store);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return false;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busyTimeoutMs);
  if (!Execute(db, "PRAGMA foreign_keys = ON", error) || !CheckOrCreateSchema(db, error)) {
    sqlite3_close(db);
    return false;
  }
  store.db = db;
  return true;
}

void CloseRecordStore(RecordStore& store) {
  sqlite3_close(store.db);
  store.db = nullptr;
}

bool FindOrCreateStudent(RecordStore& store, std::string_view name, StudentRow& row,
                         std::string& error) {
  if (store.db == nullptr) {
    error = "the store is not open";
    return false;
  }
  WriteTransaction transaction;
  if (!Begin(store.db, transaction, error)) return false;
  if (!SelectStudent(store.db, name, row, error)) {
    if (!error.empty()) return false;
    if (!InsertStudent(store.db, name, error)) return false;
    if (!SelectStudent(store.db, name, row, error)) {
      if (error.empty()) error = "the new student's row cannot be read back";
      return false;
    }
  }
  return Commit(transaction, error);
}

bool InsertCertification(RecordStore& store, CertificationRow& row, std::string& error) {
  if (store.db == nullptr) {
    error = "the store is not open";
    return false;
  }
  WriteTransaction transaction;
  if (!Begin(store.db, transaction, error)) return false;
  Statement statement;
  if (!Prepare(store.db, kInsertCertification, statement, error)) return false;
  sqlite3_bind_int64(statement.handle, 1, row.studentId);
  sqlite3_bind_int(statement.handle, 2, row.lessonIdMajor);
  sqlite3_bind_int(statement.handle, 3, row.lessonIdMinor);
  sqlite3_bind_int(statement.handle, 4, row.series);
  sqlite3_bind_int(statement.handle, 5, row.extended ? 1 : 0);
  if (sqlite3_step(statement.handle) != SQLITE_DONE) return Failed(store.db, error);
  std::int64_t id = sqlite3_last_insert_rowid(store.db);
  std::string stamp;
  if (!ReadStamp(store.db, id, stamp, error)) return false;
  if (!Commit(transaction, error)) return false;
  row.id = id;
  row.passedAt = stamp;
  return true;
}

StoreLookup FindLastCertification(RecordStore& store, std::int64_t studentId, int lessonIdMajor,
                                  int lessonIdMinor, CertificationRow& row, std::string& error) {
  if (store.db == nullptr) {
    error = "the store is not open";
    return StoreLookup::kFailed;
  }
  Statement statement;
  if (!Prepare(store.db, kLastCertification, statement, error)) return StoreLookup::kFailed;
  sqlite3_bind_int64(statement.handle, 1, studentId);
  sqlite3_bind_int(statement.handle, 2, lessonIdMajor);
  sqlite3_bind_int(statement.handle, 3, lessonIdMinor);
  int step = sqlite3_step(statement.handle);
  if (step == SQLITE_DONE) return StoreLookup::kNone;
  if (step != SQLITE_ROW) {
    Failed(store.db, error);
    return StoreLookup::kFailed;
  }
  row.id = sqlite3_column_int64(statement.handle, 0);
  row.studentId = sqlite3_column_int64(statement.handle, 1);
  row.lessonIdMajor = sqlite3_column_int(statement.handle, 2);
  row.lessonIdMinor = sqlite3_column_int(statement.handle, 3);
  row.series = sqlite3_column_int(statement.handle, 4);
  row.passedAt = ColumnText(statement.handle, 5);
  row.extended = sqlite3_column_int(statement.handle, 6) != 0;
  return StoreLookup::kFound;
}
