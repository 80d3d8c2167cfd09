#include "servers/store/handle.h"

#include "servers/store/store_error.h"

namespace store {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::uint64_t> ParseHex64(std::string_view text) {
  std::uint64_t value = 0;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

void AppendHex64(std::string& out, std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 60; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::optional<Handle> ParseHandle(std::string_view text) {
  if (text.size() != 32) return std::nullopt;
  auto object = ParseHex64(text.substr(0, 16));
  auto revision = ParseHex64(text.substr(16));
  if (!object || !revision) return std::nullopt;
  return Handle{*object, *revision};
}

Handle ParseHandleOrThrow(std::string_view text) {
  auto handle = ParseHandle(text);
  if (!handle) {
    throw StoreError(StoreErrorKind::BadHandle,
                     "not a handle of 32 hexadecimal digits: \"" + std::string(text) + "\"");
  }
  return *handle;
}

std::string FormatHandle(const Handle& handle) {
  std::string out;
  out.reserve(32);
  AppendHex64(out, handle.object);
  AppendHex64(out, handle.revision);
  return out;
}

}  // namespace store
