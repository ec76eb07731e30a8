#include "main_window.h"

#include <array>
#include <string_view>

#include "courselib.h"
#include "dialog_services.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "textservices.h"

namespace {

// ---- Texts and names ----------------------------------------------------------------------------

constexpr int kQuitQuestionId = 9020;
constexpr int kQuitCaptionId = 9021;
constexpr int kCalculatorErrorCaptionId = 9022;

constexpr char kPictureLibrary[] = "TRAMOR32.DLL";
constexpr char kPictureName[] = "profmodc.bmp";
constexpr Library kFirstLibraryHandle = 32;

constexpr char kCalculatorTitle[] = "Calculator";
constexpr char kCalculatorProgram[] = "calc.exe";
constexpr int kFirstStartedProgram = 22;  // a start call returning less has failed
constexpr char kHelpTitle[] = "Tavrin Help";
constexpr char kHelpFile[] = "tavrin1.hlp";

constexpr std::string_view kMenuMnemonics = " cChHoOpPqQ";

// ---- The background picture -------------------------------------------------------------------

Picture backgroundPicture = kNoPicture;
bool pictureAvailable = false;
int pictureWidth = 0;
int pictureHeight = 0;

// ---- Menu bar ---------------------------------------------------------------------------------

void EnableMenuPositions(int first, int last, bool enabled) {
  for (int position = first; position <= last; ++position) {
    EnableMenuPosition(mainWindow, position, enabled);
  }
}

void GreyWholeMenuBar() {
  EnableMenuPositions(kMenuPractice, kMenuQuit, false);
}

void EnableWholeMenuBar() {
  EnableMenuPositions(kMenuPractice, kMenuQuit, true);
}

// With no problem running the picture comes back with a command of the options, help or quit.
void ShowPictureWhenReady() {
  if (seriesOver == 1) showPicture = 1;
}

// ---- Messages ---------------------------------------------------------------------------------

// Creation: the picture is taken from the suite's resource library, which is freed again at once.
void LoadBackgroundPicture() {
  Library library = LoadLibraryByName(kPictureLibrary);
  if (library < kFirstLibraryHandle) return;
  backgroundPicture = LoadPicture(kPictureLibrary, kPictureName);
  PictureSize(backgroundPicture, pictureWidth, pictureHeight);
  FreeLibrary(library);
  pictureAvailable = true;
}

// Paint: the picture stretched over the client area, or the plain teal background.
void PaintMainWindow(Window window) {
  bool picture = showPicture == 1 && pictureAvailable;
  SetWindowPicture(window, picture ? backgroundPicture : kNoPicture, true);
}

// Size change: the black background follows the main window onto and off the screen.
void FollowSizeChange(WParam sizeKind) {
  if (!largeScreen) return;
  if (sizeKind == kSizeMinimized) {
    ShowWindow(backgroundWindow, kHide);
  } else {
    UpdateWindow(backgroundWindow);
    ShowWindow(backgroundWindow, kShowMaximized);
  }
}

// Destruction: the picture goes, and the main loop ends.
void EndMainWindow() {
  if (backgroundPicture != kNoPicture) FreePicture(backgroundPicture);
  backgroundPicture = kNoPicture;
  pictureAvailable = false;
  PostQuitMessage(0);
}

// Step 3 of the close request: the lesson's windows go, and the programs it opened are asked to
// close too.
void CloseLesson() {
  if (problemBox != kNoWindow) {
    ReplaceWindowProc(problemBox, problemBoxOwnProc);
    DestroyWindow(problemBox);
    problemBox = kNoWindow;
  }
  DestroyWindow(mainWindow);
  for (const char* title : {kCalculatorTitle, kHelpTitle}) {
    Window other = FindTopWindow("", title);
    if (other != kNoWindow) SendMessageTo(other, kMsgClose, 0, 0);
  }
}

// Step 4: back to where the student was; during a problem only "&Options" and "&Help" come back,
// since the problem's stages own "&Practice", "&Certification" and "&Quit".
void CancelQuit(Window window) {
  if (seriesOver == 1) {
    showPicture = 1;
    InvalidateWindow(window, true);
    EnableWholeMenuBar();
  } else {
    EnableMenuPosition(window, kMenuOptions, true);
    EnableMenuPosition(window, kMenuHelp, true);
    showPicture = 0;
    InvalidateWindow(window, true);
  }
  DrawMenuBar(window);
}

// Close request, from "&Quit", the system menu or the window manager.
Result ConfirmQuit(Window window) {
  // Step 1: nothing else can be chosen while the question is up.
  showPicture = 0;
  InvalidateWindow(window, true);
  UpdateWindow(window);
  GreyWholeMenuBar();
  DrawMenuBar(window);
  // Step 2: ask.
  int answer = ShowTextBox(kNoWindow, kQuitQuestionId, kQuitCaptionId,
                           kBoxOkCancel | kBoxIconInformation | kBoxSystemModal);
  if (answer == kIdOk) {
    CloseLesson();
    return 1;
  }
  CancelQuit(window);
  return 0;
}

// ---- Commands ---------------------------------------------------------------------------------

// The calculator's path in a directory: a backslash between the two unless it ends with one.
void BuildProgramPath(std::span<char> path, std::string_view directory) {
  SetText(path, directory);
  if (directory.empty() || directory.back() != '\\') AppendText(path, "\\");
  AppendText(path, kCalculatorProgram);
}

// Command 116: bring the calculator forward, or start it from the Windows directory, then from
// the system directory.
void CalculatorCommand(Window window) {
  ShowPictureWhenReady();
  Window calculator = FindTopWindow("", kCalculatorTitle);
  if (calculator != kNoWindow) {
    BringToTop(calculator);
    return;
  }
  std::array<char, kTextBufferSize> path{};
  BuildProgramPath(path, WindowsDirectory());
  int code = StartProgram(TextIn(path));
  if (code >= kFirstStartedProgram) return;
  BuildProgramPath(path, SystemDirectory());
  code = StartProgram(TextIn(path));
  if (code >= kFirstStartedProgram) return;
  std::array<char, 16> digits{};
  AppendInt(digits, code);
  MessageBox(window, TextIn(digits), LoadText(kCalculatorErrorCaptionId), kBoxOk);
}

// Command 9: the lesson's help at its contents page.
void HelpCommand(Window window) {
  ShowPictureWhenReady();
  OpenHelp(window, kHelpFile);
}

// The certificate commands call the course shell, whose dialogs, boxes and printing run their own
// loops while the lesson waits.

// Steps 1 and 2: the menu greys, and the shown panel takes no input while the course shell has
// the student's attention.
void SuspendForCourseShell() {
  showPicture = 0;
  InvalidateWindow(mainWindow, true);
  GreyWholeMenuBar();
  DrawMenuBar(mainWindow);
  if (activePanel != kNoWindow && IsWindowVisible(activePanel)) EnableWindow(activePanel, false);
}

// The shown panel takes input again.
void ResumePanel() {
  if (activePanel != kNoWindow && IsWindowVisible(activePanel)) EnableWindow(activePanel, true);
}

// Step 4: the ready state comes back whole; during a problem everything but "&Practice" and
// "&Certification".
void ResumeMenuBar() {
  if (seriesOver == 1) {
    showPicture = 1;
    InvalidateWindow(mainWindow, true);
    EnableWholeMenuBar();
  } else {
    EnableMenuPositions(kMenuOptions, kMenuQuit, true);
  }
  DrawMenuBar(mainWindow);
}

// Command 135 without a pass in this run: the certificate on record.
void PrintRecordedCertificateCommand() {
  SuspendForCourseShell();
  PrintRecordedCertificate(mainWindow, studentRecord, studentDataA, studentDataB, kLessonIdMajor,
                           kLessonIdMinor, certificationSeries);
  ResumePanel();
  ResumeMenuBar();
}

// Command 135 after a passed run: value 1 right after it, which also records the pass, 0 from
// the menu later. The series of a passed run can no longer change.
void PrintNewCertificateCommand(Window window, LParam value) {
  PrintNewCertificate(mainWindow, studentRecord, studentDataA, studentDataB, kLessonIdMajor,
                      kLessonIdMinor, certificationSeries, 0, 0, static_cast<int>(value));
  EnableMenuCommand(mainWindow, kCmdCertificationSeries, false);
  DrawMenuBar(mainWindow);
  // The command cleared the picture; with no problem running the ready screen gets it back, as
  // after every other command of the ready state.
  if (seriesOver == 1) {
    showPicture = 1;
    InvalidateWindow(mainWindow, true);
  }
  if (value != 0) {
    RecordCertification(mainWindow, kLessonIdMajor, kLessonIdMinor, certificationSeries,
                        studentRecord, studentDataA);
  }
  SetFocus(window);
}

// Command 101: the course shell's choice of certification series; a cancelled choice keeps it.
void CertificationSeriesCommand() {
  SuspendForCourseShell();
  int series = SelectCertificationSeries(mainWindow);
  if (series != -1) certificationSeries = series;
  ResumePanel();
  ResumeMenuBar();
}

}  // namespace

bool IsMenuMnemonic(unsigned character) {
  return character != 0 && character < 256 &&
         kMenuMnemonics.find(static_cast<char>(character)) != std::string_view::npos;
}

void MainWindowCommand(Window window, int command, LParam value) {
  if (IsLessonFlowCommand(command)) {
    LessonFlowCommand(command, value);
    return;
  }
  switch (command) {
    case kCmdCalculator:
      CalculatorCommand(window);
      break;
    case kCmdPrintCertificate:
      if (certifiedThisRun == 0) {
        PrintRecordedCertificateCommand();
      } else {
        PrintNewCertificateCommand(window, value);
      }
      break;
    case kCmdCertificationSeries:
      CertificationSeriesCommand();
      break;
    case kCmdHelp:
      HelpCommand(window);
      break;
    case kCmdQuit:
      PostMessageTo(window, kMsgClose, 0, 0);
      break;
    default:
      break;
  }
}

Result TsbWndProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgCreate:
      LoadBackgroundPicture();
      return 0;
    case kMsgPaint:
      PaintMainWindow(window);
      return 0;
    case kMsgSize:
      FollowSizeChange(wParam);
      return 0;
    case kMsgSysChar:
      // Alt with anything but a menu mnemonic does nothing.
      if (!IsMenuMnemonic(static_cast<unsigned>(wParam))) return 0;
      return DefaultWindowProc(window, message, wParam, lParam);
    case kMsgCommand:
      showPicture = 0;
      MainWindowCommand(window, CommandId(wParam), lParam);
      return 0;
    case kMsgClose:
      return ConfirmQuit(window);
    case kMsgDestroy:
      EndMainWindow();
      return 0;
    default:
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}
