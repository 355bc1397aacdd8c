#pragma once

#include "encoding/text.h"

namespace appdu {

inline constexpr std::int32_t kCodePageGbk = 936;
inline constexpr std::int32_t kCodePageUtf8 = 65001;

// The text's UTF-16 form: little-endian units followed by one zero unit.
// The empty text gives the empty buffer (no zero unit).
ByteBuffer AnsiToUtf16(const Text& text);

// The bytes, in the given code page, of the UTF-16 units before the first
// zero unit, without a terminator. An unknown code page gives the empty buffer.
ByteBuffer Utf16ToCodePage(const ByteBuffer& units, std::int32_t codePage);

// The text's UTF-8 bytes, without a terminator.
ByteBuffer AnsiToUtf8(const Text& text);

}  // namespace appdu
