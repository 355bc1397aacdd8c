#pragma once

namespace appdu::qt {

// What must be settled before the QApplication exists: no shader caches on
// disk, and the web engine's sandbox off when running as the superuser
// (Chromium refuses it there), said once on standard error.
void PrepareProcess();

// The whole program: the disclaimer, then the window until it is closed.
// Always 0.
int RunProgram(int argc, char** argv);

}  // namespace appdu::qt
