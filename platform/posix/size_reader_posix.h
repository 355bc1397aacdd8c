#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/tree_walk.h"

namespace appdu::platform {

// Reads the recorded sizes of the files of one folder. On a machine with more
// than one core, a large folder's files are split with a helper thread, so
// the lookups run side by side; the call returns only when every size is in.
// The helper touches nothing but the sizes of its half of the list.
class SizeReader {
 public:
  SizeReader() = default;
  ~SizeReader();
  SizeReader(const SizeReader&) = delete;
  SizeReader& operator=(const SizeReader&) = delete;

  void ReadSizes(int folderFd, std::vector<WalkedFile>& files);

 private:
  void Serve();

  std::thread helper_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  int jobFd_ = -1;
  WalkedFile* jobBegin_ = nullptr;
  WalkedFile* jobEnd_ = nullptr;
  bool hasJob_ = false;
  bool quit_ = false;
};

}  // namespace appdu::platform
