// The course shell's student records: signing in creates the student's row once, the lesson's
// blocks carry the name and what the store knows, certifications are recorded whole and read back,
// and a store that cannot be used (not a database, locked, no directory) leaves the student working
// from memory with nothing written and nothing damaged. Every test works in its own temporary
// directory.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <regex>
#include <string>

#include "course_shell.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTestBusyTimeoutMs = 200;
const std::regex kStamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A second connection to the store, standing for another program.
struct OtherProgram {
  sqlite3* db = nullptr;
  explicit OtherProgram(const fs::path& path) {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  }
  ~OtherProgram() { sqlite3_close(db); }
  void Run(const char* sql) {
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK)
        << sql << ": " << (message != nullptr ? message : "");
    sqlite3_free(message);
  }
  long long Number(const char* sql) { return std::stoll("0" + Text(sql)); }
  std::string Text(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
    EXPECT_EQ(sqlite3_step(statement), SQLITE_ROW) << sql;
    const unsigned char* text = sqlite3_column_text(statement, 0);
    std::string value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    sqlite3_finalize(statement);
    return value;
  }
};

// The lesson's side of one OpenStudentRecord call.
struct Opened {
  int result = -1;
  std::array<char, kStudentRecordSize> record;
  std::array<char, kStudentDataASize> dataA;
  std::array<char, kStudentDataBSize> dataB;
  int series = 77;
  std::string diagnostics;  // what went to stderr

  std::string Name() const { return record.data(); }
  StudentIdentityBlock Identity() const { return ReadStudentIdentity(dataA); }
  LastCertificationBlock Last() const { return ReadLastCertificationBlock(dataB); }
};

// Signed in as "ada" with the store out of use: a record in memory, and one line on stderr that
// names the place and each of the words.
void ExpectRecordInMemory(const Opened& opened, std::initializer_list<std::string> words) {
  EXPECT_EQ(opened.result, 1);
  EXPECT_EQ(opened.Name(), "ada");
  EXPECT_EQ(opened.Identity().recordId, 0);
  EXPECT_EQ(opened.series, 1);
  EXPECT_EQ(std::count(opened.diagnostics.begin(), opened.diagnostics.end(), '\n'), 1)
      << opened.diagnostics;
  for (const std::string& word : words) {
    EXPECT_NE(opened.diagnostics.find(word), std::string::npos) << opened.diagnostics;
  }
}

class CourseShellTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavrin-shell-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    dataDirectory = root / "data";
    storePath = dataDirectory / kRecordStoreFileName;
  }

  void TearDown() override {
    CloseCourseShell();
    std::string error;
    ConfigureCourseShell(CourseShellSettings{}, error);
    fs::remove_all(root);
  }

  // Starts a run of the lesson with this student signed in.
  void SignIn(const std::string& name, bool extended = false) {
    CloseCourseShell();
    CourseShellSettings settings;
    settings.studentName = name;
    settings.dataDirectory = dataDirectory.string();
    settings.extendedCertification = extended;
    settings.storeBusyTimeoutMs = kTestBusyTimeoutMs;
    std::string error;
    ASSERT_TRUE(ConfigureCourseShell(settings, error)) << error;
  }

  Opened Open() {
    Opened opened;
    opened.record.fill('\x55');
    opened.dataA.fill('\x55');
    opened.dataB.fill('\x55');
    testing::internal::CaptureStderr();
    opened.result = OpenStudentRecord(opened.record, opened.dataA, opened.dataB, &opened.series);
    opened.diagnostics = testing::internal::GetCapturedStderr();
    return opened;
  }

  bool Record(const Opened& opened, int series, std::string& error, int major = kLessonIdMajor,
              int minor = kLessonIdMinor) {
    return RecordCertificationInStore(opened.record, opened.dataA, major, minor, series, error);
  }

  StoreLookup Lookup(const Opened& opened, CertificationRow& row, std::string& error) {
    return LastCertification(opened.record, opened.dataA, kLessonIdMajor, kLessonIdMinor, row,
                             error);
  }

  long long CertificationCount() {
    OtherProgram other(storePath);
    return other.Number("SELECT count(*) FROM certification");
  }

  fs::path root;
  fs::path dataDirectory;
  fs::path storePath;
};

TEST_F(CourseShellTest, NobodySignedInOpensNoRecordAndCreatesNothing) {
  SignIn("");
  Opened opened = Open();
  EXPECT_EQ(opened.result, 0);
  EXPECT_EQ(opened.series, 77);
  EXPECT_FALSE(fs::exists(dataDirectory));
  std::string error;
  EXPECT_FALSE(Record(opened, 1, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(CourseShellTest, FirstSignInCreatesTheStudentAndLaterRunsFindTheSameRow) {
  SignIn("ada");
  Opened first = Open();
  ASSERT_EQ(first.result, 1);
  EXPECT_EQ(first.diagnostics, "");
  EXPECT_GT(first.Identity().recordId, 0);
  EXPECT_TRUE(StudentStoreAvailable());

  SignIn("ada");
  Opened again = Open();
  EXPECT_EQ(again.Identity().recordId, first.Identity().recordId);
  EXPECT_STREQ(again.Identity().created.data(), first.Identity().created.data());

  SignIn("grace");
  Opened other = Open();
  EXPECT_NE(other.Identity().recordId, first.Identity().recordId);

  CloseCourseShell();
  OtherProgram store(storePath);
  EXPECT_EQ(store.Number("SELECT count(*) FROM student"), 2);
  EXPECT_EQ(store.Number("PRAGMA user_version"), kRecordStoreSchemaVersion);
}

TEST_F(CourseShellTest, RecordBlocksHoldTheNameCutWithoutSplittingACharacter) {
  struct Case {
    std::string name;
    std::string inBlock;
  };
  const std::string eAcute = "\xC3\xA9";
  const Case cases[] = {
      {"Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m", "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m"},
      {std::string(63, 'a'), std::string(63, 'a')},
      {std::string(64, 'b'), std::string(63, 'b')},
      {std::string(61, 'c') + eAcute, std::string(61, 'c') + eAcute},
      {std::string(62, 'd') + eAcute, std::string(62, 'd')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SignIn(c.name);
    Opened opened = Open();
    ASSERT_EQ(opened.result, 1);
    EXPECT_EQ(opened.record.back(), '\0');
    EXPECT_EQ(opened.Name(), c.inBlock);
    EXPECT_TRUE(std::all_of(opened.record.begin() + static_cast<long>(c.inBlock.size()),
                            opened.record.end(), [](char b) { return b == '\0'; }));

    StudentIdentityBlock identity = opened.Identity();
    EXPECT_GT(identity.recordId, 0);
    EXPECT_TRUE(std::regex_match(identity.created.data(), kStamp)) << identity.created.data();
    LastCertificationBlock last = opened.Last();
    EXPECT_EQ(last.certified, 0);
    EXPECT_STREQ(last.passedAt.data(), "");
    EXPECT_EQ(opened.series, 1);

    // The store keeps the whole name; only the block is cut.
    CloseCourseShell();
    OtherProgram store(storePath);
    std::string query = "SELECT name FROM student WHERE id = " + std::to_string(identity.recordId);
    EXPECT_EQ(store.Text(query.c_str()), c.name);
  }
}

TEST_F(CourseShellTest, ARecordedCertificationIsReadBackAndOpensTheNextRunInItsSeries) {
  struct Case {
    bool extended;
    int series;
  };
  const Case cases[] = {{false, 1}, {true, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "extended " << c.extended << " series " << c.series);
    std::string name = "student" + std::to_string(c.series);
    SignIn(name, c.extended);
    Opened opened = Open();
    CertificationRow row;
    std::string error;
    EXPECT_EQ(Lookup(opened, row, error), StoreLookup::kNone) << error;

    ASSERT_TRUE(Record(opened, c.series, error)) << error;
    ASSERT_EQ(Lookup(opened, row, error), StoreLookup::kFound) << error;
    EXPECT_EQ(row.studentId, opened.Identity().recordId);
    EXPECT_EQ(row.lessonIdMajor, 29);
    EXPECT_EQ(row.lessonIdMinor, 230);
    EXPECT_EQ(row.series, c.series);
    EXPECT_EQ(row.extended, c.extended);
    EXPECT_TRUE(std::regex_match(row.passedAt, kStamp)) << row.passedAt;

    SignIn(name, c.extended);
    Opened next = Open();
    EXPECT_EQ(next.series, c.series);
    LastCertificationBlock last = next.Last();
    EXPECT_EQ(last.certified, 1);
    EXPECT_EQ(last.series, c.series);
    EXPECT_EQ(last.extended, c.extended ? 1 : 0);
    EXPECT_EQ(std::string(last.passedAt.data()), row.passedAt);
  }
}

TEST_F(CourseShellTest, TheLatestCertificationOfThisLessonIsTheLastOne) {
  SignIn("ada");
  Opened opened = Open();
  std::string error;
  ASSERT_TRUE(Record(opened, 2, error)) << error;
  ASSERT_TRUE(Record(opened, 5, error)) << error;
  ASSERT_TRUE(Record(opened, 7, error, 30, 1)) << error;  // another lesson

  CertificationRow row;
  ASSERT_EQ(Lookup(opened, row, error), StoreLookup::kFound);
  EXPECT_EQ(row.series, 5);
  SignIn("ada");
  EXPECT_EQ(Open().series, 5);
}

TEST_F(CourseShellTest, RecordingRefusesBlocksThatAreNotTheSignedInStudents) {
  SignIn("ada");
  Opened ada = Open();
  SignIn("grace");
  Opened grace = Open();
  Opened forged = grace;
  StudentIdentityBlock identity = forged.Identity();
  identity.recordId += 100;
  std::memcpy(forged.dataA.data(), &identity, sizeof(identity));

  struct Case {
    const char* label;
    const Opened& blocks;
    int series;
  };
  const Case cases[] = {
      {"another student's blocks", ada, 1},
      {"a record id not in the store", forged, 1},
      {"series 0", grace, 0},
      {"series -1", grace, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string error;
    EXPECT_FALSE(Record(c.blocks, c.series, error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(CertificationCount(), 0);
}

// Files at the store's place that are not our store: each is refused at sign-in and left exactly as
// it was, and the student works from a record in memory.
TEST_F(CourseShellTest, AStoreThatIsNotOursIsLeftByteForByte) {
  auto writeBytes = [](std::string bytes) {
    return [bytes](const fs::path& path) { WriteFile(path, bytes); };
  };
  auto makeDatabase = [](const char* sql) {
    return [sql](const fs::path& path) {
      OtherProgram other(path);
      other.Run(sql);
    };
  };
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 37 + 11) % 256);
  struct Case {
    const char* label;
    std::function<void(const fs::path&)> make;
    const char* message;
  };
  const Case cases[] = {
      {"a line of text", writeBytes("these are my notes, not a database\n"),
       "file is not a database"},
      {"a damaged header", writeBytes(std::string("SQLite format 3", 16) + noise), ""},
      {"a later layout", makeDatabase("CREATE TABLE student (id); PRAGMA user_version = 2;"),
       "newer version"},
      {"another program's tables", makeDatabase("CREATE TABLE notes (body TEXT);"),
       "another program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CloseCourseShell();
    fs::remove_all(dataDirectory);
    fs::create_directories(dataDirectory);
    c.make(storePath);
    const std::string before = ReadFile(storePath);

    SignIn("ada");
    Opened opened = Open();
    ExpectRecordInMemory(opened, {storePath.string(), c.message});
    EXPECT_FALSE(StudentStoreAvailable());

    std::string error;
    EXPECT_FALSE(Record(opened, 1, error));
    EXPECT_NE(error.find("unavailable"), std::string::npos) << error;
    CertificationRow row;
    EXPECT_EQ(Lookup(opened, row, error), StoreLookup::kFailed);

    CloseCourseShell();
    EXPECT_EQ(ReadFile(storePath), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dataDirectory), fs::directory_iterator()), 1);
  }
}

TEST_F(CourseShellTest, AStoreLockedAtSignInLeavesARecordInMemory) {
  SignIn("ada");
  ASSERT_EQ(Open().result, 1);
  CloseCourseShell();

  OtherProgram other(storePath);
  other.Run("BEGIN EXCLUSIVE");
  SignIn("ada");
  Opened opened = Open();
  ExpectRecordInMemory(opened, {storePath.string(), "database is locked"});

  // The lock passing later does not bring the store back within the run: nothing is written.
  other.Run("COMMIT");
  std::string error;
  EXPECT_FALSE(Record(opened, 1, error));
  EXPECT_EQ(other.Number("SELECT count(*) FROM certification"), 0);
  EXPECT_EQ(other.Number("SELECT count(*) FROM student"), 1);
}

// Another program holding the store while a certification is recorded: the recording waits the
// busy timeout, fails whole, and succeeds once the other program lets go.
TEST_F(CourseShellTest, RecordingIntoALockedStoreFailsWholeAfterTheBusyTimeout) {
  struct Case {
    const char* label;
    const char* lock;  // what the other program runs and keeps open
  };
  const Case cases[] = {
      {"another program writing", "BEGIN EXCLUSIVE"},
      // The insert succeeds; the commit cannot get the file while the reader holds it.
      {"another program reading", "BEGIN; SELECT count(*) FROM student;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CloseCourseShell();
    fs::remove_all(dataDirectory);
    SignIn("ada");
    Opened opened = Open();
    ASSERT_TRUE(StudentStoreAvailable());

    OtherProgram other(storePath);
    other.Run(c.lock);
    std::string error;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Record(opened, 3, error));
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(kTestBusyTimeoutMs));
    EXPECT_NE(error.find("locked"), std::string::npos) << error;
    other.Run("COMMIT");

    EXPECT_EQ(other.Number("SELECT count(*) FROM certification"), 0);
    EXPECT_EQ(other.Text("PRAGMA integrity_check"), "ok");
    EXPECT_FALSE(fs::exists(storePath.string() + "-journal"));

    ASSERT_TRUE(Record(opened, 3, error)) << error;
    EXPECT_EQ(other.Number("SELECT count(*) FROM certification"), 1);
  }
}

TEST_F(CourseShellTest, ADataDirectoryThatCannotBeCreatedLeavesARecordInMemory) {
  const fs::path blocker = root / "blocker";
  WriteFile(blocker, "a file where a directory should be\n");
  struct Case {
    const char* label;
    fs::path directory;
  };
  const Case cases[] = {
      {"a file in the way of a parent", blocker / "tavrin"},
      {"a file in the way of the directory itself", blocker},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CourseShellSettings settings;
    settings.studentName = "ada";
    settings.dataDirectory = c.directory.string();
    std::string error;
    ASSERT_TRUE(ConfigureCourseShell(settings, error));
    Opened opened = Open();
    ExpectRecordInMemory(opened, {c.directory.string()});
    EXPECT_FALSE(Record(opened, 1, error));
    EXPECT_EQ(ReadFile(blocker), "a file where a directory should be\n");
  }
}

// Sets or clears (nullopt) an environment variable for one scope and puts it back afterwards.
struct ScopedVariable {
  const char* name;
  std::optional<std::string> saved;
  ScopedVariable(const char* variable, const std::optional<std::string>& value) : name(variable) {
    if (const char* old = std::getenv(name)) saved = old;
    Put(value);
  }
  ~ScopedVariable() { Put(saved); }
  void Put(const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
};

TEST(DefaultDataDirectory, FollowsXdgDataHomeThenHome) {
  struct Case {
    std::optional<std::string> dataHome;
    std::optional<std::string> home;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"/srv/data", "/home/ada", "/srv/data/tavrin"},
      {std::nullopt, "/home/ada", "/home/ada/.local/share/tavrin"},
      {"", "/home/ada", "/home/ada/.local/share/tavrin"},
      {"relative/data", "/home/ada", "/home/ada/.local/share/tavrin"},
      {"/srv/data", std::nullopt, "/srv/data/tavrin"},
      {std::nullopt, std::nullopt, std::nullopt},
      {std::nullopt, "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "XDG_DATA_HOME " << c.dataHome.value_or("(unset)")
                                    << ", HOME " << c.home.value_or("(unset)"));
    ScopedVariable dataHome("XDG_DATA_HOME", c.dataHome);
    ScopedVariable home("HOME", c.home);
    std::string directory = "untouched";
    EXPECT_EQ(DefaultDataDirectory(directory), c.expected.has_value());
    EXPECT_EQ(directory, c.expected.value_or("untouched"));
  }
}

TEST_F(CourseShellTest, WithoutADataDirectoryTheStoreGoesToTheDefaultOne) {
  ScopedVariable dataHome("XDG_DATA_HOME", root.string());
  CourseShellSettings settings;
  settings.studentName = "ada";
  std::string error;
  ASSERT_TRUE(ConfigureCourseShell(settings, error));
  EXPECT_EQ(Open().result, 1);
  EXPECT_TRUE(fs::exists(root / "tavrin" / kRecordStoreFileName));
  EXPECT_EQ(fs::status(root / "tavrin").permissions() & fs::perms::all, fs::perms::owner_all);
}

// Settings are taken whole or not at all: a refused name or version keeps the earlier settings.
TEST(ConfigureCourseShell, TakesUsableSettingsAndRefusesOthersKeepingTheEarlierOnes) {
  struct Case {
    const char* label;
    std::string name;
    double version;
    bool accepted;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"plain", "ada", 1.0, true},
      {"accented and CJK", "Zo\xC3\xAB \xE5\xAD\xA6\xE7\x94\x9F", 2.0, true},
      {"four-byte character", "\xF0\x9F\x8E\x93", 1.5, true},
      {"a newline", "ada\nlovelace", 1.0, false},
      {"a delete byte", "ada\x7F", 1.0, false},
      {"a Latin-1 byte", "Zo\xEB", 1.0, false},
      {"a stray continuation byte",
       "\x80"
       "ada",
       1.0, false},
      {"an overlong slash", "\xC0\xAF", 1.0, false},
      {"a cut sequence", "ada\xE2\x82", 1.0, false},
      {"a surrogate", "\xED\xA0\x80", 1.0, false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 1.0, false},
      {"a version that is not a number", "ada", nan, false},
      {"an infinite version", "ada", infinity, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CourseShellSettings earlier;
    earlier.suiteVersion = 3.25;
    earlier.extendedCertification = true;
    std::string error;
    ASSERT_TRUE(ConfigureCourseShell(earlier, error));

    CourseShellSettings settings;
    settings.studentName = c.name;
    settings.suiteVersion = c.version;
    EXPECT_EQ(ConfigureCourseShell(settings, error), c.accepted);
    EXPECT_EQ(error.empty(), c.accepted) << error;
    EXPECT_EQ(GetSuiteVersion(), c.accepted ? c.version : 3.25);
    EXPECT_EQ(ExtendedCertification(), !c.accepted);
    std::array<char, kStudentRecordSize> record{};
    EXPECT_EQ(AnnounceLessonStart(record), 1);
  }
  std::string error;
  ConfigureCourseShell(CourseShellSettings{}, error);
}

}  // namespace
