#include "platform/com/utf.h"

#include <cstdint>
#include <cstdio>

namespace com {

namespace {

bool Fail(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return false;
}

bool DecodeUtf8(std::string_view in, std::u16string& out, std::string* why) {
  out.clear();
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const auto lead = static_cast<unsigned char>(in[i]);
    std::uint32_t code;
    std::size_t extra;
    std::uint32_t minimum;
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F, extra = 1, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F, extra = 2, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07, extra = 3, minimum = 0x10000;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", lead);
      return Fail(why, std::string("invalid UTF-8: unexpected byte ") + hex + " at offset " +
                           std::to_string(i));
    }
    if (in.size() - i <= extra) {
      return Fail(why, "invalid UTF-8: sequence cut short at offset " + std::to_string(i));
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(in[i + k]);
      if ((next & 0xC0) != 0x80) {
        return Fail(why, "invalid UTF-8: bad continuation byte at offset " + std::to_string(i + k));
      }
      code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum) {
      return Fail(why, "invalid UTF-8: overlong encoding at offset " + std::to_string(i));
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return Fail(why, "invalid UTF-8: no Unicode character at offset " + std::to_string(i));
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += extra + 1;
  }
  return true;
}

bool EncodeUtf8(std::u16string_view in, std::string& out, std::string* why) {
  out.clear();
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    std::uint32_t code = in[i];
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 1 >= in.size() || in[i + 1] < 0xDC00 || in[i + 1] > 0xDFFF) {
        return Fail(why, "invalid UTF-16: unpaired high surrogate at index " + std::to_string(i));
      }
      code = 0x10000 + ((code - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      return Fail(why, "invalid UTF-16: unpaired low surrogate at index " + std::to_string(i));
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return true;
}

}  // namespace

std::optional<std::u16string> TryToUtf16(std::string_view utf8, std::string* why) {
  std::u16string out;
  if (!DecodeUtf8(utf8, out, why)) return std::nullopt;
  return out;
}

std::optional<std::string> TryToUtf8(std::u16string_view utf16, std::string* why) {
  std::string out;
  if (!EncodeUtf8(utf16, out, why)) return std::nullopt;
  return out;
}

std::u16string ToUtf16(std::string_view utf8) {
  std::string why;
  auto result = TryToUtf16(utf8, &why);
  if (!result) throw TextConversionError(why);
  return std::move(*result);
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string why;
  auto result = TryToUtf8(utf16, &why);
  if (!result) throw TextConversionError(why);
  return std::move(*result);
}

}  // namespace com
