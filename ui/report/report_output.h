#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/listing.h"

namespace appdu {

// One listed row with the exact figures behind its cells.
struct ReportRow {
  Text rank;
  Text path;
  Text age;
  Text sizeText;
  std::int64_t size = 0;
  std::optional<platform::TimeValue> modified;
};

// A JSON string literal for native bytes. Bytes that are not valid UTF-8 are
// written as "\udcXX" (the surrogate-escape convention), so a reader such as
// Python's json + os.fsencode gets the original name back.
std::string JsonString(std::string_view native);

// One JSON object per row: rank, path, size, size_text, modified, age.
std::string JsonLine(const ReportRow& row);

// The rows as an aligned table with a header line, in UTF-8.
std::string Table(const std::vector<ReportRow>& rows);

// Columns a UTF-8 text takes on a terminal (wide CJK characters count two).
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace appdu
