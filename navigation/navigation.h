#pragma once

#include "analysis/listing.h"
#include "encoding/text.h"

namespace appdu {

inline constexpr int kKnownFolderCount = 43;
inline constexpr int kUserProfileRow = 38;

// The known-folder table's name at `index` (1 to 43; others are taken as 1).
Text KnownFolderName(int index);

// The folder a known-folder row names: the executable's folder for the last
// row, else the environment variable (ignoring case), else the shell-folder
// store; the empty text when nothing is found.
Text ResolveKnownFolder(int index);

// The folder the window lists first.
Text HomeFolder();

// The parent of `path`, ending in a separator, or the empty text.
Text ParentFolder(const Text& path);

// "上级": lists the parent of the current folder (always lists).
void ListParentFolder(ListingSession& session);

// "下级": lists the selected row's folder; nothing without a selected row.
void ListSelectedFolder(ListingSession& session);

}  // namespace appdu
