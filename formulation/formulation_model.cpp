#include "formulation_model.h"

#include <cstddef>
#include <cstring>

int MirrorRelation(int code) {
  switch (code) {
    case kRelationGreater:
      return kRelationLess;
    case kRelationLess:
      return kRelationGreater;
    case kRelationAtLeast:
      return kRelationAtMost;
    case kRelationAtMost:
      return kRelationAtLeast;
    default:
      return code;
  }
}

void ClearFormulation(Formulation& formulation) {
  std::memset(&formulation, 0, offsetof(Formulation, variableCount));
}

Formulation formulation{};
ProblemProgress problemProgress{};
ParsedEntry parsedEntry{};
