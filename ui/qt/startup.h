#pragma once

#include <string>

namespace appdu::qt {

// The web engine keeps a certificate store below $HOME (~/.pki/nssdb) that no
// setting turns off. While one of these lives, the process's own HOME points
// at a private temporary folder, removed at the end, after the environment as
// it was has been kept: everything appdu reads (the home folder, the XDG
// folders) and the programs it starts still see the real one.
class PrivateBrowserHome {
 public:
  PrivateBrowserHome();
  ~PrivateBrowserHome();
  PrivateBrowserHome(const PrivateBrowserHome&) = delete;
  PrivateBrowserHome& operator=(const PrivateBrowserHome&) = delete;

 private:
  std::string folder_;
};

// What must be settled before the QApplication exists: no shader caches on
// disk, and the web engine's sandbox off when running as the superuser
// (Chromium refuses it there), said once on standard error.
void PrepareProcess();

// The whole program: the disclaimer, then the window until it is closed.
// Always 0.
int RunProgram(int argc, char** argv);

}  // namespace appdu::qt
