#include "platform/posix/size_reader_posix.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>

namespace appdu::platform {
namespace {

// Below this many files the hand-over costs more than it saves.
constexpr std::size_t kFilesWorthSharing = 12;

// Folders come one right after another during a walk, so each side first
// waits actively for a little while, which is far cheaper than being woken,
// and only then sleeps.
constexpr auto kSpinTime = std::chrono::microseconds(100);

void ReadRange(int folderFd, WalkedFile* begin, WalkedFile* end) {
  struct stat status;
  for (WalkedFile* file = begin; file != end; ++file) {
    file->size =
        fstatat(folderFd, file->name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && status.st_size > 0
            ? static_cast<std::uint64_t>(status.st_size)
            : 0;
  }
}

bool MoreThanOneCore() {
  static const bool many = std::thread::hardware_concurrency() > 1;
  return many;
}

// Waits until `state` no longer holds `value`; returns what it holds then.
int WaitWhile(std::atomic<int>& state, int value) {
  const auto until = std::chrono::steady_clock::now() + kSpinTime;
  int seen;
  while ((seen = state.load(std::memory_order_acquire)) == value) {
    if (std::chrono::steady_clock::now() > until) {
      state.wait(value, std::memory_order_acquire);
    }
  }
  return seen;
}

}  // namespace

SizeReader::~SizeReader() {
  if (!helper_.joinable()) return;
  state_.store(kQuit, std::memory_order_release);
  state_.notify_one();
  helper_.join();
}

void SizeReader::ReadSizes(int folderFd, std::vector<WalkedFile>& files) {
  if (files.size() < kFilesWorthSharing || !MoreThanOneCore()) {
    ReadRange(folderFd, files.data(), files.data() + files.size());
    return;
  }
  if (!helper_.joinable()) helper_ = std::thread(&SizeReader::Serve, this);

  WalkedFile* middle = files.data() + files.size() / 2;
  jobFd_ = folderFd;
  jobBegin_ = files.data();
  jobEnd_ = middle;
  state_.store(kJob, std::memory_order_release);
  state_.notify_one();
  ReadRange(folderFd, middle, files.data() + files.size());
  WaitWhile(state_, kJob);
}

void SizeReader::Serve() {
  for (;;) {
    if (WaitWhile(state_, kIdle) == kQuit) return;
    ReadRange(jobFd_, jobBegin_, jobEnd_);
    state_.store(kIdle, std::memory_order_release);
    state_.notify_one();
  }
}

}  // namespace appdu::platform
