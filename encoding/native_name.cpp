#include "encoding/native_name.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>
#include <optional>

#include "encoding/utf8.h"

namespace appdu {
namespace {

constexpr unsigned char kFirstEscapeLead = 0xF8;
constexpr unsigned char kFirstEscapeTrail = 0xA1;
constexpr int kEscapesPerLead = 94;  // trail bytes A1..FE

// Double-byte code page 936 characters as (lead << 8) | trail.
bool IsEscapeCode(std::uint16_t code) {
  const unsigned lead = code >> 8;
  const unsigned trail = code & 0xFF;
  return (lead == kFirstEscapeLead && trail >= kFirstEscapeTrail && trail <= 0xFE) ||
         (lead == kFirstEscapeLead + 1 && trail >= kFirstEscapeTrail &&
          trail < kFirstEscapeTrail + (128 - kEscapesPerLead));
}

void AppendEscape(Text& out, unsigned char byte) {
  const int k = byte - 0x80;
  const int lead = kFirstEscapeLead + (k < kEscapesPerLead ? 0 : 1);
  const int trail = kFirstEscapeTrail + (k < kEscapesPerLead ? k : k - kEscapesPerLead);
  out.push_back(static_cast<char>(lead));
  out.push_back(static_cast<char>(trail));
}

// The double-byte part of code page 936, both ways, limited to characters that
// survive the round trip. Single-byte characters above 0x7F (the euro sign at
// 0x80) are left out on purpose: in a text every byte from 0x80 up starts a
// double-byte character, so a lone one would swallow the byte after it.
struct GbkTables {
  std::array<char16_t, 0x10000> toUnicode{};         // by (lead << 8) | trail; 0 = none
  std::array<std::uint16_t, 0x10000> fromUnicode{};  // by BMP code point; 0 = none
};

const GbkTables& Tables() {
  static const std::unique_ptr<GbkTables> tables = [] {
    auto built = std::make_unique<GbkTables>();
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-936-2000", &status);
    if (U_FAILURE(status)) return built;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char16_t units[4];
        status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t count = ucnv_toUChars(converter, units, 4, bytes, 2, &status);
        if (U_FAILURE(status) || count != 1 || units[0] == 0xFFFD ||
            (units[0] >= 0xD800 && units[0] < 0xE000))
          continue;
        char back[8];
        status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t backCount = ucnv_fromUChars(converter, back, sizeof back, units, 1, &status);
        if (U_FAILURE(status) || backCount != 2 || back[0] != bytes[0] || back[1] != bytes[1]) continue;
        const std::uint16_t code = static_cast<std::uint16_t>((lead << 8) | trail);
        built->toUnicode[code] = units[0];
        built->fromUnicode[units[0]] = code;
      }
    }
    ucnv_close(converter);
    return built;
  }();
  return *tables;
}

constexpr char32_t kReplacement = 0xFFFD;

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

Text TextFromNative(std::string_view native) {
  if (IsAscii(native)) return Text(native);
  const GbkTables& tables = Tables();
  Text text;
  text.reserve(native.size() + native.size() / 2);
  for (std::size_t i = 0; i < native.size();) {
    const auto byte = static_cast<unsigned char>(native[i]);
    if (byte < 0x80) {
      text.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    std::size_t length = 0;
    const std::optional<char32_t> value = DecodeUtf8(native, i, length);
    const std::uint16_t code = value && *value < 0x10000 ? tables.fromUnicode[*value] : 0;
    if (code != 0 && !IsEscapeCode(code)) {
      text.push_back(static_cast<char>(code >> 8));
      text.push_back(static_cast<char>(code & 0xFF));
      i += length;
    } else {
      AppendEscape(text, byte);
      ++i;
    }
  }
  return text;
}

std::string NativeFromText(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  const GbkTables& tables = Tables();
  std::string native;
  native.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      native.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) {  // a lead byte with nothing after it
      AppendUtf8(native, kReplacement);
      ++i;
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    const std::uint16_t code = static_cast<std::uint16_t>((byte << 8) | trail);
    if (IsEscapeCode(code)) {
      const int k = (byte - kFirstEscapeLead) * kEscapesPerLead + (trail - kFirstEscapeTrail);
      native.push_back(static_cast<char>(0x80 + k));
      i += 2;
    } else if (tables.toUnicode[code] != 0) {
      AppendUtf8(native, tables.toUnicode[code]);
      i += 2;
    } else if (trail < 0x40) {
      // Not a trail byte at all: keep the ASCII byte that follows a bad lead.
      AppendUtf8(native, kReplacement);
      ++i;
    } else {
      AppendUtf8(native, kReplacement);
      i += 2;
    }
  }
  return native;
}

std::string DisplayUtf8FromText(std::string_view text) {
  const std::string native = NativeFromText(text);
  if (IsAscii(native)) return native;
  std::string display;
  display.reserve(native.size());
  for (std::size_t i = 0; i < native.size();) {
    if (static_cast<unsigned char>(native[i]) < 0x80) {
      display.push_back(native[i++]);
      continue;
    }
    std::size_t length = 0;
    if (DecodeUtf8(native, i, length)) {
      display.append(native, i, length);
      i += length;
    } else {
      AppendUtf8(display, kReplacement);
      ++i;
    }
  }
  return display;
}

}  // namespace appdu
