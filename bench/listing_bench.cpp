// Runs one listing of a folder for the benchmark, in one of three ways:
//   listing   the listing as the window runs it, with no pump hook
//   pump      the same with a pump hook installed that does nothing
//   per-path  every file listed by path, then each path's size queried on
//             its own, one lookup of the whole path per file
// It prints the total of all rows, so the ways can be checked against each
// other.

#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/enumeration.h"
#include "analysis/listing.h"
#include "bench/silent_controls.h"
#include "encoding/native_name.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: listing_bench listing|pump|per-path FOLDER\n");
    return 2;
  }
  const std::string mode = argv[1];
  const appdu::Text folder = appdu::TextFromNative(argv[2]);
  std::int64_t total = 0;
  if (mode == "per-path") {
    appdu::TextList subfolders;
    appdu::EnumerateSubfolders(folder, subfolders, true);
    appdu::TextList files;
    for (const appdu::Text& subfolder : subfolders) {
      files.clear();
      appdu::EnumerateFiles(subfolder, "*.*", files, true, true);
      for (const appdu::Text& file : files) total += appdu::QueryFileSize(file);
    }
  } else if (mode == "listing" || mode == "pump") {
    volatile int pumps = 0;
    if (mode == "pump") appdu::SetPumpHook([&pumps] { pumps = pumps + 1; });
    appdu::bench::SilentControls controls;
    appdu::platform::SystemClock clock;
    appdu::ListingSession session(controls, clock);
    session.rowWritten = [&total](int, const appdu::FolderEntry& entry, auto) { total += entry.size; };
    appdu::ListFolder(session, folder);
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  std::printf("%lld\n", static_cast<long long>(total));
  return 0;
}
