#include "ui/report/report_output.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "encoding/native_name.h"
#include "encoding/utf8.h"
#include "platform/clock.h"

namespace appdu {
namespace {

// Decodes one UTF-8 character; 0 length when the bytes there are not one.
char32_t DecodeOne(std::string_view text, std::size_t at, std::size_t& length) {
  const std::optional<char32_t> value = DecodeUtf8(text, at, length);
  if (!value) length = 0;
  return value.value_or(0);
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string PadRight(const std::string& text, std::size_t width) {
  const std::size_t used = DisplayWidth(text);
  return used >= width ? text : text + std::string(width - used, ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
  const std::size_t used = DisplayWidth(text);
  return used >= width ? text : std::string(width - used, ' ') + text;
}

}  // namespace

std::string JsonString(std::string_view native) {
  std::string out = "\"";
  char escape[8];
  for (std::size_t i = 0; i < native.size();) {
    std::size_t length = 0;
    const char32_t c = DecodeOne(native, i, length);
    if (length == 0) {
      std::snprintf(escape, sizeof escape, "\\udc%02x", static_cast<unsigned char>(native[i]));
      out += escape;
      ++i;
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out.append(native, i, length);
    }
    i += length;
  }
  return out + "\"";
}

std::string JsonLine(const ReportRow& row) {
  std::string line = "{\"rank\":" + row.rank;
  line += ",\"path\":" + JsonString(NativeFromText(row.path));
  line += ",\"size\":" + std::to_string(row.size);
  line += ",\"size_text\":" + JsonString(DisplayUtf8FromText(row.sizeText));
  line +=
      ",\"modified\":" + (row.modified ? JsonString(platform::FormatLocalIso8601(*row.modified)) : "null");
  line += ",\"age\":" + JsonString(DisplayUtf8FromText(row.age));
  return line + "}";
}

std::string Table(const std::vector<ReportRow>& rows) {
  const std::string headers[4] = {"索引", "路径", "修改时间", "大小"};
  std::vector<std::array<std::string, 4>> cells;
  cells.push_back({headers[0], headers[1], headers[2], headers[3]});
  for (const ReportRow& row : rows) {
    cells.push_back({DisplayUtf8FromText(row.rank), DisplayUtf8FromText(row.path),
                     DisplayUtf8FromText(row.age), DisplayUtf8FromText(row.sizeText)});
  }
  std::size_t widths[4] = {0, 0, 0, 0};
  for (const auto& line : cells)
    for (int c = 0; c < 4; ++c) widths[c] = std::max(widths[c], DisplayWidth(line[c]));

  std::string out;
  for (const auto& line : cells) {
    out += PadLeft(line[0], widths[0]) + "  " + PadRight(line[1], widths[1]) + "  " +
           PadRight(line[2], widths[2]) + "  " + PadLeft(line[3], widths[3]) + "\n";
  }
  return out;
}

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 0;
    const char32_t c = DecodeOne(utf8, i, length);
    if (length == 0) {
      ++width;
      ++i;
      continue;
    }
    width += IsWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace appdu
