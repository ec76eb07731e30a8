// The `tavrin` program: reads the command line, sets up the course shell and the window system's
// back end, and runs the lesson. A session is driven by a play script (see the README); without
// one the program plays the shipped demonstration, since the desktop back end is not built yet.
//
//   tavrin [--play SCRIPT] [--seed N] [--student NAME] [--screen W H DPI] [--data-dir DIR]
#include <ctime>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "course_shell.h"
#include "courselib.h"
#include "headless_backend.h"
#include "play_script.h"
#include "startup.h"
#include "ui_resources.h"

namespace {

constexpr int kUsageError = 2;

constexpr char kUsage[] =
    "usage: tavrin [--play SCRIPT] [--seed N] [--student NAME] [--screen W H DPI] "
    "[--data-dir DIR]\n";

#ifndef TAVRIN_SHARE_DIR
#define TAVRIN_SHARE_DIR "share"
#endif
constexpr char kDemoScript[] = TAVRIN_SHARE_DIR "/demo.play";

struct CommandLine {
  bool play = false;
  std::string script;
  bool hasDataDirectory = false;
  std::string dataDirectory;
  std::vector<const char*> scriptOptions;  // --seed, --student, --screen: the script's overrides
};

// Takes --play and --data-dir out; the rest are the script's header overrides, checked when they
// are applied. False with error when an option lacks its argument.
bool ReadCommandLine(int argc, char** argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--play" || arg == "--data-dir") {
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

int UsageError(std::string_view error) {
  std::cerr << "tavrin: " << error << '\n' << kUsage;
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

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string error;
  if (!ReadCommandLine(argc, argv, line, error)) return UsageError(error);
  if (!line.play) {
    std::cerr << "tavrin: the desktop comes later; playing the demonstration " << kDemoScript
              << " instead (see the README for --play)\n";
    line.script = kDemoScript;
  }

  PlayScript script;
  if (!LoadPlayScript(line.script, script, error)) return UsageError(error);
  if (!ApplyPlayOptions(line.scriptOptions, script, error)) return UsageError(error);
  if (!ConfigureShell(script, line, error)) return UsageError(error);
  // The time in seconds, unless the session is to be replayed exactly.
  SeedRandom(script.hasSeed ? script.seed : static_cast<std::uint64_t>(std::time(nullptr)));

  InstallHeadlessBackend(script, std::cout);
  RegisterResources(LessonResources());
  int code = LessonMain();
  return FinishPlay(code);
}
