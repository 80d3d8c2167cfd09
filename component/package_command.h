#pragma once
// One call of a stored function of WDB_REVISION_PKG through a new command object of the RVX server.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "services/rvx.h"

namespace component {

struct PackageParameter {
  std::u16string_view name;
  std::int32_t type;       // kRvxTypeText / kRvxTypeNumber
  std::int32_t direction;  // kRvxDirectionInput / kRvxDirectionOutput
  com::Variant value;      // initial value
};

struct PackageCall {
  std::u16string_view text;  // the PL/SQL block
  std::vector<PackageParameter> parameters;
  bool changing = false;  // followed by Commit when "res" was read
};

struct PackageOutcome {
  bool executed = false;
  // "res" (position 0) was read: get_Item and get_Value both succeeded.
  bool resultRead = false;
  com::Variant result;
  // Kept for reading further outputs; released with the outcome.
  com::ComPtr<IRvxCommand> command;
  com::ComPtr<IRvxParameters> parameters;
};

// Runs the call: create command, SetProject, get_Parameters, CreateParameter + Append each,
// put_CommandText, Execute(0), read "res", Commit for a changing call that read it. Raises
// ComError: E_POINTER when the command object cannot be created (or a collection or database is
// missing where it must be used), Append's and Commit's failures with their objects' error
// information; std::bad_alloc when memory runs out.
PackageOutcome RunPackageCall(const PackageCall& call, IRvxProject* project,
                              IRvxDatabase* database);

// The value at position, or nothing when the item or its value cannot be read.
std::optional<com::Variant> ReadOutput(IRvxParameters* parameters, std::int32_t position);

// A result read as a 32-bit integer; nothing for an empty, null or non-numeric value.
std::optional<std::int32_t> NumberOf(const com::Variant& value);

}  // namespace component
