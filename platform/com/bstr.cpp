#include "platform/com/bstr.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "platform/com/utf.h"

namespace {

std::atomic<com::StringAllocator> g_allocator{nullptr};

void* Allocate(std::size_t bytes) {
  com::StringAllocator allocator = g_allocator.load();
  return allocator ? allocator(bytes) : std::malloc(bytes);
}

// Layout: 32-bit byte length, the characters, a 16-bit terminator. The BSTR points at the text.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::uint32_t* PrefixOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kPrefix);
}

}  // namespace

BSTR SysAllocStringLen(LPCOLESTR text, std::uint32_t length) {
  if (length > (0x7FFFFFFFu - kPrefix - sizeof(OLECHAR)) / sizeof(OLECHAR)) return nullptr;
  std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  auto* block = static_cast<char*>(Allocate(kPrefix + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  std::uint32_t byteLength = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &byteLength, kPrefix);
  auto* chars = reinterpret_cast<OLECHAR*>(block + kPrefix);
  if (text) {
    std::memcpy(chars, text, bytes);
  } else {
    std::memset(chars, 0, bytes);
  }
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text,
                           static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text)));
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

std::uint32_t SysStringByteLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, PrefixOf(text), kPrefix);
  return bytes;
}

std::uint32_t SysStringLen(BSTR text) {
  return SysStringByteLen(text) / sizeof(OLECHAR);
}

namespace com {

void SetStringAllocatorForTesting(StringAllocator allocator) {
  g_allocator.store(allocator);
}

BStr::BStr(std::u16string_view text)
    : s_(SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()))) {
  if (!s_) throw std::bad_alloc();
}

BStr BStr::FromUtf8(std::string_view text) {
  return BStr(ToUtf16(text));
}

BStr::BStr(const BStr& other) : s_(other.Copy()) {
  if (other.s_ && !s_) throw std::bad_alloc();
}

BStr::BStr(BStr&& other) noexcept : s_(other.Detach()) {}

BStr& BStr::operator=(const BStr& other) {
  if (this != std::addressof(other)) {
    BStr copy(other);
    Attach(copy.Detach());
  }
  return *this;
}

BStr& BStr::operator=(BStr&& other) noexcept {
  if (this != std::addressof(other)) Attach(other.Detach());
  return *this;
}

BStr::~BStr() {
  Reset();
}

BSTR* BStr::operator&() {
  Reset();
  return &s_;
}

void BStr::Attach(BSTR s) {
  Reset();
  s_ = s;
}

BSTR BStr::Detach() {
  BSTR s = s_;
  s_ = nullptr;
  return s;
}

BSTR BStr::Copy() const {
  return s_ ? SysAllocStringLen(s_, Length()) : nullptr;
}

void BStr::Reset() {
  SysFreeString(s_);
  s_ = nullptr;
}

std::string BStr::ToUtf8() const {
  return com::ToUtf8(View());
}

}  // namespace com
