#include "navigation/navigation.h"

#include "platform/path_separator.h"

namespace appdu {

Text ParentFolder(const Text& path) {
  Text parent = path;
  if (!parent.empty() && parent.back() == platform::kPathSeparator) parent.pop_back();
  // Character by character, so that the trail byte of a double-byte
  // character is never taken for a separator.
  std::size_t last = Text::npos;
  for (std::size_t i = 0; i < parent.size(); ++i) {
    if (IsLeadByte(parent[i])) {
      ++i;
    } else if (parent[i] == platform::kPathSeparator) {
      last = i;
    }
  }
  return last == Text::npos ? Text() : parent.substr(0, last + 1);
}

void ListParentFolder(ListingSession& session) {
  // A copy: the listing replaces the current folder while it runs.
  const Text parent = ParentFolder(session.currentFolder);
  ListFolder(session, parent);
}

void ListSelectedFolder(ListingSession& session) {
  const int row = session.controls.SelectedRow();
  if (row < 0) return;
  const Text folder = session.controls.CellText(row, kPathColumn);
  ListFolder(session, folder);
}

}  // namespace appdu
