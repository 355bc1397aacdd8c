#pragma once

// Helpers for the in-process window tests: waiting on the event loop, a web
// view and a message box that record what they are asked, and a private
// session bus with the recording file manager on it.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "lookup/search_query.h"
#include "shell/message_box.h"
#include "support/front_end_fakes.h"
#include "support/temp_tree.h"

namespace appdu::testing {

// Runs the event loop until `done` holds or `timeoutMs` passed.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QTest::qWait(10);
  }
  return true;
}

// A session bus of the test's own, with the recording file manager owning
// org.freedesktop.FileManager1 on it. DBUS_SESSION_BUS_ADDRESS points at it
// while it lives.
class PrivateBusWithFileManager {
 public:
  PrivateBusWithFileManager() {
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    if (!bus_.waitForStarted(5000) || !WaitFor([this] { return bus_.canReadLine(); })) return;
    address_ = bus_.readLine().trimmed().toStdString();
    oldAddress_ = std::getenv("DBUS_SESSION_BUS_ADDRESS") ? std::getenv("DBUS_SESSION_BUS_ADDRESS") : "";
    setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    recordFile_ = dir_ / "record";
    const std::string ready = dir_ / "ready";
    recorder_.start(QStringLiteral(APPDU_FILE_MANAGER_RECORDER),
                    {QString::fromStdString(recordFile_), QString::fromStdString(ready)});
    ready_ = WaitFor([&ready] { return QFile::exists(QString::fromStdString(ready)); });
  }
  ~PrivateBusWithFileManager() {
    if (oldAddress_.empty()) {
      unsetenv("DBUS_SESSION_BUS_ADDRESS");
    } else {
      setenv("DBUS_SESSION_BUS_ADDRESS", oldAddress_.c_str(), 1);
    }
    recorder_.kill();
    recorder_.waitForFinished(2000);
    bus_.kill();
    bus_.waitForFinished(2000);
  }

  bool Ready() const { return ready_; }

  // The calls recorded so far, one line each.
  QStringList Calls() const {
    QFile file(QString::fromStdString(recordFile_));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

 private:
  TempDir dir_;
  QProcess bus_;
  QProcess recorder_;
  std::string address_;
  std::string oldAddress_;
  std::string recordFile_;
  bool ready_ = false;
};

// The URI the recorder shows for the folder at `nativePath`, worked out by
// Qt's own percent-encoding: every byte but unreserved characters and "/".
inline QString FileUri(const std::string& nativePath) {
  QByteArray bytes(nativePath.data(), static_cast<qsizetype>(nativePath.size()));
  return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(bytes, "/"));
}

}  // namespace appdu::testing
