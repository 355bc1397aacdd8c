#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/listing.h"

namespace appdu {
namespace {

// The unit characters in code page 936.
constexpr char kDays[] = "\xCC\xEC";     // 天
constexpr char kHours[] = "\xCA\xB1";    // 时
constexpr char kMinutes[] = "\xB7\xD6";  // 分
constexpr char kSeconds[] = "\xC3\xEB";  // 秒

void AppendPart(Text& text, std::int64_t value, const char* unit) {
  if (value == 0) return;
  text += std::to_string(value);
  text += unit;
}

}  // namespace

void SortEntriesBySize(std::vector<FolderEntry>& entries, bool descending) {
  // Equal sizes end in the reverse of their input order: a stable sort of
  // the reversed list gives exactly that, in n log n.
  std::reverse(entries.begin(), entries.end());
  if (descending) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const FolderEntry& a, const FolderEntry& b) { return a.size > b.size; });
  } else {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const FolderEntry& a, const FolderEntry& b) { return a.size < b.size; });
  }
}

Text FormatAge(std::optional<platform::TimeValue> modified, platform::TimeValue now) {
  if (!modified) return {};
  // Exact elapsed seconds; a time in the future reads like one as far past.
  const std::int64_t difference = *modified - now;
  const std::uint64_t seconds =
      difference < 0 ? 0 - static_cast<std::uint64_t>(difference) : static_cast<std::uint64_t>(difference);
  Text text;
  AppendPart(text, static_cast<std::int64_t>(seconds / 86400), kDays);
  AppendPart(text, static_cast<std::int64_t>(seconds % 86400 / 3600), kHours);
  AppendPart(text, static_cast<std::int64_t>(seconds % 3600 / 60), kMinutes);
  AppendPart(text, static_cast<std::int64_t>(seconds % 60), kSeconds);
  return text;
}

Text FormatSize(std::int64_t size) {
  constexpr std::int64_t kKilo = 1024, kMega = 1048576, kGiga = 1073741824;
  const char* suffix;
  std::int64_t divisor;
  if (size >= kGiga) {
    divisor = kGiga, suffix = "GB";
  } else if (size >= kMega) {
    divisor = kMega, suffix = "MB";
  } else if (size >= kKilo) {
    divisor = kKilo, suffix = "KB";
  } else {
    return std::to_string(size) + "B";
  }
  const double value = static_cast<double>(size) / static_cast<double>(divisor);
  // Two decimals, half away from zero, with a nudge against binary
  // representations that fall just short of the half.
  const double scaled = std::fabs(value) * 100 + 1e-12;
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5) whole += 1;
  const double rounded = std::copysign(whole / 100, value);
  char text[64];
  std::snprintf(text, sizeof text, "%.13g", rounded);
  return text + Text(suffix);
}

}  // namespace appdu
