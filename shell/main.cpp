// The `tavrin` program: reads the command line, sets up the course shell and the window system's
// back end, and runs the lesson. With a play script (see the README) the session runs headless;
// without one it runs on the desktop, for the student --student names or else for the user
// logged in.
//
//   tavrin [--play SCRIPT] [--seed N] [--student NAME] [--screen W H DPI] [--data-dir DIR]
//          [--exit-at-first-idle]
//
// --exit-at-first-idle is a developer's option for timing start-up on the desktop: the program
// ends with status 0 the first time it would wait for the student, the welcome screen up.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "course_shell.h"
#include "courselib.h"
#include "headless_backend.h"
#include "play_script.h"
#include "startup.h"
#include "ui_resources.h"
#ifdef TAVRIN_DESKTOP
#include "qt_backend.h"
#endif

namespace {

constexpr int kUsageError = 2;

constexpr char kUsage[] =
    "usage: tavrin [--play SCRIPT] [--seed N] [--student NAME] [--screen W H DPI] "
    "[--data-dir DIR] [--exit-at-first-idle]\n";

struct CommandLine {
  bool play = false;
  std::string script;
  bool hasDataDirectory = false;
  std::string dataDirectory;
  bool exitAtFirstIdle = false;            // the desktop only
  std::vector<const char*> scriptOptions;  // --seed, --student, --screen: the script's overrides
};

// Takes --play, --data-dir and --exit-at-first-idle out; the rest are the script's header
// overrides, checked when they are applied. False with error when an option lacks its argument.
bool ReadCommandLine(int argc, char** argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--exit-at-first-idle") {
      line.exitAtFirstIdle = true;
    } else if (arg == "--play" || arg == "--data-dir") {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs an argument";
        return false;
      }
      bool play = arg == "--play";
      (play ? line.play : line.hasDataDirectory) = true;
      (play ? line.script : line.dataDirectory) = argv[++i];
    } else {
      line.scriptOptions.push_back(argv[i]);
    }
  }
  return true;
}

// Messages go out through C streams: a program that includes <iostream> anywhere sets up the C++
// standard streams and their locale at every start.
void Complain(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
}

int UsageError(std::string_view error) {
  Complain("tavrin: " + std::string(error) + '\n' + kUsage);
  return kUsageError;
}

// The course shell as the script's header and the command line set it up: who is signed in,
// where the records live, the certification setting and the suite's version.
bool ConfigureShell(const PlayScript& script, const CommandLine& line, std::string& error) {
  CourseShellSettings settings;
  if (script.hasStudent) settings.studentName = script.student;
  if (line.hasDataDirectory) settings.dataDirectory = line.dataDirectory;
  settings.extendedCertification = script.extended;
  settings.suiteVersion = script.suiteVersionValue;
  return ConfigureCourseShell(settings, error);
}

// ---- The desktop ------------------------------------------------------------------------------

#ifdef TAVRIN_DESKTOP
// The user logged in: the name of the account, or $USER when the account has no entry.
std::string LoginName() {
  if (const passwd* account = getpwuid(getuid()); account && account->pw_name) {
    return account->pw_name;
  }
  const char* user = std::getenv("USER");
  return user ? user : "";
}

bool HasOption(const std::vector<const char*>& options, std::string_view name) {
  for (const char* option : options) {
    if (name == option) return true;
  }
  return false;
}

// The lesson on the desktop. --seed, --student and --screen mean what they mean for a play script;
// a screen given is the one the lesson sees, the main window's client area exactly its size.
int RunDesktop(int& argc, char** argv, const CommandLine& line) {
  PlayScript options;
  std::string error;
  if (!ApplyPlayOptions(line.scriptOptions, options, error)) return UsageError(error);
  if (!options.hasStudent) {
    options.student = LoginName();
    options.hasStudent = !options.student.empty();
  }
  if (!ConfigureShell(options, line, error)) return UsageError(error);
  SeedRandom(options.hasSeed ? options.seed : static_cast<std::uint64_t>(std::time(nullptr)));

  DesktopOptions desktop;
  desktop.fixedScreen = HasOption(line.scriptOptions, "--screen");
  desktop.screen = {options.screen.width, options.screen.height, options.screen.dpi};
  desktop.exitAtFirstIdle = line.exitAtFirstIdle;
  if (!InstallQtBackend(argc, argv, desktop, error)) {
    Complain("tavrin: " + error + " (run a session headless with --play SCRIPT)\n");
    return 1;
  }
  RegisterResources(LessonResources());
  int code = LessonMain();
  ShutDownQtBackend();
  return code;
}
#else
int RunDesktop(int&, char**, const CommandLine&) {
  Complain(
      "tavrin: this build has no desktop (it was built without Qt 6); run a session headless "
      "with --play SCRIPT (see the README)\n");
  return kUsageError;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string error;
  if (!ReadCommandLine(argc, argv, line, error)) return UsageError(error);
  if (!line.play) return RunDesktop(argc, argv, line);
  if (line.exitAtFirstIdle) return UsageError("--exit-at-first-idle is for the desktop");

  PlayScript script;
  if (!LoadPlayScript(line.script, script, error)) return UsageError(error);
  if (!ApplyPlayOptions(line.scriptOptions, script, error)) return UsageError(error);
  if (!ConfigureShell(script, line, error)) return UsageError(error);
  // The time in seconds, unless the session is to be replayed exactly.
  SeedRandom(script.hasSeed ? script.seed : static_cast<std::uint64_t>(std::time(nullptr)));

  InstallHeadlessBackend(script, stdout);
  RegisterResources(LessonResources());
  int code = LessonMain();
  return FinishPlay(code);
}
