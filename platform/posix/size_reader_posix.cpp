#include "platform/posix/size_reader_posix.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace appdu::platform {
namespace {

// Below this many files the hand-over costs more than it saves.
constexpr std::size_t kFilesWorthSharing = 48;

void ReadRange(int folderFd, WalkedFile* begin, WalkedFile* end) {
  struct stat status;
  for (WalkedFile* file = begin; file != end; ++file) {
    file->size = fstatat(folderFd, file->name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && status.st_size > 0
                     ? static_cast<std::uint64_t>(status.st_size)
                     : 0;
  }
}

bool MoreThanOneCore() {
  static const bool many = std::thread::hardware_concurrency() > 1;
  return many;
}

}  // namespace

SizeReader::~SizeReader() {
  if (!helper_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  helper_.join();
}

void SizeReader::ReadSizes(int folderFd, std::vector<WalkedFile>& files) {
  if (files.size() < kFilesWorthSharing || !MoreThanOneCore()) {
    ReadRange(folderFd, files.data(), files.data() + files.size());
    return;
  }
  if (!helper_.joinable()) helper_ = std::thread(&SizeReader::Serve, this);

  WalkedFile* middle = files.data() + files.size() / 2;
  {
    std::lock_guard lock(mutex_);
    jobFd_ = folderFd;
    jobBegin_ = files.data();
    jobEnd_ = middle;
    hasJob_ = true;
  }
  wake_.notify_one();
  ReadRange(folderFd, middle, files.data() + files.size());
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return !hasJob_; });
}

void SizeReader::Serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return hasJob_ || quit_; });
    if (quit_) return;
    lock.unlock();
    ReadRange(jobFd_, jobBegin_, jobEnd_);
    lock.lock();
    hasJob_ = false;
    done_.notify_one();
  }
}

}  // namespace appdu::platform
