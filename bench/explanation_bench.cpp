// How fast a wrong line is explained: the format check, the parse, the match, the term-by-term
// diagnosis and the error list with its markers, over the wrong lines of a corpus typed for each
// of the five problems.
#include <benchmark/benchmark.h>

#include <map>
#include <string_view>
#include <vector>

#include "error_list.h"
#include "matcher.h"
#include "parser.h"
#include "per_item.h"
#include "problem_fixture.h"
#include "term_diagnosis.h"

namespace {

// A line the entry panel would explain: it passes the format check and the verdict on it is wrong.
struct WrongLine {
  std::string_view text;
  int entryStep;
  int row;  // the row it was typed for, the one it is explained against (-1 the objective)
};

std::vector<WrongLine> FindWrongLines(const ProblemFixture& fixture) {
  // Every line of the corpus that the entry panel would judge wrong, found once before the
  // measurement.
  std::vector<WrongLine> wrong;
  ProblemProgress progress{};
  ParsedEntry entry{};
  for (const CorpusLine& line : fixture.corpus) {
    if (!CheckEntryFormat(line.text)) continue;
    const int errors = ParseEntry(line.text, entry, 0);
    StartAtStep(progress, line.entryStep);
    const int result = MatchEntry(entry, fixture.formulation, progress, kModePractice);
    if (IsEntryCorrect(errors, result, progress, kModePractice)) continue;
    wrong.push_back({line.text, line.entryStep, line.row});
  }
  return wrong;
}

const std::vector<WrongLine>& WrongLinesOf(int problemCode) {
  static std::map<int, std::vector<WrongLine>> lines;
  auto found = lines.find(problemCode);
  if (found == lines.end()) {
    found = lines.emplace(problemCode, FindWrongLines(FixtureFor(problemCode))).first;
  }
  return found->second;
}

void BM_ExplainWrongLine(benchmark::State& state) {
  const int problemCode = static_cast<int>(state.range(0));
  const ProblemFixture& fixture = FixtureFor(problemCode);
  const std::vector<WrongLine>& lines = WrongLinesOf(problemCode);
  static ProblemProgress progress{};
  RunPerItem(state, lines, "line", [&fixture](const WrongLine& line) {
    if (!CheckEntryFormat(line.text)) return;
    const int errors = ParseEntry(line.text, parsedEntry, 0);
    StartAtStep(progress, line.entryStep);
    const int result = MatchEntry(parsedEntry, fixture.formulation, progress, kModePractice);
    DiagnoseEntry(line.row, parsedEntry, fixture.formulation, fixture.parameters,
                  progress.entryStep, diagnosis);
    errorList.itemCount = 0;
    BuildErrorList(parsedEntry, rightSideAsTyped.data(), diagnosis, errorList);
    benchmark::DoNotOptimize(errors);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(errorList.itemCount);
  });
}
BENCHMARK(BM_ExplainWrongLine)->DenseRange(kProblemPrinting, kProblemFarm)->ArgName("problem");

}  // namespace
