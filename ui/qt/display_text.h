#pragma once

#include <QString>
#include <string_view>

#include "encoding/text.h"

namespace appdu::qt {

// What a control shows for a code page 936 text: the native bytes behind it
// as UTF-8, so that a name the code page lacks (an emoji) shows as itself.
QString DisplayString(const Text& text);

// The code page 936 text of a UTF-8 literal of this front end.
Text TextFromUtf8(std::string_view utf8);

}  // namespace appdu::qt
