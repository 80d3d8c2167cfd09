#pragma once
// Function codes of the design environment and the names the RVX server knows them by.
#include <cstdint>
#include <map>

#include "host/bas_string.h"

using FunctionNameTable = std::map<std::int32_t, BasString>;

// Fills the module's table with the 84 rows once; later calls do nothing.
void BuildFunctionNameTable();
// The module's table (empty until BuildFunctionNameTable). Read it only after the build.
const FunctionNameTable& FunctionNames();
// The name of a code, or null when it has none.
const char* FunctionNameOf(std::int32_t code);

inline constexpr std::int32_t kFunctionRevisionManagement = 54;  // "mor.revisionmgmnt"
