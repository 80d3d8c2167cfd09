#pragma once
// Revision handles: 32 upper-case hexadecimal digits, the 8-byte identity of the model object
// followed by the 8-byte identity of the revision. The object part still names the object after
// that revision is gone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

struct Handle {
  std::uint64_t object = 0;
  std::uint64_t revision = 0;
  friend bool operator==(const Handle&, const Handle&) = default;
};

// Exactly 32 hexadecimal digits of either case (as HEXTORAW accepts them); nullopt otherwise.
std::optional<Handle> ParseHandle(std::string_view text);

// Like ParseHandle, but throws StoreError(BadHandle) for a malformed text.
Handle ParseHandleOrThrow(std::string_view text);

// 32 upper-case hexadecimal digits.
std::string FormatHandle(const Handle& handle);

}  // namespace store
