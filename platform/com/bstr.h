#pragma once
// Counted wide strings: UTF-16, length-prefixed, terminated, embedded nulls kept.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/result.h"

using OLECHAR = char16_t;
using BSTR = OLECHAR*;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// A copy of the terminated text; null for a null text or when memory runs out.
BSTR SysAllocString(LPCOLESTR text);
// length characters of text (uninitialised zeroes when text is null); null when memory runs out.
BSTR SysAllocStringLen(LPCOLESTR text, std::uint32_t length);
void SysFreeString(BSTR text);
// Characters, not counting the terminator; 0 for a null text.
std::uint32_t SysStringLen(BSTR text);
std::uint32_t SysStringByteLen(BSTR text);

namespace com {

// Replaces the allocator behind SysAlloc* (nullptr restores malloc); tests use it to run out of
// memory. SysFreeString gives blocks back with free, so the allocator must hand out blocks that
// free accepts (from malloc, or none).
using StringAllocator = void* (*)(std::size_t bytes);
void SetStringAllocatorForTesting(StringAllocator allocator);

// Owning wrapper of a counted wide string.
class BStr {
 public:
  BStr() = default;
  explicit BStr(std::u16string_view text);
  // Throws std::bad_alloc when memory runs out.
  static BStr FromUtf8(std::string_view text);
  BStr(const BStr& other);
  BStr(BStr&& other) noexcept;
  BStr& operator=(const BStr& other);
  BStr& operator=(BStr&& other) noexcept;
  ~BStr();

  BSTR Get() const { return s_; }
  // For out-parameters: frees what was held first.
  BSTR* operator&();
  void Attach(BSTR s);
  [[nodiscard]] BSTR Detach();
  // A new copy owned by the caller (null for a null text).
  [[nodiscard]] BSTR Copy() const;
  void Reset();

  std::uint32_t Length() const { return SysStringLen(s_); }
  bool IsNull() const { return s_ == nullptr; }
  bool Empty() const { return Length() == 0; }
  std::u16string_view View() const { return {s_ ? s_ : u"", Length()}; }
  std::string ToUtf8() const;

 private:
  BSTR s_ = nullptr;
};

}  // namespace com
