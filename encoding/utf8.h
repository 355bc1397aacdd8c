#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace appdu {

// Decodes the strict UTF-8 sequence at `at` and sets `length` to its bytes.
// Nothing when the bytes there are not one (overlong forms, surrogates and
// values past U+10FFFF are not).
std::optional<char32_t> DecodeUtf8(std::string_view bytes, std::size_t at, std::size_t& length);

void AppendUtf8(std::string& out, char32_t value);

}  // namespace appdu
