#include "host/bas_string.h"

#include <cstring>

BasString& BasString::operator=(const BasString& other) {
  if (this != &other) Assign(other.Get());
  return *this;
}

void BasString::Assign(const char* text) {
  const std::size_t length = text ? std::strlen(text) : 0;
  if (length == 0) {
    length_ = 0;
    if (heap_) {
      heap_[0] = '\0';
    } else {
      inline_[0] = '\0';
    }
    return;
  }
  const auto needed = static_cast<std::int32_t>(length + 1);
  if (heap_ && capacity_ >= needed) {
    // text may point into this buffer itself: move, not copy.
    std::memmove(heap_.get(), text, length + 1);
  } else if (!heap_ && needed <= kInlineSize) {
    std::memmove(inline_, text, length + 1);
    capacity_ = kInlineSize;
  } else {
    // Copied before the old buffer goes, which text may point into.
    auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(needed));
    std::memcpy(buffer.get(), text, length + 1);
    heap_ = std::move(buffer);
    capacity_ = needed;
  }
  length_ = static_cast<std::int32_t>(length);
}

const char* BasString::Get() const {
  if (length_ == 0) return "";
  return heap_ ? heap_.get() : inline_;
}
