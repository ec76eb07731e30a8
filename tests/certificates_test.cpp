// The course shell's certificate operations and the main window's certificate commands: the
// series dialog gives the series chosen or -1; a certificate is printed from the store, from the
// pass of this run, or not at all with a notice; a pass is recorded once, with the date the store
// gave it; and the menu bar and the shown panel are out of reach while the course shell has the
// student's attention. Each test works on its own store in a temporary directory, with a back end
// that records what was printed, reported and shown in boxes and plays the student's input.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "backend.h"
#include "certificates.h"
#include "course_shell.h"
#include "courselib.h"
#include "lesson_state.h"
#include "main_window.h"
#include "panel_fixture.h"
#include "platform.h"
#include "ui_resources.h"

namespace {

namespace fs = std::filesystem;
using namespace panel_fixture;

constexpr int kTestBusyTimeoutMs = 100;

// ---- The world around the course shell ---------------------------------------------------------

struct BoxSeen {
  std::string text;
  std::string caption;
  std::uint32_t style;
  bool operator==(const BoxSeen&) const = default;
};

struct World {
  std::vector<std::string> events;
  std::vector<std::vector<std::string>> pages;
  std::vector<BoxSeen> boxes;
};

World world;

void EventSeen(std::string_view text) {
  world.events.emplace_back(text);
}

void PagePrinted(Window, std::span<const std::string_view> lines) {
  world.pages.emplace_back(lines.begin(), lines.end());
}

// Notes the message box on top and presses one of its buttons.
void AnswerBox(int button) {
  Window box = TopModal();
  WindowView view{};
  ASSERT_TRUE(ViewWindow(box, view));
  ASSERT_EQ(view.kind, WindowKind::kMessageBox);
  world.boxes.push_back({std::string(view.text), std::string(view.caption), view.boxStyle});
  ClickButton(DialogItem(box, button));
}

Window SeriesDialog() {
  Window dialog = TopModal();
  EXPECT_EQ(DialogTemplateName(dialog), kSeriesDialogName);
  return dialog;
}

Window SeriesList() {
  return DialogItem(SeriesDialog(), kSeriesListId);
}

// A second connection to the store, standing for another program.
struct OtherProgram {
  sqlite3* db = nullptr;
  explicit OtherProgram(const fs::path& path) {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  }
  ~OtherProgram() { sqlite3_close(db); }
  void Run(const char* sql) {
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }
  // The rows of a query, each as its columns' texts joined with '|'.
  std::vector<std::string> Rows(const char* sql) {
    std::vector<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string row;
      for (int column = 0; column < sqlite3_column_count(statement); ++column) {
        if (column > 0) row += '|';
        const unsigned char* text = sqlite3_column_text(statement, column);
        row += text != nullptr ? reinterpret_cast<const char*>(text) : "NULL";
      }
      rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
  }
};

std::string TodayUtc() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  std::array<char, 16> date{};
  std::strftime(date.data(), date.size(), "%Y-%m-%d", &utc);
  return date.data();
}

// The page of a certificate as the student would read it.
std::vector<std::string> Page(const std::string& name, int series, const std::string& date) {
  const std::string number = std::to_string(series);
  return {name + ", lesson 29/230, series " + number + ", passed " + date,
          "Certificate of Completion",
          "",
          "This certifies that",
          name,
          "has passed the certification test of the lesson",
          "Tavrin: Formulating Linear Programs",
          "Certification series: " + number,
          "Date passed: " + date};
}

const BoxSeen kNothingRecordedBox{
    "No certification of this lesson has been recorded for you yet.  Pass a certification run "
    "to earn your certificate.",
    "Print Certificate", kBoxOk | kBoxIconInformation};
const BoxSeen kRecordsUnreadableBox{
    "Your certification records cannot be read at this time, so no certificate can be printed.  "
    "Please try again later.",
    "Print Certificate", kBoxOk | kBoxIconExclamation};
const BoxSeen kNotRecordedBox{
    "Your certification could not be recorded.  Please tell your instructor.", "Certification",
    kBoxOk | kBoxIconExclamation};

// ---- The fixture --------------------------------------------------------------------------------

class Certificates : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavrin-cert-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    storePath = root / kRecordStoreFileName;
    world = World{};
    Backend backend{};
    backend.reportEvent = EventSeen;
    backend.printDocument = PagePrinted;
    StartWindowSystem(backend);
    SignIn("Ann");
  }

  void TearDown() override {
    CloseCourseShell();
    std::string error;
    ConfigureCourseShell(CourseShellSettings{}, error);
    ForgetCertificatesOfRun();
    ResetWindowSystem();
    fs::remove_all(root);
  }

  // A new run of the lesson with this student signed in.
  void SignIn(const std::string& name) {
    CloseCourseShell();
    ForgetCertificatesOfRun();
    CourseShellSettings settings;
    settings.studentName = name;
    settings.dataDirectory = root.string();
    settings.storeBusyTimeoutMs = kTestBusyTimeoutMs;
    std::string error;
    ASSERT_TRUE(ConfigureCourseShell(settings, error)) << error;
    ASSERT_EQ(OpenStudentRecord(record, dataA, dataB, &series), 1);
  }

  void RecordInStore(int certification, int major = kLessonIdMajor, int minor = kLessonIdMinor) {
    std::string error;
    ASSERT_TRUE(RecordCertificationInStore(record, dataA, major, minor, certification, error))
        << error;
  }

  // series|passed_at of every certification in the store, oldest first.
  std::vector<std::string> StoredCertifications() {
    OtherProgram other(storePath);
    return other.Rows(
        "SELECT student.name, lesson_id_major, lesson_id_minor, series, passed_at"
        " FROM certification JOIN student ON student.id = student_id ORDER BY certification.id");
  }

  int PrintRecorded() {
    return PrintRecordedCertificate(kNoWindow, record, dataA, dataB, kLessonIdMajor, kLessonIdMinor,
                                    series);
  }
  int PrintNew(int justPassed) {
    return PrintNewCertificate(kNoWindow, record, dataA, dataB, kLessonIdMajor, kLessonIdMinor,
                               series, 0, 0, justPassed);
  }
  int Record() {
    return RecordCertification(kNoWindow, kLessonIdMajor, kLessonIdMinor, series, record, dataA);
  }

  fs::path root;
  fs::path storePath;
  std::array<char, kStudentRecordSize> record{};
  std::array<char, kStudentDataASize> dataA{};
  std::array<char, kStudentDataBSize> dataB{};
  int series = 0;
};

// ---- The certification series dialog ------------------------------------------------------------

// Double click, Cancel and Escape are pinned by the session script cert_series.
TEST_F(Certificates, SeriesDialogEndsWithTheSeriesChosenOrMinusOne) {
  auto select = [](int row) -> Step { return [row] { ListClickRow(SeriesList(), row, false); }; };
  auto clickOk = [] { ClickButton(DialogItem(SeriesDialog(), kIdOk)); };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int expected;
  };
  const Case cases[] = {
      {"a series selected, then Ok", {select(9), clickOk}, 10},
      {"the window manager's close", {select(4), [] { CloseRequest(SeriesDialog()); }}, -1},
      {"Ok with nothing selected does nothing",
       {[] { PostMessageTo(SeriesDialog(), kMsgCommand, MakeCommand(kIdOk, kNotifyClicked), 0); },
        select(0), clickOk},
       1},
      {"the input ends with the dialog up", {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ForgetCertificatesOfRun();
    world = World{};
    Play(c.steps);
    EXPECT_EQ(SelectCertificationSeries(kNoWindow), c.expected);
    std::vector<std::string> events;
    if (c.expected != -1) events.push_back("series selected: " + std::to_string(c.expected));
    EXPECT_EQ(world.events, events);
    EXPECT_EQ(TopModal(), kNoWindow);
  }
}

// ---- Printing -----------------------------------------------------------------------------------

TEST_F(Certificates, PrintRecordedWithNothingRecordedSaysSoAndPrintsNothing) {
  // A certification of another lesson is not this lesson's.
  RecordInStore(2, kLessonIdMajor, kLessonIdMinor + 1);
  Play({[] { AnswerBox(kIdOk); }});
  EXPECT_EQ(PrintRecorded(), 0);
  EXPECT_TRUE(world.pages.empty());
  EXPECT_EQ(world.boxes, std::vector<BoxSeen>{kNothingRecordedBox});
}

TEST_F(Certificates, PrintRecordedPrintsTheLastCertificationWithItsOwnSeries) {
  RecordInStore(2);
  RecordInStore(4);
  RecordInStore(9, kLessonIdMajor + 1, kLessonIdMinor);
  std::vector<std::string> stored = StoredCertifications();
  ASSERT_EQ(stored.size(), 3u);
  const std::string date = stored[1].substr(stored[1].rfind('|') + 1, 10);

  series = 7;  // the lesson's series now; the certificate keeps the one it was passed in
  EXPECT_EQ(PrintRecorded(), 1);
  EXPECT_EQ(world.pages, std::vector<std::vector<std::string>>{Page("Ann", 4, date)});
  EXPECT_TRUE(world.boxes.empty());
}

TEST_F(Certificates, StoreThatCannotAnswerFallsBackToWhatItKnewAtSignIn) {
  struct Case {
    const char* name;
    bool certifiedBefore;
  };
  const Case cases[] = {{"a certification known at sign-in", true},
                        {"nothing known at sign-in", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SignIn(c.certifiedBefore ? "Ben" : "Cy");
    if (c.certifiedBefore) {
      RecordInStore(6);
      SignIn("Ben");
    }
    world = World{};
    Play({[] { AnswerBox(kIdOk); }});
    {
      OtherProgram other(storePath);
      other.Run("BEGIN EXCLUSIVE");
      PrintRecorded();
      other.Run("ROLLBACK");
    }
    if (c.certifiedBefore) {
      ASSERT_EQ(world.pages.size(), 1u);
      EXPECT_EQ(world.pages[0], Page("Ben", 6, world.pages[0][8].substr(13)));
      EXPECT_EQ(world.pages[0][8].size(), std::string("Date passed: YYYY-MM-DD").size());
      EXPECT_TRUE(world.boxes.empty());
    } else {
      EXPECT_TRUE(world.pages.empty());
      EXPECT_EQ(world.boxes, std::vector<BoxSeen>{kRecordsUnreadableBox});
    }
  }
}

TEST_F(Certificates, PassedRunIsPrintedRecordedOnceAndPrintedAgainWithTheRecordedDate) {
  series = 7;
  const std::string before = TodayUtc();
  EXPECT_EQ(PrintNew(1), 1);
  const std::string after = TodayUtc();
  ASSERT_EQ(world.pages.size(), 1u);
  const std::string printedDate = world.pages[0][8].substr(13);
  EXPECT_TRUE(printedDate == before || printedDate == after) << printedDate;
  EXPECT_EQ(world.pages[0], Page("Ann", 7, printedDate));
  EXPECT_TRUE(StoredCertifications().empty()) << "printing records nothing";

  EXPECT_EQ(Record(), 1);
  std::vector<std::string> stored = StoredCertifications();
  ASSERT_EQ(stored.size(), 1u);
  const std::string stamp = stored[0].substr(stored[0].rfind('|') + 1);
  EXPECT_EQ(stored[0], "Ann|29|230|7|" + stamp);
  EXPECT_EQ(world.events,
            std::vector<std::string>{"certificate recorded: Ann, series 7, " + stamp});

  EXPECT_EQ(PrintNew(0), 1);
  ASSERT_EQ(world.pages.size(), 2u);
  EXPECT_EQ(world.pages[1], Page("Ann", 7, stamp.substr(0, 10)));
  EXPECT_EQ(StoredCertifications().size(), 1u);
  EXPECT_TRUE(world.boxes.empty());
}

TEST_F(Certificates, PrintNewWithoutAPassInThisRunPrintsWhatTheStoreHolds) {
  RecordInStore(3);
  SignIn("Ann");  // a new run: the pass above is the store's, not this run's
  std::vector<std::string> stored = StoredCertifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(PrintNew(0), 1);
  EXPECT_EQ(world.pages, std::vector<std::vector<std::string>>{
                             Page("Ann", 3, stored[0].substr(stored[0].rfind('|') + 1, 10))});
}

// ---- Recording ----------------------------------------------------------------------------------

// The shell's own refusals (blocks of another student, a bad series) are pinned in
// course_shell_test; here the student is told, nothing is written and the pass stays printable.
TEST_F(Certificates, RecordingTheStoreRefusesIsToldWritesNothingAndKeepsThePassForPrinting) {
  series = 5;
  ASSERT_EQ(PrintNew(1), 1);
  Play({[] { AnswerBox(kIdOk); }});
  {
    OtherProgram other(storePath);
    other.Run("BEGIN EXCLUSIVE");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Record(), 0);
    std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("tavrin: the certification cannot be recorded: "), std::string::npos)
        << diagnostics;
    other.Run("ROLLBACK");
  }
  EXPECT_TRUE(world.events.empty());
  EXPECT_EQ(world.boxes, std::vector<BoxSeen>{kNotRecordedBox});
  EXPECT_TRUE(StoredCertifications().empty());
  ASSERT_EQ(PrintNew(0), 1);
  ASSERT_EQ(world.pages.size(), 2u);
  EXPECT_EQ(world.pages[1], world.pages[0]);
}

// ---- The main window's certificate commands -----------------------------------------------------

// The menu bar as one letter a position, '+' enabled and '-' greyed, then the options pop-up's
// items the same way.
std::string MenuState() {
  std::array<MenuItemView, 8> items{};
  int count = ViewMenuBar(mainWindow, items);
  std::string state;
  for (int i = 0; i < count; ++i) state += items[i].enabled ? '+' : '-';
  state += ' ';
  count = ViewMenuPopup(mainWindow, kMenuOptions, items);
  for (int i = 0; i < count; ++i) {
    if (!items[i].separator) state += items[i].enabled ? '+' : '-';
  }
  return state;
}

class MainWindowCertificates : public Certificates {
 protected:
  void SetUp() override {
    Certificates::SetUp();
    ASSERT_NE(CreateMainWindow(TsbWndProc, "TAVRIN", {0, 0, 640, 480}), kNoWindow);
    std::copy(record.begin(), record.end(), studentRecord.begin());
    std::copy(dataA.begin(), dataA.end(), studentDataA.begin());
    std::copy(dataB.begin(), dataB.end(), studentDataB.begin());
    certificationSeries = series;
    certifiedThisRun = 0;
    seriesOver = 1;
    showPicture = 0;
  }

  void TearDown() override {
    EndWindowSystem();
    Certificates::TearDown();
  }

  // A problem runs: "&Practice", "&Certification" and "&Quit" greyed, the objective-sense panel
  // shown and active.
  void StartProblem() {
    seriesOver = 0;
    for (int position : {kMenuPractice, kMenuCertification, kMenuQuit}) {
      EnableMenuPosition(mainWindow, position, false);
    }
    Window panel = CreateModelessDialog("MINMAX", mainWindow, nullptr, 0);
    ASSERT_NE(panel, kNoWindow);
    ShowWindow(panel, kShowNormal);
    SetActivePanel(panel);
  }

  static void Command(int command, LParam value) {
    SendMessageTo(mainWindow, kMsgCommand, MakeCommand(command, 0), value);
  }
};

TEST_F(MainWindowCertificates, CommandsGreyTheMenuAndHoldThePanelWhileTheShellHasTheStudent) {
  enum class Answer { kBoxOk, kSeriesOk, kSeriesCancel };
  struct Case {
    const char* name;
    int command;
    bool duringProblem;
    Answer answer;
    const char* menuAfter;
    int seriesAfter;
    int pictureAfter;
  };
  const Case cases[] = {
      {"Print Certificate, ready", kCmdPrintCertificate, false, Answer::kBoxOk, "+++++ +++", 1, 1},
      {"Print Certificate, during a problem", kCmdPrintCertificate, true, Answer::kBoxOk,
       "--+++ +++", 1, 0},
      {"Certification Series chosen, ready", kCmdCertificationSeries, false, Answer::kSeriesOk,
       "+++++ +++", 4, 1},
      {"Certification Series cancelled, during a problem", kCmdCertificationSeries, true,
       Answer::kSeriesCancel, "--+++ +++", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.duringProblem) StartProblem();
    world = World{};
    std::string menuDuring;
    bool panelEnabledDuring = true;
    Answer answer = c.answer;
    Play({[&menuDuring, &panelEnabledDuring, answer] {
      menuDuring = MenuState();
      panelEnabledDuring = activePanel == kNoWindow || IsWindowEnabled(activePanel);
      if (answer == Answer::kBoxOk) {
        AnswerBox(kIdOk);
      } else if (answer == Answer::kSeriesOk) {
        ListClickRow(SeriesList(), 3, true);
      } else {
        ClickButton(DialogItem(SeriesDialog(), kIdCancel));
      }
    }});
    Command(c.command, 0);

    EXPECT_EQ(StepsLeft(), 0u) << "the shell's box or dialog came up";
    EXPECT_EQ(menuDuring, "----- +++");
    EXPECT_EQ(panelEnabledDuring, !c.duringProblem);
    EXPECT_EQ(MenuState(), c.menuAfter);
    if (activePanel != kNoWindow) {
      EXPECT_TRUE(IsWindowEnabled(activePanel));
    }
    EXPECT_EQ(certificationSeries, c.seriesAfter);
    EXPECT_EQ(showPicture, c.pictureAfter);
    EXPECT_TRUE(world.pages.empty());

    // Back to the ready state for the next case.
    if (activePanel != kNoWindow) DestroyWindow(activePanel);
    SetActivePanel(kNoWindow);
    seriesOver = 1;
    certificationSeries = 1;
    for (int position = kMenuPractice; position <= kMenuQuit; ++position) {
      EnableMenuPosition(mainWindow, position, true);
    }
  }
}

// After a passed run the ready screen keeps its picture and the series can no longer change; the
// printing and recording themselves are pinned above.
TEST_F(MainWindowCertificates, PassedRunPrintKeepsTheReadyPictureAndGreysTheSeries) {
  certifiedThisRun = 1;
  for (LParam value : {1, 0}) {
    SCOPED_TRACE(value);
    showPicture = 0;
    Command(kCmdPrintCertificate, value);
    EXPECT_EQ(showPicture, 1);
    EXPECT_EQ(MenuState(), "+++++ ++-");
  }
  EXPECT_EQ(world.pages.size(), 2u);
  EXPECT_EQ(StoredCertifications().size(), 1u);
}

}  // namespace
