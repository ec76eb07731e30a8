// The course shell: who is signed in, the student's record in the store and in the lesson's three
// blocks, the certification setting and the suite version. A store that cannot be used never stops
// the lesson: the student keeps working from a record in memory, one line on stderr says why, and
// recording reports failure instead of writing anything.
#include "course_shell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

struct CourseShellState {
  CourseShellSettings settings;
  std::string storePath;  // empty when no data directory is known
  RecordStore store;
  bool storeUnavailable = false;
  std::string storeProblem;     // why the store is unavailable
  std::int64_t signedInId = 0;  // the student's row once OpenStudentRecord found it
};

CourseShellState shell;

constexpr std::string_view kNotRecorded = "; certifications will not be recorded in this run\n";

// ---- Settings -----------------------------------------------------------------------------------

// Bytes in a UTF-8 sequence that starts with lead; 0 when lead cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC0 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  return 0;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing past
// U+10FFFF.
bool IsUtf8(std::string_view text) {
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    int length = SequenceLength(lead);
    if (length == 0 || text.size() - i < static_cast<std::size_t>(length)) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

bool CheckSettings(const CourseShellSettings& settings, std::string& error) {
  if (HasControlCharacter(settings.studentName) || !IsUtf8(settings.studentName)) {
    error = "the student name holds a control character or is not UTF-8";
    return false;
  }
  if (!std::isfinite(settings.suiteVersion)) {
    error = "the suite version is not a finite number";
    return false;
  }
  if (settings.storeBusyTimeoutMs < 0) {
    error = "the store's busy timeout is negative";
    return false;
  }
  return true;
}

// ---- The blocks ---------------------------------------------------------------------------------

// The longest start of text that fits in size − 1 bytes without splitting a UTF-8 sequence.
std::string_view CutToFit(std::string_view text, std::size_t size) {
  if (text.size() < size) return text;
  std::size_t cut = size - 1;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

template <std::size_t N>
void CopyCut(std::span<char, N> buffer, std::string_view text) {
  std::string_view kept = CutToFit(text, N);
  std::fill(buffer.begin(), buffer.end(), '\0');
  std::copy(kept.begin(), kept.end(), buffer.begin());
}

template <typename Block, std::size_t N>
void WriteBlock(std::span<char, N> buffer, const Block& block) {
  static_assert(sizeof(Block) <= N);
  std::fill(buffer.begin(), buffer.end(), '\0');
  std::memcpy(buffer.data(), &block, sizeof(Block));
}

// ---- The store ----------------------------------------------------------------------------------

// Says on stderr, in one line, what cannot be used and why, and keeps the store closed for the
// rest of the run.
void MarkUnavailable(std::string_view what, std::string_view problem) {
  std::string line = "tavrin: ";
  line.append(what).append(": ").append(problem).append(kNotRecorded);
  std::fputs(line.c_str(), stderr);
  CloseRecordStore(shell.store);
  shell.storeUnavailable = true;
  shell.storeProblem = problem;
}

// Step one of opening the record: the data directory exists, creating it (private to the user)
// when it does not.
bool EnsureDataDirectory(const std::filesystem::path& directory) {
  std::error_code error;
  bool created = std::filesystem::create_directories(directory, error);
  if (!error && !std::filesystem::is_directory(directory, error) && !error) {
    error = std::make_error_code(std::errc::not_a_directory);
  }
  if (error) {
    MarkUnavailable("the data directory " + directory.string() + " cannot be created",
                    error.message());
    return false;
  }
  if (created) std::filesystem::permissions(directory, std::filesystem::perms::owner_all, error);
  return true;
}

// Step two: the store is open, or known to be unusable for the rest of the run.
bool EnsureStoreOpen() {
  if (shell.store.db != nullptr) return true;
  if (shell.storeUnavailable) return false;
  if (shell.storePath.empty()) {
    MarkUnavailable("no data directory for the student records",
                    "neither XDG_DATA_HOME nor HOME is set");
    return false;
  }
  std::filesystem::path path(shell.storePath);
  if (!EnsureDataDirectory(path.parent_path())) return false;
  std::string problem;
  if (!OpenRecordStore(shell.store, shell.storePath, shell.settings.storeBusyTimeoutMs, problem)) {
    MarkUnavailable("the student record store " + shell.storePath + " cannot be used", problem);
    return false;
  }
  return true;
}

// Step three: the student's row and last certification of this lesson.
bool ReadStudentFromStore(StudentRow& student, CertificationRow& last, StoreLookup& lookup) {
  std::string problem;
  if (!FindOrCreateStudent(shell.store, shell.settings.studentName, student, problem)) {
    MarkUnavailable("the student record store " + shell.storePath + " cannot be used", problem);
    return false;
  }
  lookup =
      FindLastCertification(shell.store, student.id, kLessonIdMajor, kLessonIdMinor, last, problem);
  if (lookup == StoreLookup::kFailed) {
    MarkUnavailable("the student record store " + shell.storePath + " cannot be used", problem);
    return false;
  }
  return true;
}

// The blocks of a record handed back by the lesson belong to the student signed in now, and that
// student's row is in an open store.
bool CheckRecordBlocks(std::span<const char, kStudentRecordSize> studentRecord,
                       std::span<const char, kStudentDataASize> studentDataA, std::string& error) {
  if (shell.settings.studentName.empty()) {
    error = "nobody is signed in";
    return false;
  }
  if (shell.storeUnavailable) {
    error = "the student record store is unavailable in this run: " + shell.storeProblem;
    return false;
  }
  StudentIdentityBlock identity = ReadStudentIdentity(studentDataA);
  std::string_view name(
      studentRecord.data(),
      std::find(studentRecord.begin(), studentRecord.end(), '\0') - studentRecord.begin());
  if (shell.store.db == nullptr || shell.signedInId == 0 || identity.recordId != shell.signedInId ||
      name != CutToFit(shell.settings.studentName, kStudentRecordSize)) {
    error = "the record is not the signed-in student's record from the store";
    return false;
  }
  return true;
}

}  // namespace

// ---- Configuration ------------------------------------------------------------------------------

bool DefaultDataDirectory(std::string& directory) {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    directory = (std::filesystem::path(dataHome) / "tavrin").string();
    return true;
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    directory = (std::filesystem::path(home) / ".local" / "share" / "tavrin").string();
    return true;
  }
  return false;
}

bool ConfigureCourseShell(const CourseShellSettings& settings, std::string& error) {
  if (!CheckSettings(settings, error)) return false;
  CloseRecordStore(shell.store);
  shell.settings = settings;
  shell.storeUnavailable = false;
  shell.storeProblem.clear();
  shell.signedInId = 0;
  std::string directory = settings.dataDirectory;
  if (directory.empty() && !DefaultDataDirectory(directory)) directory.clear();
  shell.storePath = directory.empty()
                        ? std::string()
                        : (std::filesystem::path(directory) / kRecordStoreFileName).string();
  return true;
}

void CloseCourseShell() {
  CloseRecordStore(shell.store);
}

bool StudentStoreAvailable() {
  return !shell.storeUnavailable;
}

StudentIdentityBlock ReadStudentIdentity(std::span<const char, kStudentDataASize> studentDataA) {
  StudentIdentityBlock block{};
  std::memcpy(&block, studentDataA.data(), sizeof(block));
  block.created.back() = '\0';
  return block;
}

LastCertificationBlock ReadLastCertificationBlock(
    std::span<const char, kStudentDataBSize> studentDataB) {
  LastCertificationBlock block{};
  std::memcpy(&block, studentDataB.data(), sizeof(block));
  block.passedAt.back() = '\0';
  return block;
}

// ---- The lesson's calls -------------------------------------------------------------------------

int OpenStudentRecord(std::span<char, kStudentRecordSize> studentRecord,
                      std::span<char, kStudentDataASize> studentDataA,
                      std::span<char, kStudentDataBSize> studentDataB, int* certificationSeries) {
  // Nobody signed in: the lesson refuses to start, and nothing is created.
  if (shell.settings.studentName.empty()) return 0;

  // Read what the store knows; a store that cannot be used leaves a record in memory.
  StudentRow student;
  CertificationRow last;
  StoreLookup lookup = StoreLookup::kNone;
  bool stored = EnsureStoreOpen() && ReadStudentFromStore(student, last, lookup);
  shell.signedInId = stored ? student.id : 0;

  // Fill the blocks and the series.
  CopyCut(studentRecord, shell.settings.studentName);
  StudentIdentityBlock identity{};
  identity.recordId = shell.signedInId;
  if (stored) CopyCut(std::span<char, kStampSize>(identity.created), student.created);
  WriteBlock(studentDataA, identity);
  LastCertificationBlock certification{};
  if (stored && lookup == StoreLookup::kFound) {
    certification.certified = 1;
    certification.series = last.series;
    certification.extended = last.extended ? 1 : 0;
    CopyCut(std::span<char, kStampSize>(certification.passedAt), last.passedAt);
  }
  WriteBlock(studentDataB, certification);
  if (certificationSeries != nullptr) {
    *certificationSeries = certification.certified != 0 ? certification.series : 1;
  }
  return 1;
}

int AnnounceLessonStart(std::span<const char, kStudentRecordSize>) {
  return 1;
}

bool ExtendedCertification() {
  return shell.settings.extendedCertification;
}

double GetSuiteVersion() {
  return shell.settings.suiteVersion;
}

// ---- Certifications -----------------------------------------------------------------------------

bool RecordCertificationInStore(std::span<const char, kStudentRecordSize> studentRecord,
                                std::span<const char, kStudentDataASize> studentDataA,
                                int lessonIdMajor, int lessonIdMinor, int series,
                                std::string& error) {
  if (!CheckRecordBlocks(studentRecord, studentDataA, error)) return false;
  if (series < 1) {
    error = "a certification series is 1 or more";
    return false;
  }
  CertificationRow row;
  row.studentId = shell.signedInId;
  row.lessonIdMajor = lessonIdMajor;
  row.lessonIdMinor = lessonIdMinor;
  row.series = series;
  row.extended = shell.settings.extendedCertification;
  return InsertCertification(shell.store, row, error);
}

StoreLookup LastCertification(std::span<const char, kStudentRecordSize> studentRecord,
                              std::span<const char, kStudentDataASize> studentDataA,
                              int lessonIdMajor, int lessonIdMinor, CertificationRow& row,
                              std::string& error) {
  if (!CheckRecordBlocks(studentRecord, studentDataA, error)) return StoreLookup::kFailed;
  return FindLastCertification(shell.store, shell.signedInId, lessonIdMajor, lessonIdMinor, row,
                               error);
}
