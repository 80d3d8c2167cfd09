#include "platform/com/module_resource.h"

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace com {

namespace {

template <class T>
bool ReadAt(std::ifstream& in, std::uint64_t offset, T* out, std::size_t count = 1) {
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(sizeof(T) * count));
  return static_cast<bool>(in);
}

// The bytes of the resource section of a 64-bit ELF file.
std::optional<std::string> ReadResourceSection(const std::filesystem::path& module) {
  std::ifstream in(module, std::ios::binary);
  if (!in) return std::nullopt;
  Elf64_Ehdr header{};
  if (!ReadAt(in, 0, &header)) return std::nullopt;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 ||
      header.e_shstrndx >= header.e_shnum) {
    return std::nullopt;
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(in, header.e_shoff, sections.data(), sections.size())) return std::nullopt;
  const Elf64_Shdr& namesHeader = sections[header.e_shstrndx];
  if (namesHeader.sh_size > (1u << 24)) return std::nullopt;
  std::string names(namesHeader.sh_size, '\0');
  if (!ReadAt(in, namesHeader.sh_offset, names.data(), names.size())) return std::nullopt;
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.size() || section.sh_type != SHT_PROGBITS) continue;
    const std::string_view name(names.c_str() + section.sh_name);
    if (name != kResourceSection) continue;
    if (section.sh_size > (1u << 28)) return std::nullopt;
    std::string bytes(section.sh_size, '\0');
    if (!ReadAt(in, section.sh_offset, bytes.data(), bytes.size())) return std::nullopt;
    return bytes;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindResourceInSection(std::string_view section, std::string_view type,
                                                 std::uint32_t id) {
  // Records start at aligned offsets; whatever lies between them is padding.
  for (std::size_t offset = 0; offset + sizeof(ResourceHeader) <= section.size();
       offset += kResourceAlignment) {
    ResourceHeader header;
    std::memcpy(&header, section.data() + offset, sizeof header);
    if (header.magic != kResourceMagic) continue;
    const std::string_view recordType(header.type.data(),
                                      strnlen(header.type.data(), header.type.size()));
    const std::size_t dataStart = offset + sizeof(ResourceHeader);
    if (header.size > section.size() - dataStart) return std::nullopt;  // damaged
    if (recordType == type && header.id == id) {
      return std::string(section.substr(dataStart, header.size));
    }
  }
  return std::nullopt;
}

std::optional<std::string> ReadModuleResource(const std::filesystem::path& module,
                                              std::string_view type, std::uint32_t id) {
  try {
    auto section = ReadResourceSection(module);
    if (!section) return std::nullopt;
    return FindResourceInSection(*section, type, id);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::filesystem::path> ModulePathOf(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname) return std::nullopt;
  std::error_code ec;
  auto path = std::filesystem::canonical(info.dli_fname, ec);
  if (ec) return std::nullopt;
  return path;
}

}  // namespace com
