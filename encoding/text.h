#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace appdu {

// A text is a run of code page 936 bytes; a byte of 0x80 or above starts a
// double-byte character together with the byte after it. std::string keeps
// the terminator implicit, so the empty string is the empty (or absent) text.
using Text = std::string;

// An ordered list of texts; the operations that fill one append to it.
using TextList = std::vector<Text>;

// A length and that many bytes; the empty buffer is the same as an absent one.
using ByteBuffer = std::vector<std::uint8_t>;

// True when the byte at this position starts a double-byte character.
inline bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

}  // namespace appdu
