#pragma once
// Globally unique identifiers: value type, braced text form, comparison.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
  friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;
using REFGUID = const GUID&;

inline constexpr GUID GUID_NULL{};

namespace com {

namespace detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional); nullopt when malformed.
constexpr std::optional<GUID> ParseGuid(std::string_view text) {
  if (text.size() == 38) {
    if (text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  // Every position is fixed: a dash at 8, 13, 18 and 23, a hex digit everywhere else.
  std::uint8_t bytes[16]{};
  int nibbles = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      continue;
    }
    const int digit = detail::HexDigit(text[i]);
    if (digit < 0) return std::nullopt;
    bytes[nibbles / 2] = static_cast<std::uint8_t>(bytes[nibbles / 2] * 16 + digit);
    ++nibbles;
  }
  GUID g;
  g.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
            (std::uint32_t{bytes[2]} << 8) | bytes[3];
  g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
  return g;
}

// A GUID from a literal checked at compile time.
consteval GUID MakeGuid(const char* literal) {
  std::size_t n = 0;
  while (literal[n] != 0) ++n;
  auto parsed = ParseGuid(std::string_view(literal, n));
  if (!parsed) throw "malformed GUID literal";
  return *parsed;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string GuidToString(const GUID& guid);

// The interface identity carried by every interface type.
template <class Interface>
constexpr const GUID& IidOf() {
  return Interface::IID_;
}

}  // namespace com
