#include "parameter_table.h"

// Empty until the first problem is generated: no parameters, no description list.
ParameterTable parameterTable{};
