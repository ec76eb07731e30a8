#include "problem_statement.h"

#include "parameter_table.h"

bool BuildStatement(int problemCode) {
  switch (problemCode) {
    case kProblemPrinting: BuildPrintingStatement(); return true;
    case kProblemFurniture: BuildFurnitureStatement(); return true;
    case kProblemPorcelain: BuildPorcelainStatement(); return true;
    case kProblemFeedMix: BuildFeedMixStatement(); return true;
    case kProblemFarm: BuildFarmStatement(); return true;
    default: return false;
  }
}
