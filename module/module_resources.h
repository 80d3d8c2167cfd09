#pragma once
// Numbers of the module's resources, and a way for the module to find its own file.
#include <cstdint>

namespace module {

inline constexpr std::uint32_t kRegistryScriptId = 103;  // type "REGISTRY"
inline constexpr std::uint32_t kTypeLibraryId = 1;       // type "TYPELIB"
inline constexpr std::uint32_t kVersionId = 1;           // type "VERSION"

// An address inside the module, for finding the module's file.
const void* AddressInModule();

}  // namespace module
