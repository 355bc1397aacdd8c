#include "analysis/wildcard.h"

#include <vector>

namespace appdu {
namespace {

// Splits a text into characters: one byte, or two from a lead byte on.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  characters.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

bool GlobMatch(const std::vector<std::string_view>& pattern, const std::vector<std::string_view>& name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == "*") {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == "?" || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "*") ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern.empty() || name.empty()) return false;
  if (pattern == "*" || pattern == "*.*") return true;
  const std::vector<std::string_view> nameCharacters = Characters(name);
  if (GlobMatch(Characters(pattern), nameCharacters)) return true;
  // As on Windows, a final ".*" also matches a name with no extension at all.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos) {
    return GlobMatch(Characters(pattern.substr(0, pattern.size() - 2)), nameCharacters);
  }
  return false;
}

TextList SplitPatterns(std::string_view patterns) {
  TextList pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < patterns.size();) {
    if (IsLeadByte(patterns[i])) {
      i += 2;
    } else if (patterns[i] == '|') {
      pieces.emplace_back(patterns.substr(start, i - start));
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < patterns.size()) pieces.emplace_back(patterns.substr(start));
  return pieces;
}

}  // namespace appdu
