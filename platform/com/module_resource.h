#pragma once
// Resources built into a module: texts such as the registry script and the type library, each
// with a type and a number, kept in a section of the module's file of their own so that they can
// be read from the file (loaded or not) without an export.
//
//   REVMGR_MODULE_RESOURCE(kRegistryScript, "REGISTRY", 103, R"(HKCR { ... })");
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace com {

inline constexpr std::array<char, 8> kResourceMagic{'R', 'V', 'M', 'G', 'R', 'E', 'S', '\0'};
inline constexpr std::size_t kResourceTypeLength = 16;
inline constexpr std::size_t kResourceAlignment = 16;

struct ResourceHeader {
  std::array<char, 8> magic;
  std::array<char, kResourceTypeLength> type;  // zero-filled
  std::uint32_t id;
  std::uint32_t size;  // bytes of data that follow
};

template <std::size_t N>
struct alignas(kResourceAlignment) ResourceRecord {
  ResourceHeader header;
  std::array<char, N> data;
};

// A record of a text literal (its terminating zero not counted in size).
template <std::size_t TypeN, std::size_t N>
consteval ResourceRecord<N> MakeResource(const char (&type)[TypeN], std::uint32_t id,
                                         const char (&text)[N]) {
  static_assert(TypeN <= kResourceTypeLength, "resource type name too long");
  ResourceRecord<N> record{};
  record.header.magic = kResourceMagic;
  for (std::size_t i = 0; i + 1 < TypeN; ++i) record.header.type[i] = type[i];
  record.header.id = id;
  record.header.size = static_cast<std::uint32_t>(N - 1);
  for (std::size_t i = 0; i < N; ++i) record.data[i] = text[i];
  return record;
}

#define REVMGR_MODULE_RESOURCE(variable, type, id, text)                          \
  [[gnu::section("revmgr_resources"), gnu::used]] constinit const auto variable = \
      ::com::MakeResource(type, id, text)

// The name of the section that holds the records.
inline constexpr std::string_view kResourceSection = "revmgr_resources";

// The resource of that type and number in the module file (a shared library or program);
// nullopt when the file cannot be read, is not a module or has no such resource.
std::optional<std::string> ReadModuleResource(const std::filesystem::path& module,
                                              std::string_view type, std::uint32_t id);

// Finds a record in the bytes of a resource section.
std::optional<std::string> FindResourceInSection(std::string_view section, std::string_view type,
                                                 std::uint32_t id);

// The full path of the module file that contains the address (a function or object of the
// module); nullopt when it cannot be told.
std::optional<std::filesystem::path> ModulePathOf(const void* address);

}  // namespace com
