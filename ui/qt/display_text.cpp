#include "ui/qt/display_text.h"

#include "encoding/native_name.h"

namespace appdu::qt {

QString DisplayString(const Text& text) {
  if (text.empty()) return {};
  const std::string utf8 = DisplayUtf8FromText(text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Text TextFromUtf8(std::string_view utf8) { return TextFromNative(utf8); }

}  // namespace appdu::qt
