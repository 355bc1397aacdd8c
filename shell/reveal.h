#pragma once

#include "analysis/listing_controls.h"
#include "encoding/text.h"
#include "shell/message_box.h"

namespace appdu {

// Once-per-run state of the deletion notice.
struct RevealState {
  bool deletionNoticeShown = false;
};

// Opens the desktop's file manager on the folder that holds `path`, with
// `path` selected. False when the path does not exist or the request could
// not be sent.
bool RevealInFileManager(const Text& path);

// "删除": the first time it finds a row selected it shows "请手动删除", then
// reveals the selected folder.
void RevealForDeletion(const ListingControls& list, MessageBox& messageBox, RevealState& state);

// Right click in the list: reveals the selected folder, never with the notice.
void RevealSelectedFolder(const ListingControls& list);

}  // namespace appdu
