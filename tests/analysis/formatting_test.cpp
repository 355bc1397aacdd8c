#include <gtest/gtest.h>

#include <random>

#include "analysis/listing.h"
#include "encoding/native_name.h"

namespace appdu {
namespace {

TEST(FormatSize, MatchesTheTable) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0B"},           {1023, "1023B"},
      {1024, "1KB"},       {1152, "1.13KB"},  // an exact half goes up
      {1536, "1.5KB"},     {1048575, "1024KB"},
      {1048576, "1MB"},    {1073741823, "1024MB"},
      {1073741824, "1GB"}, {5ll << 40, "5120GB"},
      {3ll << 30, "3GB"},  {1288490189, "1.2GB"},
      {-5, "-5B"},         {INT64_MAX, "8589934592GB"},
  };
  for (const auto& [size, text] : cases) EXPECT_EQ(FormatSize(size), text) << size;
}

TEST(FormatAge, SpellsDaysHoursMinutesSecondsLeavingOutZeros) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, ""},
      {59, "59秒"},
      {60, "1分"},
      {61, "1分1秒"},
      {90, "1分30秒"},  // exact elapsed seconds, not one short
      {3601, "1时1秒"},
      {86400, "1天"},
      {86400 + 2 * 3600 + 3 * 60 + 4, "1天2时3分4秒"},
      // Far past the 32-bit range of seconds: no overflow.
      {100ll * 365 * 86400, "36500天"},
  };
  const platform::TimeValue now = 1'800'000'000;
  for (const auto& [seconds, text] : cases) {
    EXPECT_EQ(DisplayUtf8FromText(FormatAge(now - seconds, now)), text) << seconds;
    // A time in the future reads like one as far in the past.
    EXPECT_EQ(DisplayUtf8FromText(FormatAge(now + seconds, now)), text) << -seconds;
  }
  EXPECT_EQ(FormatAge(std::nullopt, now), "");
}

// The ordering by insertion the sort must give, kept here as the reference.
std::vector<FolderEntry> InsertionSorted(const std::vector<FolderEntry>& entries, bool descending) {
  std::vector<FolderEntry> result;
  for (const FolderEntry& x : entries) {
    auto at = result.begin();
    while (at != result.end() && !(descending ? x.size >= at->size : x.size <= at->size)) ++at;
    result.insert(at, x);
  }
  return result;
}

TEST(SortEntriesBySize, GivesTheInsertionOrderWithEqualSizesReversed) {
  std::mt19937_64 random(11);
  for (bool descending : {true, false}) {
    for (int round = 0; round < 50; ++round) {
      std::vector<FolderEntry> entries;
      const int count = static_cast<int>(random() % 200);
      for (int i = 0; i < count; ++i) {
        // Few distinct sizes, negative ones included, so ties are common.
        entries.push_back({"e" + std::to_string(i), static_cast<std::int64_t>(random() % 7) - 2});
      }
      const std::vector<FolderEntry> expected = InsertionSorted(entries, descending);
      SortEntriesBySize(entries, descending);
      ASSERT_EQ(entries.size(), expected.size());
      for (std::size_t i = 0; i < entries.size(); ++i) ASSERT_EQ(entries[i].path, expected[i].path);
    }
  }
}

TEST(SortEntriesBySize, OrdersAHundredThousandFolders) {
  std::vector<FolderEntry> entries;
  for (int i = 0; i < 100000; ++i) entries.push_back({std::to_string(i), (i * 7919) % 1000});
  SortEntriesBySize(entries, true);
  for (std::size_t i = 1; i < entries.size(); ++i) {
    ASSERT_GE(entries[i - 1].size, entries[i].size);
    if (entries[i - 1].size == entries[i].size) {
      ASSERT_GT(std::stoi(entries[i - 1].path), std::stoi(entries[i].path));
    }
  }
}

}  // namespace
}  // namespace appdu
