// A certification is in the store whole or not at all, whenever the program recording it dies.
// A child process signs a student in and records certifications in a loop, telling the parent of
// each one recorded; the parent kills it with SIGKILL after a random short delay, over and over,
// against one store. Afterwards the store must pass SQLite's own integrity check, every
// certification row must be whole and belong to a student, every recording the child reported
// must be there, and the store must still take new recordings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "certificates.h"
#include "course_shell.h"
#include "courselib.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 150;
constexpr int kLongestDelayUs = 60000;  // long enough to open the store and record several
constexpr int kSeriesCycle = 10;
constexpr const char* kStudents[] = {"Ann", "Ben", "Zo\xC3\xAB"};
constexpr int kStudentCount = 3;

// The child: one run of the lesson that passes certification after certification until it is
// killed. Each recording is acknowledged with one byte once RecordCertification returned it done.
[[noreturn]] void RecordUntilKilled(const fs::path& directory, int round, int acknowledge) {
  CourseShellSettings settings;
  settings.studentName = kStudents[round % kStudentCount];
  settings.dataDirectory = directory.string();
  std::string error;
  if (!ConfigureCourseShell(settings, error)) _exit(2);
  std::array<char, kStudentRecordSize> record{};
  std::array<char, kStudentDataASize> dataA{};
  std::array<char, kStudentDataBSize> dataB{};
  int series = 0;
  if (OpenStudentRecord(record, dataA, dataB, &series) == 0 || !StudentStoreAvailable()) _exit(3);
  for (int passed = 0;; ++passed) {
    int certification = passed % kSeriesCycle + 1;
    if (RecordCertification(0, kLessonIdMajor, kLessonIdMinor, certification, record, dataA) != 1) {
      _exit(4);
    }
    if (write(acknowledge, "r", 1) != 1) _exit(5);
  }
}

// One round: start the child, let it run for the delay, kill it, count its acknowledgements.
// False when the child was not killed (it ended by itself: exitCode).
bool KillOneRecorder(const fs::path& directory, int round, int delayUs, int& acknowledged,
                     int& exitCode) {
  std::array<int, 2> channel{};
  if (pipe(channel.data()) != 0) return false;
  pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    RecordUntilKilled(directory, round, channel[1]);
  }
  close(channel[1]);
  std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
  if (child > 0) kill(child, SIGKILL);
  std::array<char, 4096> bytes{};
  for (ssize_t n; (n = read(channel[0], bytes.data(), bytes.size())) > 0;) {
    acknowledged += static_cast<int>(n);
  }
  close(channel[0]);
  int status = 0;
  if (child <= 0 || waitpid(child, &status, 0) != child) return false;
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// The first column of the first row of a query, as text ("" when there is none).
std::string Answer(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
  std::string answer;
  if (sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    if (text != nullptr) answer = reinterpret_cast<const char*>(text);
  }
  sqlite3_finalize(statement);
  return answer;
}

long long Count(sqlite3* db, const char* sql) {
  return std::stoll("0" + Answer(db, sql));
}

TEST(CertificateStoreUnderKills, EveryRowIsWholeAndEveryAcknowledgedRecordingSurvives) {
  std::string pattern = (fs::temp_directory_path() / "tavrin-kill-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path directory = pattern;

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay(0, kLongestDelayUs);
  int acknowledged = 0;
  int roundsWithRecordings = 0;
  for (int round = 0; round < kRounds; ++round) {
    int before = acknowledged;
    int exitCode = -1;
    ASSERT_TRUE(KillOneRecorder(directory, round, delay(random), acknowledged, exitCode))
        << "round " << round << ": the child ended by itself with " << exitCode;
    if (acknowledged > before) ++roundsWithRecordings;
  }
  // The kills must have met the child both before and during its recordings.
  EXPECT_GT(roundsWithRecordings, 0);
  EXPECT_GT(acknowledged, 0);

  // The next program to open the store rolls back what a kill left half done.
  const fs::path storePath = directory / kRecordStoreFileName;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(storePath.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(Answer(db, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Answer(db, "PRAGMA foreign_key_check"), "");
  // One row a student however often a kill met the student's first sign-in.
  EXPECT_LE(Count(db, "SELECT count(*) FROM student"), kStudentCount);
  EXPECT_EQ(Count(db, "SELECT count(*) FROM student"),
            Count(db, "SELECT count(DISTINCT name) FROM student"));
  EXPECT_EQ(Count(db,
                  "SELECT count(*) FROM student WHERE typeof(id) != 'integer'"
                  " OR typeof(name) != 'text' OR typeof(created) != 'text'"
                  " OR created NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]"
                  " [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'"),
            0);
  EXPECT_EQ(Count(db,
                  "SELECT count(*) FROM certification WHERE"
                  " student_id NOT IN (SELECT id FROM student)"
                  " OR typeof(student_id) != 'integer'"
                  " OR lesson_id_major IS NOT 29 OR lesson_id_minor IS NOT 230"
                  " OR typeof(series) != 'integer' OR series NOT BETWEEN 1 AND 10"
                  " OR typeof(extended) != 'integer' OR extended != 0"
                  " OR typeof(passed_at) != 'text'"
                  " OR passed_at NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]"
                  " [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'"),
            0);
  // Every acknowledged recording is there; beyond them at most one a round, committed just
  // before its kill.
  long long rows = Count(db, "SELECT count(*) FROM certification");
  EXPECT_GE(rows, acknowledged);
  EXPECT_LE(rows, acknowledged + kRounds);
  std::cout << kRounds << " rounds, " << roundsWithRecordings << " with recordings, "
            << acknowledged << " recordings acknowledged, " << rows << " in the store\n";
  sqlite3_close(db);

  // The store still takes a recording.
  CourseShellSettings settings;
  settings.studentName = "Ann";
  settings.dataDirectory = directory.string();
  std::string error;
  ASSERT_TRUE(ConfigureCourseShell(settings, error)) << error;
  std::array<char, kStudentRecordSize> record{};
  std::array<char, kStudentDataASize> dataA{};
  std::array<char, kStudentDataBSize> dataB{};
  int series = 0;
  ASSERT_EQ(OpenStudentRecord(record, dataA, dataB, &series), 1);
  EXPECT_TRUE(RecordCertificationInStore(record, dataA, kLessonIdMajor, kLessonIdMinor, 1, error))
      << error;
  CloseCourseShell();
  ForgetCertificatesOfRun();
  fs::remove_all(directory);
}

}  // namespace
