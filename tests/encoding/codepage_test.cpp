#include "encoding/codepage.h"

#include <gtest/gtest.h>

namespace appdu {
namespace {

ByteBuffer Bytes(std::initializer_list<int> values) {
  ByteBuffer buffer;
  for (int v : values) buffer.push_back(static_cast<std::uint8_t>(v));
  return buffer;
}

struct TextCase {
  const char* label;
  Text text;
  ByteBuffer utf16;
  ByteBuffer utf8;
};

class TextConversions : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextConversions, GiveTheExpectedBytes) {
  const TextCase& c = GetParam();
  EXPECT_EQ(AnsiToUtf16(c.text), c.utf16);
  EXPECT_EQ(AnsiToUtf8(c.text), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConversions,
    ::testing::Values(TextCase{"empty", "", {}, {}},
                      TextCase{"ascii", "Local", Bytes({0x4C, 0, 0x6F, 0, 0x63, 0, 0x61, 0, 0x6C, 0, 0, 0}),
                               Bytes({0x4C, 0x6F, 0x63, 0x61, 0x6C})},
                      TextCase{"cjk", "\xC2\xB7\xBE\xB6", Bytes({0xEF, 0x8D, 0x84, 0x5F, 0, 0}),
                               Bytes({0xE8, 0xB7, 0xAF, 0xE5, 0xBE, 0x84})},
                      // Where Windows' table differs from other 936 tables.
                      TextCase{"euro", "\x80", Bytes({0xAC, 0x20, 0, 0}), Bytes({0xE2, 0x82, 0xAC})},
                      TextCase{"ff", "\xFF", Bytes({0xF5, 0xF8, 0, 0}), Bytes({0xEF, 0xA3, 0xB5})},
                      TextCase{"a2e3", "\xA2\xE3", Bytes({0x6C, 0xE7, 0, 0}), Bytes({0xEE, 0x9D, 0xAC})},
                      TextCase{"fe50", "\xFE\x50", Bytes({0x15, 0xE8, 0, 0}), Bytes({0xEE, 0xA0, 0x95})},
                      // Malformed input never fails: U+FFFD stands in, and an ASCII byte
                      // after a lead byte without a trail byte is kept.
                      TextCase{"lead then ascii",
                               "\x81"
                               "0",
                               Bytes({0xFD, 0xFF, 0x30, 0, 0, 0}), Bytes({0xEF, 0xBF, 0xBD, 0x30})},
                      TextCase{"lead at end", "A\x81", Bytes({0x41, 0, 0xFD, 0xFF, 0, 0}),
                               Bytes({0x41, 0xEF, 0xBF, 0xBD})}),
    [](const ::testing::TestParamInfo<TextCase>& info) {
      std::string name = info.param.label;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(Utf16ToCodePage, StopsAtTheFirstZeroUnitAndAddsNoTerminator) {
  EXPECT_EQ(Utf16ToCodePage({}, kCodePageUtf8), ByteBuffer{});
  EXPECT_EQ(Utf16ToCodePage(Bytes({0, 0, 0x41, 0}), kCodePageUtf8), ByteBuffer{});
  EXPECT_EQ(Utf16ToCodePage(Bytes({0x41, 0, 0, 0, 0x42, 0}), kCodePageUtf8), Bytes({0x41}));
  EXPECT_EQ(Utf16ToCodePage(Bytes({0x41, 0, 0x42, 0}), kCodePageUtf8), Bytes({0x41, 0x42}));
}

TEST(Utf16ToCodePage, ConvertsToCodePage936AndRejectsUnknownCodePages) {
  EXPECT_EQ(Utf16ToCodePage(Bytes({0xEF, 0x8D, 0x84, 0x5F}), kCodePageGbk), Bytes({0xC2, 0xB7, 0xBE, 0xB6}));
  EXPECT_EQ(Utf16ToCodePage(Bytes({0x41, 0}), 0), ByteBuffer{});
  EXPECT_EQ(Utf16ToCodePage(Bytes({0x41, 0}), 12345), ByteBuffer{});
}

TEST(Utf16ToCodePage, ReplacesAnUnpairedSurrogate) {
  EXPECT_EQ(Utf16ToCodePage(Bytes({0x00, 0xD8, 0x41, 0}), kCodePageUtf8), Bytes({0xEF, 0xBF, 0xBD, 0x41}));
}

TEST(AnsiToUtf16, EndsAtAZeroByteInsideTheText) {
  EXPECT_EQ(AnsiToUtf16(Text("A\0B", 3)), Bytes({0x41, 0, 0, 0}));
}

}  // namespace
}  // namespace appdu
