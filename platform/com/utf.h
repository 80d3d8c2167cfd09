#pragma once
// The one pair of text conversions: UTF-8 (the 8-bit "ANSI code page") and UTF-16.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace com {

// Raised by ToUtf16/ToUtf8 for text that is not valid in its encoding; what() says where and why.
class TextConversionError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Exact for every valid text; nullopt and a reason in *why for invalid input.
std::optional<std::u16string> TryToUtf16(std::string_view utf8, std::string* why = nullptr);
std::optional<std::string> TryToUtf8(std::u16string_view utf16, std::string* why = nullptr);

// As above, throwing TextConversionError for invalid input.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

}  // namespace com
