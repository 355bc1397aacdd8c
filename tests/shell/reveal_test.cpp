// The reveal against a real, private session bus: a stand-in file manager
// owns org.freedesktop.FileManager1 (or is started by the bus) and records
// every request, and a recording xdg-open sits first on PATH.
#include "shell/reveal.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "encoding/native_name.h"
#include "navigation/scoped_environment.h"
#include "support/front_end_fakes.h"
#include "support/temp_tree.h"

extern char** environ;

namespace appdu {
namespace {

using testing::FakeControls;
using testing::RecordingMessageBox;
using testing::ScopedEnvironment;
using testing::TempDir;

constexpr auto kPatience = std::chrono::seconds(10);

pid_t Start(const std::vector<std::string>& arguments, int standardOutput = -1) {
  std::vector<char*> argv;
  for (const std::string& each : arguments) argv.push_back(const_cast<char*>(each.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (standardOutput >= 0) posix_spawn_file_actions_adddup2(&actions, standardOutput, STDOUT_FILENO);
  pid_t pid = -1;
  int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Children of this process that have ended and not been waited for.
int ZombieChildren() {
  int zombies = 0;
  const std::string self = std::to_string(getpid());
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string stat = ReadFile(entry.path().string() + "/stat");
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    std::string parent;
    fields >> state >> parent;
    if (parent == self && state == "Z") ++zombies;
  }
  return zombies;
}

// A dbus-daemon of its own, for this test alone. With `activatable`, the bus
// starts the recorder when a message names the file manager.
class PrivateBus {
 public:
  PrivateBus(const TempDir& dir, const std::string& record, bool activatable) {
    const std::string services = dir / "services";
    std::filesystem::create_directories(services);
    std::ofstream(dir / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:dir="
        << dir.path() << "</listen><servicedir>" << services
        << "</servicedir><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    if (activatable) {
      std::ofstream(services + "/org.freedesktop.FileManager1.service")
          << "[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec=" << APPDU_FILE_MANAGER_RECORDER << " "
          << record << "\n";
    }
    int pipe_[2];
    if (pipe(pipe_) != 0) return;
    pid_ = Start({"dbus-daemon", "--config-file=" + (dir / "bus.conf"), "--nofork", "--print-address=1"},
                 pipe_[1]);
    close(pipe_[1]);
    char byte = 0;
    while (pid_ > 0 && read(pipe_[0], &byte, 1) == 1 && byte != '\n') address_ += byte;
    close(pipe_[0]);
  }
  ~PrivateBus() { Stop(pid_); }

  const std::string& address() const { return address_; }

 private:
  pid_t pid_ = -1;
  std::string address_;
};

struct AwkwardName {
  std::string native;
  std::string inUri;
};

const std::vector<AwkwardName> kAwkwardNames = {
    {"$(touch x)", "%24%28touch%20x%29"},
    {"a;b", "a%3Bb"},
    {"-rf", "-rf"},
    {"new\nline", "new%0Aline"},
    {"it's \"quoted\"", "it%27s%20%22quoted%22"},
    {"#tag", "%23tag"},
    {"100%", "100%25"},
    {"why?", "why%3F"},
    {" lead&trail ", "%20lead%26trail%20"},
    {"back\\slash", "back%5Cslash"},
    // "路径 文件" and two bytes that are not UTF-8.
    {"\xE8\xB7\xAF\xE5\xBE\x84 \xE6\x96\x87\xE4\xBB\xB6", "%E8%B7%AF%E5%BE%84%20%E6%96%87%E4%BB%B6"},
    {"\xFF\xFE", "%FF%FE"},
};

// "请手动删除" and "信息：" in code page 936.
const Text kNotice = "\xC7\xEB\xCA\xD6\xB6\xAF\xC9\xBE\xB3\xFD";
const Text kNoticeTitle = "\xD0\xC5\xCF\xA2\xA3\xBA";

class RevealTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        dir_.path().find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-_."),
        std::string::npos)
        << "the URIs below are spelled for a plain temporary folder";
    dir_.MakeFolder("bin");
    dir_.MakeFolder("t");
    const std::string xdgOpen = dir_ / "bin/xdg-open";
    std::ofstream(xdgOpen) << "#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" >> \"$APPDU_TEST_XDG_OPEN_LOG\"\n";
    std::filesystem::permissions(xdgOpen, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    setenv("PATH", (dir_ / "bin:" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
    setenv("APPDU_TEST_XDG_OPEN_LOG", (dir_ / "xdg-open.log").c_str(), 1);
    // Anything a shell would run lands here, where the tests look for it.
    ASSERT_EQ(chdir((dir_ / "t").c_str()), 0);
  }

  void TearDown() override {
    Stop(recorder_);
    bus_.reset();
    EXPECT_EQ(chdir("/"), 0);
  }

  void StartBus(bool withRecorder, bool activatable = false) {
    bus_ = std::make_unique<PrivateBus>(dir_, Record(), activatable);
    ASSERT_FALSE(bus_->address().empty());
    setenv("DBUS_SESSION_BUS_ADDRESS", bus_->address().c_str(), 1);
    if (!withRecorder) return;
    recorder_ = Start({APPDU_FILE_MANAGER_RECORDER, Record(), dir_ / "ready"});
    ASSERT_GT(recorder_, 0);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(dir_ / "ready"); }));
  }

  std::string Record() const { return dir_ / "record"; }

  // The first `count` requests the file manager received; fails when fewer
  // arrive in time.
  std::vector<std::string> Requests(std::size_t count) const {
    std::vector<std::string> lines;
    EXPECT_TRUE(WaitFor([&] {
      lines = Lines(ReadFile(Record()));
      return lines.size() >= count;
    })) << "only "
        << lines.size() << " of " << count << " requests arrived";
    return lines;
  }

  std::string ShowItemsLine(const std::string& uriPath) const {
    return "ShowItems 1 [] file://" + dir_.path() + "/t/" + uriPath;
  }

  // The argument lists xdg-open was started with.
  std::vector<std::vector<std::string>> XdgOpenCalls() const {
    std::vector<std::string> fields;
    std::istringstream log(ReadFile(dir_ / "xdg-open.log"));
    for (std::string field; std::getline(log, field, '\0');) fields.push_back(field);
    std::vector<std::vector<std::string>> calls;
    for (std::size_t at = 0; at < fields.size();) {
      std::size_t count = std::stoul(fields[at++]);
      calls.emplace_back(fields.begin() + at, fields.begin() + std::min(fields.size(), at + count));
      at += count;
    }
    return calls;
  }

  Text InTree(const std::string& relative) const { return TextFromNative(dir_ / "t/" + relative); }

  // Declared first so that it goes last, after the environment is back.
  TempDir dir_;
  ScopedEnvironment savedEnvironment_;
  std::unique_ptr<PrivateBus> bus_;
  pid_t recorder_ = -1;
  FakeControls list_;
};

TEST_F(RevealTest, FileManagerReceivesTheExactUriOfAwkwardNames) {
  StartBus(true);
  std::vector<std::string> expected;
  for (const AwkwardName& name : kAwkwardNames) {
    dir_.MakeFolder("t/" + name.native);
    list_.ShowPaths({"/unused", InTree(name.native)});
    list_.selectedRow = 1;
    RevealSelectedFolder(list_);
    expected.push_back(ShowItemsLine(name.inUri));
  }
  // A trailing separator is dropped; a relative path is taken from the
  // working folder.
  EXPECT_TRUE(RevealInFileManager(InTree("a;b/")));
  expected.push_back(ShowItemsLine("a%3Bb"));
  EXPECT_TRUE(RevealInFileManager("-rf"));
  expected.push_back(ShowItemsLine("-rf"));

  EXPECT_EQ(Requests(expected.size()), expected);
  EXPECT_TRUE(XdgOpenCalls().empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "t/x"));
}

TEST_F(RevealTest, NothingIsSentForAMissingPathOrWithoutASelectedRow) {
  StartBus(true);
  dir_.MakeFolder("t/present");
  list_.ShowPaths({InTree("gone"), InTree("present")});

  list_.selectedRow = -1;
  RevealSelectedFolder(list_);
  list_.selectedRow = 0;
  RevealSelectedFolder(list_);
  EXPECT_FALSE(RevealInFileManager(InTree("gone")));
  EXPECT_FALSE(RevealInFileManager(""));
  // Requests from one sender arrive in order: had any of the above been
  // sent, it would come before this one.
  list_.selectedRow = 1;
  RevealSelectedFolder(list_);

  EXPECT_EQ(Requests(1), std::vector<std::string>{ShowItemsLine("present")});
  EXPECT_TRUE(XdgOpenCalls().empty());
}

TEST_F(RevealTest, DeletionShowsTheNoticeOnceAndRightClickNever) {
  StartBus(true);
  dir_.MakeFolder("t/first");
  dir_.MakeFolder("t/second");
  list_.ShowPaths({InTree("first"), InTree("second")});
  RecordingMessageBox box;
  RevealState state;

  // No row selected: no notice, nothing revealed, the notice is still due.
  list_.selectedRow = -1;
  RevealForDeletion(list_, box, state);
  EXPECT_TRUE(box.texts.empty());
  EXPECT_FALSE(state.deletionNoticeShown);

  // A right click reveals without the notice and leaves it due.
  list_.selectedRow = 0;
  RevealSelectedFolder(list_);
  EXPECT_TRUE(box.texts.empty());
  EXPECT_FALSE(state.deletionNoticeShown);

  // The first deletion with a row selected: the flag is set before the
  // notice shows, and the row is read again once it is dismissed.
  bool flagSetWhenShown = false;
  box.onShow = [&] {
    flagSetWhenShown = state.deletionNoticeShown;
    list_.selectedRow = 1;
  };
  RevealForDeletion(list_, box, state);
  EXPECT_TRUE(flagSetWhenShown);
  EXPECT_EQ(box.texts, std::vector<Text>{kNotice});
  EXPECT_EQ(box.titles, std::vector<Text>{kNoticeTitle});
  EXPECT_TRUE(box.okOnly);

  // Later deletions reveal at once.
  list_.selectedRow = 0;
  RevealForDeletion(list_, box, state);
  RevealForDeletion(list_, box, state);
  EXPECT_EQ(box.texts.size(), 1u);

  EXPECT_EQ(Requests(4), (std::vector<std::string>{ShowItemsLine("first"), ShowItemsLine("second"),
                                                   ShowItemsLine("first"), ShowItemsLine("first")}));
}

TEST_F(RevealTest, DeletionOfAVanishedFolderStillUsesUpTheNotice) {
  StartBus(true);
  dir_.MakeFolder("t/present");
  list_.ShowPaths({InTree("gone"), InTree("present")});
  RecordingMessageBox box;
  RevealState state;

  list_.selectedRow = 0;
  RevealForDeletion(list_, box, state);
  EXPECT_EQ(box.texts.size(), 1u);
  EXPECT_TRUE(state.deletionNoticeShown);

  list_.selectedRow = 1;
  RevealForDeletion(list_, box, state);
  EXPECT_EQ(box.texts.size(), 1u);
  EXPECT_EQ(Requests(1), std::vector<std::string>{ShowItemsLine("present")});
}

TEST_F(RevealTest, BusStartsAnActivatableFileManager) {
  StartBus(false, true);
  dir_.MakeFolder("t/a;b");
  EXPECT_TRUE(RevealInFileManager(InTree("a;b")));
  EXPECT_EQ(Requests(1), std::vector<std::string>{ShowItemsLine("a%3Bb")});
  EXPECT_TRUE(XdgOpenCalls().empty());
}

TEST_F(RevealTest, WithoutAFileManagerXdgOpenGetsTheParentAsItIs) {
  StartBus(false);
  std::vector<std::vector<std::string>> expected;
  for (const AwkwardName& name : kAwkwardNames) {
    dir_.MakeFolder("t/" + name.native + "/child");
    EXPECT_TRUE(RevealInFileManager(InTree(name.native + "/child")));
    expected.push_back({dir_ / "t/" + name.native});
  }
  // A missing path starts nothing.
  EXPECT_FALSE(RevealInFileManager(InTree("gone/child")));

  std::vector<std::vector<std::string>> calls;
  ASSERT_TRUE(WaitFor([&] { return (calls = XdgOpenCalls()).size() >= expected.size(); }));
  // Each xdg-open runs on its own, so they may finish in any order.
  std::sort(calls.begin(), calls.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(calls, expected);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "t/x"));
  EXPECT_TRUE(WaitFor([] { return ZombieChildren() == 0; })) << "xdg-open was not waited for";
  EXPECT_FALSE(std::filesystem::exists(Record()));
}

TEST_F(RevealTest, WithoutASessionBusXdgOpenOpensTheParent) {
  dir_.MakeFolder("t/-rf/child");
  for (const char* address : {"", "unix:path=/nonexistent/appdu-test-bus"}) {
    unsetenv("XDG_RUNTIME_DIR");
    if (*address == '\0') {
      unsetenv("DBUS_SESSION_BUS_ADDRESS");
    } else {
      setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
    }
    EXPECT_TRUE(RevealInFileManager(InTree("-rf/child"))) << "address \"" << address << "\"";
  }
  std::vector<std::vector<std::string>> calls;
  ASSERT_TRUE(WaitFor([&] { return (calls = XdgOpenCalls()).size() >= 2; }));
  EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{{dir_ / "t/-rf"}, {dir_ / "t/-rf"}}));
  EXPECT_TRUE(WaitFor([] { return ZombieChildren() == 0; }));
}

TEST_F(RevealTest, NothingAcceptsTheRequestWithoutBusOrXdgOpen) {
  dir_.MakeFolder("t/present");
  dir_.MakeFolder("empty-bin");
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  unsetenv("XDG_RUNTIME_DIR");
  setenv("PATH", (dir_ / "empty-bin").c_str(), 1);
  EXPECT_FALSE(RevealInFileManager(InTree("present")));
}

}  // namespace
}  // namespace appdu
