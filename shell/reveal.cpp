#include "shell/reveal.h"

#include "encoding/native_name.h"
#include "platform/file_manager.h"
#include "platform/file_system.h"

namespace appdu {
namespace {

// "请手动删除" (delete it by hand) in code page 936.
constexpr char kDeleteByHandNotice[] = "\xC7\xEB\xCA\xD6\xB6\xAF\xC9\xBE\xB3\xFD";

Text SelectedPath(const ListingControls& list) {
  const int row = list.SelectedRow();
  return row < 0 ? Text() : list.CellText(row, kPathColumn);
}

}  // namespace

bool RevealInFileManager(const Text& path) {
  if (path.empty()) return false;
  const std::string native = NativeFromText(path);
  if (!platform::PathExists(native)) return false;
  return platform::ShowInFileManager(native);
}

void RevealForDeletion(const ListingControls& list, MessageBox& messageBox, RevealState& state) {
  if (list.SelectedRow() < 0) return;
  if (!state.deletionNoticeShown) {
    // Set first: a failed reveal still uses up the notice.
    state.deletionNoticeShown = true;
    messageBox.Show(kDeleteByHandNotice, kDefaultMessageTitle, MessageBoxButtons::Ok);
  }
  // Read again: the selection may have changed while the notice was up.
  RevealInFileManager(SelectedPath(list));
}

void RevealSelectedFolder(const ListingControls& list) { RevealInFileManager(SelectedPath(list)); }

}  // namespace appdu
