// How fast a typed line is checked: the format check, the parse and the match against a generated
// printing problem, over a corpus of realistic lines, beside a plain scan of the same bytes. The
// three steps are also measured one by one, per line of the same corpus, to show how the time of
// the whole path divides among them. This file also holds the benchmark program's main.
#include <benchmark/benchmark.h>

#include <numeric>
#include <string_view>
#include <vector>

#include "matcher.h"
#include "parameter_table.h"
#include "parser.h"
#include "per_item.h"
#include "problem_fixture.h"

namespace {

const ProblemFixture& Printing() {
  return FixtureFor(kProblemPrinting);
}

// A line of the corpus as the steps after the format check see it: whether it passed, and the
// entry its parse left.
struct CheckedLine {
  std::string_view text;
  int entryStep;
  bool passes;
  ParsedEntry entry;
};

const std::vector<CheckedLine>& CheckedCorpus() {
  static const std::vector<CheckedLine> checked = [] {
    std::vector<CheckedLine> lines;
    for (const CorpusLine& line : Printing().corpus) {
      CheckedLine& out = lines.emplace_back(CheckedLine{line.text, line.entryStep, false, {}});
      out.passes = CheckEntryFormat(out.text);
      if (out.passes) ParseEntry(out.text, out.entry, 0);
    }
    return lines;
  }();
  return checked;
}

// The match of an entry at its step, as at the start of the problem.
int MatchAtStep(const ParsedEntry& entry, int entryStep, const Formulation& formulation) {
  static ProblemProgress progress{};
  StartAtStep(progress, entryStep);
  return MatchEntry(entry, formulation, progress, kModePractice);
}

void BM_PlainScan(benchmark::State& state) {
  RunPerItem(state, Printing().corpus, "line", [](const CorpusLine& line) {
    unsigned sum = std::accumulate(line.text.begin(), line.text.end(), 0u, [](unsigned s, char c) {
      return s + static_cast<unsigned char>(c);
    });
    benchmark::DoNotOptimize(sum);
  });
}
BENCHMARK(BM_PlainScan);

void BM_CheckPath(benchmark::State& state) {
  const Formulation& problem = Printing().formulation;
  RunPerItem(state, Printing().corpus, "line", [&problem](const CorpusLine& line) {
    const std::string_view text = line.text;
    if (!CheckEntryFormat(text)) return;
    int errors = ParseEntry(text, parsedEntry, 0);
    int result = MatchAtStep(parsedEntry, line.entryStep, problem);
    benchmark::DoNotOptimize(errors);
    benchmark::DoNotOptimize(result);
  });
}
BENCHMARK(BM_CheckPath);

// The steps one by one. The parse and the match skip the lines the format check refuses, as the
// whole path does; the match reads the entries parsed before the measurement.
void BM_CheckPathFormatCheck(benchmark::State& state) {
  RunPerItem(state, Printing().corpus, "line", [](const CorpusLine& line) {
    bool passes = CheckEntryFormat(line.text);
    benchmark::DoNotOptimize(passes);
  });
}
BENCHMARK(BM_CheckPathFormatCheck);

void BM_CheckPathParse(benchmark::State& state) {
  RunPerItem(state, CheckedCorpus(), "line", [](const CheckedLine& line) {
    if (!line.passes) return;
    int errors = ParseEntry(line.text, parsedEntry, 0);
    benchmark::DoNotOptimize(errors);
  });
}
BENCHMARK(BM_CheckPathParse);

void BM_CheckPathMatch(benchmark::State& state) {
  const Formulation& problem = Printing().formulation;
  RunPerItem(state, CheckedCorpus(), "line", [&problem](const CheckedLine& line) {
    if (!line.passes) return;
    int result = MatchAtStep(line.entry, line.entryStep, problem);
    benchmark::DoNotOptimize(result);
  });
}
BENCHMARK(BM_CheckPathMatch);

}  // namespace

BENCHMARK_MAIN();
