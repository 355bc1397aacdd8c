#include "encoding/codepage.h"

#include <unicode/ucnv.h>

#include <memory>
#include <string>

namespace appdu {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's name for a Windows code page number; empty when we do not know it.
std::string ConverterName(std::int32_t codePage) {
  switch (codePage) {
    case kCodePageGbk:
      // Windows' own table for 936, which glibc's and Python's cp936 are not.
      return "windows-936-2000";
    case kCodePageUtf8:
      return "UTF-8";
    default:
      return codePage > 0 ? "windows-" + std::to_string(codePage) : std::string();
  }
}

// One converter per code page and thread, opened on first use: ICU
// converters carry state and are not to be shared between threads.
UConverter* Converter(std::int32_t codePage) {
  thread_local ConverterPtr gbk;
  thread_local ConverterPtr utf8;
  thread_local ConverterPtr other;
  thread_local std::int32_t otherCodePage = 0;

  ConverterPtr* slot = codePage == kCodePageGbk ? &gbk : codePage == kCodePageUtf8 ? &utf8 : &other;
  if (slot == &other && otherCodePage != codePage) {
    other.reset();
    otherCodePage = codePage;
  }
  if (!*slot) {
    const std::string name = ConverterName(codePage);
    if (name.empty()) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    slot->reset(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) {
      slot->reset();
      return nullptr;
    }
  }
  ucnv_reset(slot->get());
  return slot->get();
}

}  // namespace

ByteBuffer AnsiToUtf16(const Text& text) {
  // The text ends at its first zero byte, as a zero-terminated string would.
  const std::size_t length = text.find('\0') == Text::npos ? text.size() : text.find('\0');
  if (length == 0) return {};
  UConverter* converter = Converter(kCodePageGbk);
  if (converter == nullptr) return {};

  // At most one unit per byte, plus the zero unit.
  std::u16string units(length + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t written = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()),
                                        text.data(), static_cast<int32_t>(length), &status);
  if (U_FAILURE(status) || written <= 0) return {};

  ByteBuffer buffer(2 * (static_cast<std::size_t>(written) + 1), 0);
  for (int32_t i = 0; i < written; ++i) {
    buffer[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
    buffer[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
  }
  return buffer;
}

ByteBuffer Utf16ToCodePage(const ByteBuffer& units, std::int32_t codePage) {
  // The units before the first zero unit; an odd last byte is not a unit.
  std::u16string source;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(units[i] | (units[i + 1] << 8));
    if (unit == 0) break;
    source.push_back(unit);
  }
  if (source.empty()) return {};
  UConverter* converter = Converter(codePage);
  if (converter == nullptr) return {};

  UErrorCode status = U_ZERO_ERROR;
  const int32_t needed =
      ucnv_fromUChars(converter, nullptr, 0, source.data(), static_cast<int32_t>(source.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return {};
  if (needed <= 0) return {};

  std::string bytes(static_cast<std::size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  ucnv_reset(converter);
  ucnv_fromUChars(converter, bytes.data(), needed, source.data(), static_cast<int32_t>(source.size()),
                  &status);
  if (U_FAILURE(status)) return {};
  // Nothing after the first zero byte belongs to the result.
  const std::size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  return ByteBuffer(bytes.begin(), bytes.end());
}

ByteBuffer AnsiToUtf8(const Text& text) { return Utf16ToCodePage(AnsiToUtf16(text), kCodePageUtf8); }

}  // namespace appdu
