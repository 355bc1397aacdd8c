// appdu-report: lists a folder's subfolders by total size, largest first, on
// a terminal, or as one JSON object per row with --json.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/listing.h"
#include "encoding/native_name.h"
#include "navigation/navigation.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "ui/report/console_controls.h"
#include "ui/report/report_output.h"

namespace {

constexpr char kUsage[] =
    "usage: appdu-report [--json] [FOLDER]\n"
    "Lists the subfolders of FOLDER (by default the home folder) with their total sizes, largest first.\n"
    "  --json   one JSON object per row: rank, path, size, size_text, modified, age\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "appdu-report: %s\n%s", problem, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  bool haveFolder = false;
  std::string folder;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument == "--json") {
      json = true;
    } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      return Usage(("unknown option " + argument).c_str());
    } else if (haveFolder) {
      return Usage("give one folder only");
    } else {
      folder = argument;
      haveFolder = true;
    }
  }

  appdu::ConsoleControls controls(appdu::platform::StandardErrorIsTerminal());
  appdu::platform::SystemClock clock;
  appdu::ListingSession session(controls, clock);
  std::vector<appdu::ReportRow> rows;
  session.rowWritten = [&](int, const appdu::FolderEntry& entry,
                           std::optional<appdu::platform::TimeValue> modified) {
    rows.push_back({{}, entry.path, {}, {}, entry.size, modified});
  };
  appdu::ListFolder(session, haveFolder ? appdu::TextFromNative(folder) : appdu::HomeFolder());
  controls.FinishPercent();

  // The cell texts are what the listing wrote; the figures came with them.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& cells = controls.rows()[i];
    rows[i].rank = cells[appdu::kRankColumn];
    rows[i].age = cells[appdu::kAgeColumn];
    rows[i].sizeText = cells[appdu::kSizeColumn];
  }
  if (json) {
    std::string out;
    for (const appdu::ReportRow& row : rows) out += appdu::JsonLine(row) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
  } else {
    const std::string table = appdu::Table(rows);
    std::fwrite(table.data(), 1, table.size(), stdout);
  }
  return 0;
}
