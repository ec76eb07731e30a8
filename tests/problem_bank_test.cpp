// Every problem of the bank, over many seeds: the statement is built, every number the
// formulation uses is a parameter of the problem, and the formulation is a sound linear program —
// a real solver finds it feasible and bounded, so the student is never asked to formulate a
// problem without an answer.
#include <glpk.h>
#include <gtest/gtest.h>

#include <cstring>

#include "courselib.h"
#include "formulation_model.h"
#include "parameter_table.h"
#include "problem_statement.h"

namespace {

constexpr int kSeedsPerProblem = 300;

struct ProblemCase {
  int code;
  const char* name;
  int parameterCount;
  int constraintCount;
  int variableCount;
  int objectiveSense;
};

constexpr ProblemCase kProblems[] = {
    {kProblemPrinting, "printing", 19, 7, 3, kSenseMinimize},
    {kProblemFurniture, "furniture", 29, 9, 4, kSenseMaximize},
    {kProblemPorcelain, "porcelain", 14, 5, 3, kSenseMaximize},
    {kProblemFeedMix, "feed mix", 27, 5, 3, kSenseMinimize},
    {kProblemFarm, "farm", 27, 9, 5, kSenseMaximize},
};

bool IsParameter(double value) {
  for (int m = 0; m < parameterTable.parameterCount; ++m) {
    if (std::memcmp(&parameterTable.parameterValues[static_cast<std::size_t>(m)], &value,
                    sizeof value) == 0) {
      return true;
    }
  }
  return false;
}

// Solves the current formulation with GLPK's simplex method (no presolver, so an infeasible or
// unbounded program is reported as such) and returns GLPK's status: GLP_OPT, GLP_NOFEAS, GLP_UNBND.
int SolveCurrentFormulation() {
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, formulation.objectiveSense == kSenseMinimize ? GLP_MIN : GLP_MAX);
  glp_add_cols(lp, formulation.variableCount);
  for (int k = 0; k < formulation.variableCount; ++k) {
    glp_set_col_bnds(lp, k + 1, GLP_LO, 0.0, 0.0);
    glp_set_obj_coef(lp, k + 1, formulation.objective.coef[static_cast<std::size_t>(k)]);
  }
  glp_add_rows(lp, formulation.constraintCount);
  for (int i = 0; i < formulation.constraintCount; ++i) {
    const FormulationRow& row = formulation.constraints[static_cast<std::size_t>(i)];
    int relation = static_cast<int>(row.relation);
    int kind = relation == kRelationAtLeast  ? GLP_LO
               : relation == kRelationAtMost ? GLP_UP
                                             : GLP_FX;
    glp_set_row_bnds(lp, i + 1, kind, row.rhs, row.rhs);
    int index[kVariableSlots + 1];
    double value[kVariableSlots + 1];
    for (int k = 0; k < formulation.variableCount; ++k) {
      index[k + 1] = k + 1;
      value[k + 1] = row.coef[static_cast<std::size_t>(k)];
    }
    glp_set_mat_row(lp, i + 1, formulation.variableCount, index, value);
  }
  glp_smcp options;
  glp_init_smcp(&options);
  options.msg_lev = GLP_MSG_OFF;
  int status = glp_simplex(lp, &options) == 0 ? glp_get_status(lp) : GLP_UNDEF;
  glp_delete_prob(lp);
  return status;
}

// The porcelain problem's ranges let the minimum numbers of figurines need more mixing or molding
// hours than the factory has, so most draws have no feasible plan. The student only formulates
// the problem, so the lesson still works; the draws stay as they are, and this test pins that the
// program is never unbounded and measures how often it is infeasible, so a change of the ranges
// shows up here. Every other problem always has an optimum.
TEST(ProblemBank, EveryProblemIsBuiltFromItsParametersAndIsBounded) {
  glp_term_out(GLP_OFF);
  for (const ProblemCase& problem : kProblems) {
    int infeasible = 0;
    for (int seed = 1; seed <= kSeedsPerProblem; ++seed) {
      SCOPED_TRACE(testing::Message() << problem.name << " seed " << seed);
      SeedRandom(static_cast<std::uint64_t>(seed));
      problemText.fill('#');
      ASSERT_TRUE(BuildStatement(problem.code));
      ASSERT_EQ(parameterTable.parameterCount, problem.parameterCount);
      ASSERT_EQ(formulation.constraintCount, problem.constraintCount);
      ASSERT_EQ(formulation.variableCount, problem.variableCount);
      ASSERT_EQ(formulation.objectiveSense, problem.objectiveSense);
      auto check = [](double value) {
        EXPECT_TRUE(value == 0.0 || value == 1.0 || IsParameter(value)) << value;
      };
      for (double c : formulation.objective.coef) check(c);
      for (int i = 0; i < formulation.constraintCount; ++i) {
        const FormulationRow& row = formulation.constraints[static_cast<std::size_t>(i)];
        for (double c : row.coef) check(c);
        check(row.rhs);
      }
      // A statement cut at the buffer's end would fill it; the longest is far below.
      const char* end =
          static_cast<const char*>(std::memchr(problemText.data(), '\0', problemText.size()));
      ASSERT_NE(end, nullptr);
      EXPECT_LT(end - problemText.data(), kProblemTextSize - 200);
      EXPECT_GT(end - problemText.data(), 400);

      int status = SolveCurrentFormulation();
      if (problem.code == kProblemPorcelain && status == GLP_NOFEAS) {
        ++infeasible;
      } else {
        ASSERT_EQ(status, GLP_OPT);
      }
    }
    if (problem.code == kProblemPorcelain) {
      EXPECT_GT(infeasible, kSeedsPerProblem / 2);
      EXPECT_LT(infeasible, kSeedsPerProblem);
    }
  }
}

TEST(ProblemBank, OnlyTheFiveProblemCodesBuildAStatement) {
  for (int code : {-1, 0, 1, 2, 8, 100}) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(BuildStatement(code));
  }
}

}  // namespace
