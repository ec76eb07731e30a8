// The course shell's certificate operations. A passed run is printed first and recorded right
// after; the shell remembers that pass for the rest of the run, so a later "Print Certificate"
// prints the same certificate, with the date the store gave it, even when the store could not
// keep it. Headless, a printed page is one transcript line; on the desktop the back end prints it.
// Every text the student reads on the page or in a notice comes from the string table; the line
// that names a page and the event lines are the fixed shapes the print queue and the transcript
// show.
#include "certificates.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "course_shell.h"
#include "courselib.h"
#include "platform.h"
#include "textservices.h"

static_assert(std::is_same_v<CourseWindow, Window>,
              "the course shell's windows are the platform's");

namespace {

// ---- Texts and names ----------------------------------------------------------------------------

constexpr int kPageHeadingId = 9620;
constexpr int kCertifiesThatId = 9621;
constexpr int kHasPassedId = 9622;
constexpr int kLessonNameId = 9623;
constexpr int kSeriesLabelId = 9624;
constexpr int kDatePassedLabelId = 9625;
constexpr int kNothingRecordedId = 9630;
constexpr int kPrintCaptionId = 9631;
constexpr int kRecordsUnreadableId = 9632;
constexpr int kNotRecordedId = 9634;
constexpr int kCertificationCaptionId = 9635;
constexpr int kSeriesRowId = 9640;

constexpr std::string_view kRecordedEvent = "certificate recorded: ";
constexpr std::string_view kSeriesEvent = "series selected: ";

constexpr int kNoSeries = -1;
constexpr int kEventSize = 256;
constexpr int kSeriesRowSize = 32;
constexpr std::size_t kDateLength = 10;  // "YYYY-MM-DD" at the front of a stamp

static_assert(kStudentRecordSize + 64 < kCertificateLineSize, "a name fits a page line");
static_assert(kStudentRecordSize + kStampSize + 64 < kEventSize, "a name and a stamp fit");

// ---- The certification series dialog ------------------------------------------------------------

// Centred over the smallest main window.
constexpr int kMainWindowWidthUnits = 426;
constexpr int kMainWindowHeightUnits = 270;
constexpr int kSeriesDialogWidth = 140;
constexpr int kSeriesDialogHeight = 92;

constexpr ControlTemplate kSeriesControls[] = {
    {kNoControlId, ControlKind::kStatic, "Choose your certification series:", 8, 8, 124, 10, 0},
    {kSeriesListId, ControlKind::kListBox, "", 8, 20, 70, 64,
     kControlListNotify | kControlTabStop | kControlGroup},
    {kIdOk, ControlKind::kDefaultButton, "&Ok", 86, 20, 46, 14, kControlTabStop | kControlDisabled},
    {kIdCancel, ControlKind::kPushButton, "&Cancel", 86, 40, 46, 14, kControlTabStop},
};

constexpr DialogTemplate kSuiteDialogs[] = {
    {kSeriesDialogName, "Certification Series", (kMainWindowWidthUnits - kSeriesDialogWidth) / 2,
     (kMainWindowHeightUnits - kSeriesDialogHeight) / 2, kSeriesDialogWidth, kSeriesDialogHeight,
     kDialogVisible, kSeriesControls},
};

constexpr ResourceSet kSuiteResources{kSuiteDialogs, {}};

// ---- What the shell remembers of this run -------------------------------------------------------

// The pass of this run: as printed right after it, then with the date the store recorded.
struct PassOfRun {
  bool passed;
  std::array<char, kStudentRecordSize> studentRecord;  // whose pass it is
  int lessonIdMajor;
  int lessonIdMinor;
  int series;
  std::array<char, kStampSize> passedAt;
};

PassOfRun passOfRun{};
int chosenSeries = 0;  // the series last chosen in the dialog; 0 while none was

// ---- Small pieces -------------------------------------------------------------------------------

using StudentRecordView = std::span<const char, kStudentRecordSize>;

std::string_view StudentName(StudentRecordView studentRecord) {
  return TextIn(studentRecord);
}

std::string_view DateOf(std::string_view stamp) {
  return stamp.substr(0, std::min(stamp.size(), kDateLength));
}

void AppendTwoDigits(std::span<char> text, int value) {
  if (value < 10) AppendText(text, "0");
  AppendInt(text, value);
}

// The current time as the store writes it: "YYYY-MM-DD HH:MM:SS", UTC.
void StampNow(std::span<char, kStampSize> stamp) {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  SetText(stamp, "");
  AppendInt(stamp, utc.tm_year + 1900);
  AppendText(stamp, "-");
  AppendTwoDigits(stamp, utc.tm_mon + 1);
  AppendText(stamp, "-");
  AppendTwoDigits(stamp, utc.tm_mday);
  AppendText(stamp, " ");
  AppendTwoDigits(stamp, utc.tm_hour);
  AppendText(stamp, ":");
  AppendTwoDigits(stamp, utc.tm_min);
  AppendText(stamp, ":");
  AppendTwoDigits(stamp, utc.tm_sec);
}

// String-table texts are single bytes (Latin-1); a page is UTF-8, as the student's name is. A
// character that does not fit whole is left out.
void AppendLatin1(std::span<char> line, std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    std::array<char, 2> encoded{c, 0};
    std::size_t length = 1;
    if (byte >= 0x80) {
      encoded = {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
      length = 2;
    }
    if (TextIn(line).size() + length >= line.size()) return;
    AppendText(line, {encoded.data(), length});
  }
}

// A message box of two string-table texts; the caption is copied first, as each load overwrites
// the last.
void ShowNotice(Window owner, int textId, int captionId, std::uint32_t icon) {
  std::array<char, kTextBufferSize> caption{};
  SetText(caption, LoadText(captionId));
  MessageBox(owner, LoadText(textId), TextIn(caption), kBoxOk | icon);
}

// ---- Printing a certificate ---------------------------------------------------------------------

struct Certificate {
  std::string_view name;
  int lessonIdMajor;
  int lessonIdMinor;
  int series;
  std::string_view passedAt;  // a stamp; the page shows its date
};

using PageLine = std::array<char, kCertificateLineSize>;
using CertificatePage = std::array<PageLine, kCertificatePageLines>;

// The first line names the certificate: "NAME, lesson 29/230, series N, passed DATE".
void NamePage(const Certificate& certificate, PageLine& line) {
  SetText(line, certificate.name);
  AppendText(line, ", lesson ");
  AppendInt(line, certificate.lessonIdMajor);
  AppendText(line, "/");
  AppendInt(line, certificate.lessonIdMinor);
  AppendText(line, ", series ");
  AppendInt(line, certificate.series);
  AppendText(line, ", passed ");
  AppendText(line, DateOf(certificate.passedAt));
}

// The page below it: heading, a blank line, the student, the lesson, the series, the date.
void BuildPage(const Certificate& certificate, CertificatePage& page) {
  NamePage(certificate, page[0]);
  AppendLatin1(page[1], LoadText(kPageHeadingId));
  AppendLatin1(page[3], LoadText(kCertifiesThatId));
  AppendText(page[4], certificate.name);
  AppendLatin1(page[5], LoadText(kHasPassedId));
  AppendLatin1(page[6], LoadText(kLessonNameId));
  AppendLatin1(page[7], LoadText(kSeriesLabelId));
  AppendInt(page[7], certificate.series);
  AppendLatin1(page[8], LoadText(kDatePassedLabelId));
  AppendText(page[8], DateOf(certificate.passedAt));
}

void PrintCertificate(Window owner, const Certificate& certificate) {
  CertificatePage page{};
  BuildPage(certificate, page);
  std::array<std::string_view, kCertificatePageLines> lines{};
  for (int i = 0; i < kCertificatePageLines; ++i) lines[i] = TextIn(page[i]);
  PrintDocument(owner, lines);
}

// ---- The pass of this run -----------------------------------------------------------------------

void RememberPass(StudentRecordView studentRecord, int lessonIdMajor, int lessonIdMinor, int series,
                  std::string_view passedAt) {
  passOfRun.passed = true;
  std::copy(studentRecord.begin(), studentRecord.end(), passOfRun.studentRecord.begin());
  passOfRun.lessonIdMajor = lessonIdMajor;
  passOfRun.lessonIdMinor = lessonIdMinor;
  passOfRun.series = series;
  SetText(passOfRun.passedAt, passedAt);
}

bool PassRemembered(StudentRecordView studentRecord, int lessonIdMajor, int lessonIdMinor) {
  return passOfRun.passed && StudentName(passOfRun.studentRecord) == StudentName(studentRecord) &&
         passOfRun.lessonIdMajor == lessonIdMajor && passOfRun.lessonIdMinor == lessonIdMinor;
}

// The stamp the store gave the certification just recorded; the current time when it cannot be
// read back.
void RecordedStamp(StudentRecordView studentRecord,
                   std::span<const char, kStudentDataASize> studentDataA, int lessonIdMajor,
                   int lessonIdMinor, int series, std::span<char, kStampSize> stamp) {
  CertificationRow row;
  std::string error;
  if (LastCertification(studentRecord, studentDataA, lessonIdMajor, lessonIdMinor, row, error) ==
          StoreLookup::kFound &&
      row.series == series) {
    SetText(stamp, row.passedAt);
    return;
  }
  StampNow(stamp);
}

// ---- The certification series dialog's procedure ------------------------------------------------

// Lists the series and selects the one chosen before, if any; "&Ok" waits for a selection.
void FillSeriesList(Window dialog, int selected) {
  Window list = DialogItem(dialog, kSeriesListId);
  for (int series = 1; series <= kCertificationSeriesCount; ++series) {
    std::array<char, kSeriesRowSize> row{};
    SetText(row, LoadText(kSeriesRowId));
    AppendInt(row, series);
    ListAddRow(list, TextIn(row));
  }
  if (selected >= 1 && selected <= kCertificationSeriesCount) ListSelect(list, selected - 1);
  EnableWindow(DialogItem(dialog, kIdOk), ListSelection(list) >= 0);
}

int SelectedSeries(Window dialog) {
  int row = ListSelection(DialogItem(dialog, kSeriesListId));
  return row >= 0 ? row + 1 : kNoSeries;
}

// Ends the dialog with the series selected; with none selected nothing happens.
void ChooseSeries(Window dialog) {
  int series = SelectedSeries(dialog);
  if (series != kNoSeries) EndDialog(dialog, series);
}

Result SeriesCommand(Window dialog, int id, int notification) {
  switch (id) {
    case kSeriesListId:
      if (notification == kNotifyListDoubleClick) {
        ChooseSeries(dialog);
      } else {
        EnableWindow(DialogItem(dialog, kIdOk), SelectedSeries(dialog) != kNoSeries);
      }
      return 1;
    case kIdOk:
      ChooseSeries(dialog);
      return 1;
    case kIdCancel:
      EndDialog(dialog, kNoSeries);
      return 1;
    default:
      return 0;
  }
}

// The dialog's procedure; its creation value is the series to select at first (0 for none).
Result CertificationSeriesCmd(Window dialog, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgInitDialog:
      FillSeriesList(dialog, static_cast<int>(lParam));
      return 1;
    case kMsgCommand:
      return SeriesCommand(dialog, CommandId(wParam), CommandNotification(wParam));
    default:
      return 0;
  }
}

}  // namespace

void ForgetCertificatesOfRun() {
  passOfRun = PassOfRun{};
  chosenSeries = 0;
}

// ---- The lesson's calls -------------------------------------------------------------------------

int SelectCertificationSeries(CourseWindow owner) {
  // The dialog is the shell's own: its template joins the program's before it is first used.
  if (!RegisterResources(kSuiteResources)) return kNoSeries;
  Result chosen = RunModalDialog(kSeriesDialogName, owner, CertificationSeriesCmd, chosenSeries);
  if (chosen < 1 || chosen > kCertificationSeriesCount) return kNoSeries;
  chosenSeries = static_cast<int>(chosen);
  std::array<char, kEventSize> event{};
  SetText(event, kSeriesEvent);
  AppendInt(event, chosenSeries);
  ReportEvent(TextIn(event));
  return chosenSeries;
}

int PrintRecordedCertificate(CourseWindow owner, StudentRecordView studentRecord,
                             std::span<const char, kStudentDataASize> studentDataA,
                             std::span<const char, kStudentDataBSize> studentDataB,
                             int lessonIdMajor, int lessonIdMinor, int /*certificationSeries*/) {
  // Step 1: the last certification the store holds, printed with the series it was passed in.
  CertificationRow row;
  std::string error;
  StoreLookup lookup =
      LastCertification(studentRecord, studentDataA, lessonIdMajor, lessonIdMinor, row, error);
  if (lookup == StoreLookup::kFound) {
    PrintCertificate(owner, {StudentName(studentRecord), lessonIdMajor, lessonIdMinor, row.series,
                             row.passedAt});
    return 1;
  }
  if (lookup == StoreLookup::kNone) {
    ShowNotice(owner, kNothingRecordedId, kPrintCaptionId, kBoxIconInformation);
    return 0;
  }
  // Step 2: the store cannot answer now; what it knew when the student signed in still holds.
  LastCertificationBlock known = ReadLastCertificationBlock(studentDataB);
  if (known.certified != 0 && lessonIdMajor == kLessonIdMajor && lessonIdMinor == kLessonIdMinor) {
    PrintCertificate(owner, {StudentName(studentRecord), lessonIdMajor, lessonIdMinor, known.series,
                             TextIn(known.passedAt)});
    return 1;
  }
  ShowNotice(owner, kRecordsUnreadableId, kPrintCaptionId, kBoxIconExclamation);
  return 0;
}

int PrintNewCertificate(CourseWindow owner, StudentRecordView studentRecord,
                        std::span<const char, kStudentDataASize> studentDataA,
                        std::span<const char, kStudentDataBSize> studentDataB, int lessonIdMajor,
                        int lessonIdMinor, int certificationSeries, int /*reservedA*/,
                        int /*reservedB*/, int justPassed) {
  // Right after the pass: it is dated now, and remembered for the recording and later prints.
  if (justPassed != 0) {
    std::array<char, kStampSize> now{};
    StampNow(now);
    RememberPass(studentRecord, lessonIdMajor, lessonIdMinor, certificationSeries, TextIn(now));
  }
  // Later: the pass of this run as recorded; without one, what the store holds.
  if (!PassRemembered(studentRecord, lessonIdMajor, lessonIdMinor)) {
    return PrintRecordedCertificate(owner, studentRecord, studentDataA, studentDataB, lessonIdMajor,
                                    lessonIdMinor, certificationSeries);
  }
  PrintCertificate(owner, {StudentName(studentRecord), lessonIdMajor, lessonIdMinor,
                           passOfRun.series, TextIn(passOfRun.passedAt)});
  return 1;
}

int RecordCertification(CourseWindow owner, int lessonIdMajor, int lessonIdMinor,
                        int certificationSeries, StudentRecordView studentRecord,
                        std::span<const char, kStudentDataASize> studentDataA) {
  // Step 1: one transaction in the store; a refusal is told to the student, the reason on stderr.
  std::string error;
  if (!RecordCertificationInStore(studentRecord, studentDataA, lessonIdMajor, lessonIdMinor,
                                  certificationSeries, error)) {
    std::string line = "tavrin: the certification cannot be recorded: " + error + "\n";
    std::fputs(line.c_str(), stderr);
    ShowNotice(owner, kNotRecordedId, kCertificationCaptionId, kBoxIconExclamation);
    return 0;
  }
  // Step 2: the pass of this run takes the date the store gave it.
  std::array<char, kStampSize> stamp{};
  RecordedStamp(studentRecord, studentDataA, lessonIdMajor, lessonIdMinor, certificationSeries,
                stamp);
  RememberPass(studentRecord, lessonIdMajor, lessonIdMinor, certificationSeries, TextIn(stamp));
  // Step 3: "certificate recorded: NAME, series N, DATE TIME".
  std::array<char, kEventSize> event{};
  SetText(event, kRecordedEvent);
  AppendText(event, StudentName(studentRecord));
  AppendText(event, ", series ");
  AppendInt(event, certificationSeries);
  AppendText(event, ", ");
  AppendText(event, TextIn(stamp));
  ReportEvent(TextIn(event));
  return 1;
}
