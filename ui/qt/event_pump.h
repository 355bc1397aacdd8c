#pragma once

namespace appdu::qt {

// Lets a listing keep the window alive: installs the hook the listing calls
// after every file it measures, which processes the pending Qt events at
// most every few milliseconds and otherwise costs one clock read.
void InstallEventPump();
void RemoveEventPump();

}  // namespace appdu::qt
