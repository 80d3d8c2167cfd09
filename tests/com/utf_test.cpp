#include "platform/com/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Pair {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(UtfTest, ValidTextRoundTripsExactly) {
  const Pair pairs[] = {
      {"empty", "", u""},
      {"ascii", "Plane panel 7", u"Plane panel 7"},
      {"umlauts", "\xC3\x84rger \xC3\xBC\x62\x65r Stra\xC3\x9F\x65",
       u"\u00C4rger \u00FCber Stra\u00DFe"},
      {"cjk", "\xE8\x88\xB9\xE8\x88\xB6\xE8\xA8\xAD\xE8\xA8\x88", u"\u8239\u8236\u8A2D\u8A08"},
      {"emoji needs a surrogate pair", "ship \xF0\x9F\x9A\xA2", u"ship \U0001F6A2"},
      {"embedded nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"edges of the ranges",
       "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       u"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF"},
      {"just below and above the surrogates", "\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.name);
    EXPECT_EQ(com::ToUtf16(p.utf8), p.utf16);
    EXPECT_EQ(com::ToUtf8(p.utf16), p.utf8);
    EXPECT_EQ(com::ToUtf8(com::ToUtf16(p.utf8)), p.utf8);
  }
  EXPECT_EQ(std::u16string(u"ship \U0001F6A2").size(), 7u);  // two UTF-16 units for the emoji
}

struct Invalid8 {
  const char* name;
  std::string text;
  const char* reason;  // part of the explanation
};

TEST(UtfTest, InvalidUtf8IsRefusedWithAReason) {
  const Invalid8 cases[] = {
      {"bad continuation", "ab\xC3(", "bad continuation byte at offset 3"},
      {"continuation without lead", "\x80", "unexpected byte 0x80 at offset 0"},
      {"overlong slash", "\xC0\xAF", "overlong"},
      {"overlong three bytes", "\xE0\x80\xAF", "overlong"},
      {"overlong four bytes", "\xF0\x80\x80\xAF", "overlong"},
      {"encoded surrogate", "\xED\xA0\x80", "no Unicode character"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "no Unicode character"},
      {"lead byte F8", "\xF8\x88\x80\x80\x80", "unexpected byte 0xF8"},
      {"lead byte FF", "x\xFF", "unexpected byte 0xFF at offset 1"},
      {"truncated two-byte", "abc\xC3", "cut short at offset 3"},
      {"truncated four-byte", "\xF0\x9F\x9A", "cut short at offset 0"},
  };
  for (const Invalid8& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    EXPECT_FALSE(com::TryToUtf16(c.text, &why));
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    try {
      com::ToUtf16(c.text);
      ADD_FAILURE() << "no error raised";
    } catch (const com::TextConversionError& error) {
      EXPECT_EQ(std::string(error.what()), why);
    }
  }
  EXPECT_FALSE(com::TryToUtf16("\xC3"));  // a reason is optional
}

struct Invalid16 {
  const char* name;
  std::u16string text;
  const char* reason;
};

TEST(UtfTest, LoneSurrogatesAreRefusedWithAReason) {
  const Invalid16 cases[] = {
      {"lone high at the end", u"ab" + std::u16string(1, 0xD83D),
       "unpaired high surrogate at index 2"},
      {"high before a letter", std::u16string(1, 0xD83D) + u"x",
       "unpaired high surrogate at index 0"},
      {"two highs", std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDEA2)},
       "unpaired high surrogate at index 0"},
      {"lone low", u"a" + std::u16string(1, 0xDEA2), "unpaired low surrogate at index 1"},
      {"reversed pair", std::u16string{char16_t(0xDEA2), char16_t(0xD83D)},
       "unpaired low surrogate at index 0"},
  };
  for (const Invalid16& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    EXPECT_FALSE(com::TryToUtf8(c.text, &why));
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_THROW(com::ToUtf8(c.text), com::TextConversionError);
  }
}

}  // namespace
