#include "problem_fixture.h"

#include <map>

#include "courselib.h"
#include "problem_statement.h"

namespace {

ProblemFixture Generate(int problemCode) {
  SeedRandom(kBenchSeed);
  BuildStatement(problemCode);
  ProblemFixture fixture{formulation, parameterTable, {}};
  fixture.corpus = BuildEntryCorpus(fixture.formulation, fixture.parameters.parameterValues.data(),
                                    fixture.parameters.parameterCount);
  return fixture;
}

}  // namespace

const ProblemFixture& FixtureFor(int problemCode) {
  static std::map<int, ProblemFixture> fixtures;
  auto found = fixtures.find(problemCode);
  if (found == fixtures.end()) found = fixtures.emplace(problemCode, Generate(problemCode)).first;
  return found->second;
}
