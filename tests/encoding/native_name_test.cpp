#include "encoding/native_name.h"

#include <gtest/gtest.h>

#include <random>

#include "encoding/codepage.h"

namespace appdu {
namespace {

TEST(NativeNames, AsciiAndCjkBecomeCodePage936) {
  EXPECT_EQ(TextFromNative("Local"), "Local");
  EXPECT_EQ(TextFromNative("路径"), "\xC2\xB7\xBE\xB6");
  EXPECT_EQ(NativeFromText("\xC2\xB7\xBE\xB6"), "路径");
}

TEST(NativeNames, BytesCodePage936CannotHoldAreEscapedOneByOne) {
  // U+1F600 (four UTF-8 bytes) has no 936 form: four escapes.
  EXPECT_EQ(TextFromNative("\xF0\x9F\x98\x80"), "\xF9\xB3\xF8\xC0\xF8\xB9\xF8\xA1");
  // Invalid UTF-8: 0xFF is byte 0x80+127, the last escape.
  EXPECT_EQ(TextFromNative("a\xFF"), "a\xF9\xC2");
  EXPECT_EQ(NativeFromText("a\xF9\xC2"), "a\xFF");
  // The euro sign has only a single-byte 936 form, which a text cannot hold
  // safely (every byte from 0x80 starts a double-byte character): escaped.
  EXPECT_EQ(NativeFromText(TextFromNative("€/x")), "€/x");
  EXPECT_EQ(TextFromNative("€").size(), 6u);
}

TEST(NativeNames, AGenuineCharacterOnAnEscapeIsEscapedItself) {
  // 936 F8A1 is a user-defined character; a name that really holds it must
  // not read back as the byte 0x80.
  const ByteBuffer units = AnsiToUtf16("\xF8\xA1");
  ASSERT_EQ(units.size(), 4u);
  const ByteBuffer utf8 = Utf16ToCodePage(units, kCodePageUtf8);
  const std::string native(utf8.begin(), utf8.end());
  const Text text = TextFromNative(native);
  EXPECT_NE(text, "\xF8\xA1");
  EXPECT_EQ(NativeFromText(text), native);
}

TEST(NativeNames, RoundTripAnyBytes) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string native(random() % 12, '\0');
    for (char& c : native) {
      c = static_cast<char>(random() % 255 + 1);
      if (c == '/') c = 'x';
    }
    if (round % 3 == 0) native += "文件名😀";
    const Text text = TextFromNative(native);
    ASSERT_EQ(NativeFromText(text), native);
    // Every text produced is well formed: lead bytes always have a trail byte.
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (IsLeadByte(text[i])) {
        ASSERT_LT(i + 1, text.size());
        ASSERT_GE(static_cast<unsigned char>(text[i + 1]), 0x40);
        ++i;
      }
    }
  }
}

TEST(NativeNames, DisplayShowsWhatTheNameHolds) {
  EXPECT_EQ(DisplayUtf8FromText(TextFromNative("😀.txt")), "😀.txt");
  EXPECT_EQ(DisplayUtf8FromText(TextFromNative("a\xFF"
                                               "b")),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(DisplayUtf8FromText("\xC2\xB7\xBE\xB6"), "路径");
}

}  // namespace
}  // namespace appdu
