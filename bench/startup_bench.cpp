// How long the desktop takes to start: `tavrin --exit-at-first-idle` (the lesson up to its first
// wait for the student, the welcome screen shown) beside the least Qt Widgets program that shows
// one window and ends at its first idle moment, both on Qt's offscreen platform, each started
// afresh by fork and exec for every iteration. Reported: the time per start (manual timing, the
// wall clock from fork to the child's end) and the child's peak resident memory (ru_maxrss from
// wait4); at the end, the lesson's ratios to the yardstick. Also reported: the processor time of
// a start (user and system, from wait4), which wanders less than the wall clock on a busy machine.
//
// A child's ru_maxrss counts the pages it had before exec, the ones it shared with this program,
// so this program's own peak (bench_rss_MiB) is the floor under both figures.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kStartsPerRun = 20;

// One program under measurement and what its starts added up to over every run and repetition.
struct Program {
  const char* name;
  std::vector<std::string> arguments;  // the program itself first
  double seconds = 0;
  double cpuSeconds = 0;
  long starts = 0;
  long peakRssKiB = 0;
};

struct Start {
  bool ended = false;  // ended normally with status 0
  double seconds = 0;
  double cpuSeconds = 0;  // user and system
  long maxRssKiB = 0;
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double PerStartMs(double seconds, long starts) {
  return starts > 0 ? 1000.0 * seconds / static_cast<double>(starts) : 0;
}

std::string dataDirectory;  // the lesson's student records go to a folder of its own

Program minimal{"minimal_qt_window", {TAVRIN_MINIMAL_PROGRAM}};
Program lesson{"tavrin",
               {TAVRIN_LESSON_PROGRAM, "--exit-at-first-idle", "--screen", "640", "480", "96",
                "--seed", "1", "--student", "Bench", "--data-dir"}};

// Starts the program with its output discarded and waits for its end.
Start StartOnce(const Program& program) {
  std::vector<char*> argv;
  for (const std::string& argument : program.arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  Start start;
  auto begin = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    // Qt's notes about the offscreen platform would drown the figures; a failure shows in the
    // exit status.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
    if (std::freopen("/dev/null", "w", stderr) == nullptr) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (child < 0) return start;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return start;
  start.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  start.ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  start.maxRssKiB = usage.ru_maxrss;
  start.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  return start;
}

long OwnPeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void TimeStarts(benchmark::State& state, Program& program) {
  // One start first, untimed, so that every timed start finds the files in the page cache.
  if (!StartOnce(program).ended) {
    state.SkipWithError("the program did not end with status 0");
    return;
  }
  long peak = 0;
  double cpuSeconds = 0;
  long starts = 0;
  for (auto _ : state) {
    Start start = StartOnce(program);
    if (!start.ended) {
      state.SkipWithError("the program did not end with status 0");
      return;
    }
    state.SetIterationTime(start.seconds);
    peak = std::max(peak, start.maxRssKiB);
    program.seconds += start.seconds;
    program.cpuSeconds += start.cpuSeconds;
    ++program.starts;
    cpuSeconds += start.cpuSeconds;
    ++starts;
  }
  program.peakRssKiB = std::max(program.peakRssKiB, peak);
  state.counters["peak_rss_MiB"] = static_cast<double>(peak) / 1024.0;
  state.counters["cpu_ms"] = PerStartMs(cpuSeconds, starts);
  state.counters["bench_rss_MiB"] = static_cast<double>(OwnPeakRssKiB()) / 1024.0;
}

void BM_MinimalQtWindowStart(benchmark::State& state) {
  TimeStarts(state, minimal);
}

void BM_LessonStartToWelcome(benchmark::State& state) {
  TimeStarts(state, lesson);
}

BENCHMARK(BM_MinimalQtWindowStart)
    ->UseManualTime()
    ->Iterations(kStartsPerRun)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LessonStartToWelcome)
    ->UseManualTime()
    ->Iterations(kStartsPerRun)
    ->Unit(benchmark::kMillisecond);

double MeanMs(const Program& program) {
  return PerStartMs(program.seconds, program.starts);
}

double MeanCpuMs(const Program& program) {
  return PerStartMs(program.cpuSeconds, program.starts);
}

void PrintRatios() {
  if (minimal.starts == 0 || lesson.starts == 0 || minimal.peakRssKiB == 0) return;
  std::printf(
      "start-up, mean of %ld and %ld starts: tavrin %.1f ms, minimal Qt window %.1f ms, ratio "
      "%.2f (target <= 1.5)\n",
      lesson.starts, minimal.starts, MeanMs(lesson), MeanMs(minimal),
      MeanMs(lesson) / MeanMs(minimal));
  std::printf("processor time, mean: tavrin %.1f ms, minimal Qt window %.1f ms, ratio %.2f\n",
              MeanCpuMs(lesson), MeanCpuMs(minimal), MeanCpuMs(lesson) / MeanCpuMs(minimal));
  std::printf(
      "peak resident memory: tavrin %.1f MiB, minimal Qt window %.1f MiB, ratio %.2f (target <= "
      "1.3); this program's own peak %.1f MiB\n",
      static_cast<double>(lesson.peakRssKiB) / 1024.0,
      static_cast<double>(minimal.peakRssKiB) / 1024.0,
      static_cast<double>(lesson.peakRssKiB) / static_cast<double>(minimal.peakRssKiB),
      static_cast<double>(OwnPeakRssKiB()) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  // Both programs draw on Qt's offscreen platform, quietly.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_LOGGING_RULES", "qt.qpa.*=false", 1);
  char folder[] = "/tmp/tavrin_startup_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  dataDirectory = folder;
  lesson.arguments.push_back(dataDirectory);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::fflush(stdout);
  PrintRatios();
  std::string remove = "rm -rf '" + dataDirectory + "'";
  return std::system(remove.c_str()) == 0 ? 0 : 1;
}
