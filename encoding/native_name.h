#pragma once

#include <string>
#include <string_view>

#include "encoding/text.h"

namespace appdu {

// File names and paths on this system are arbitrary bytes, by convention
// UTF-8. These two functions map them to code page 936 texts and back without
// losing anything: a UTF-8 character that code page 936 holds (and that
// survives the round trip) becomes its 936 bytes; every other byte becomes
// one escape character from the 936 user-defined area (byte 0x80+k is
// F8 A1+k for k < 94 and F9 A1+(k-94) above). A genuine character that falls
// on an escape is itself escaped byte by byte, so the mapping is one-to-one.
Text TextFromNative(std::string_view native);
std::string NativeFromText(std::string_view text);

// UTF-8 for display: the native bytes of the text with every byte that is not
// valid UTF-8 replaced by U+FFFD.
std::string DisplayUtf8FromText(std::string_view text);

}  // namespace appdu
