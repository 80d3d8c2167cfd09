#pragma once
// The base library's text: up to 63 characters live in an inline buffer, longer texts in a heap
// buffer that is reused while it is large enough.
#include <cstdint>
#include <memory>
#include <string_view>

class BasString {
 public:
  static constexpr std::int32_t kInlineSize = 64;

  BasString() = default;
  explicit BasString(const char* text) { Assign(text); }
  BasString(const BasString& other) { Assign(other.Get()); }
  BasString& operator=(const BasString& other);
  BasString& operator=(const char* text) {
    Assign(text);
    return *this;
  }
  ~BasString() = default;

  // A null or empty text gives the empty text. Throws std::bad_alloc when memory runs out.
  void Assign(const char* text);
  // Never null: the empty text when nothing is stored.
  const char* Get() const;
  std::string_view View() const { return {Get(), static_cast<std::size_t>(length_)}; }
  std::int32_t Length() const { return length_; }
  // Bytes reserved including the terminator; 0 until a non-empty text is stored.
  std::int32_t Capacity() const { return capacity_; }
  bool OnHeap() const { return heap_ != nullptr; }

 private:
  std::int32_t capacity_ = 0;
  std::unique_ptr<char[]> heap_;
  char inline_[kInlineSize] = {};
  std::int32_t length_ = 0;
};
