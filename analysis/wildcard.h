#pragma once

#include <string_view>

#include "encoding/text.h"

namespace appdu {

// Windows wildcard matching over code page 936 texts: "*" matches any run of
// characters, "?" exactly one (a double-byte character counts as one), and
// "*.*" matches every name, names without a dot included. Case-sensitive.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Splits "|"-separated patterns: the text before each "|" is a piece, empty
// ones included; the text after the last "|" only when it is not empty.
// Trail bytes of double-byte characters are never taken for "|".
TextList SplitPatterns(std::string_view patterns);

}  // namespace appdu
