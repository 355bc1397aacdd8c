#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "platform/tree_walk.h"

namespace appdu::platform {

// Reads the recorded sizes of the files of one folder. On a machine with more
// than one core, a folder's files are split with a helper thread, so the
// lookups run side by side; the call returns only when every size is in.
// The helper touches nothing but the sizes of its half of the list.
class SizeReader {
 public:
  SizeReader() = default;
  ~SizeReader();
  SizeReader(const SizeReader&) = delete;
  SizeReader& operator=(const SizeReader&) = delete;

  void ReadSizes(int folderFd, std::vector<WalkedFile>& files);

 private:
  enum State : int { kIdle, kJob, kQuit };
  void Serve();

  std::thread helper_;
  // kIdle -> kJob (by the caller, with the job filled in) -> kIdle (by the
  // helper, its half done); kQuit ends the helper.
  std::atomic<int> state_{kIdle};
  int jobFd_ = -1;
  WalkedFile* jobBegin_ = nullptr;
  WalkedFile* jobEnd_ = nullptr;
};

}  // namespace appdu::platform
