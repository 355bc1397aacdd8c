#include "ui/qt/startup.h"

#include <QApplication>
#include <QByteArray>
#include <cstdio>

#include "encoding/text.h"
#include "platform/environment.h"
#include "platform/process.h"
#include "shell/message_box.h"
#include "ui/qt/display_text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"

namespace appdu::qt {

void PrepareProcess() {
  // Nothing is kept between runs, compiled shaders included.
  qputenv("QT_DISABLE_SHADER_DISK_CACHE", "1");
  qputenv("MESA_SHADER_CACHE_DISABLE", "true");
  qputenv("MESA_GLSL_CACHE_DISABLE", "true");
  QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
  // The web engine shares its GL contexts with the widgets.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (platform::RunningAsSuperuser() && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("appdu: running as root, so the web view runs without its sandbox\n", stderr);
  }
}

PrivateBrowserHome::PrivateBrowserHome() {
  platform::KeepStartEnvironment();
  folder_ = platform::MakePrivateFolder();
  if (!folder_.empty()) platform::SetEnvironmentVariable("HOME", folder_);
}

PrivateBrowserHome::~PrivateBrowserHome() { platform::RemovePrivateFolder(folder_); }

int RunProgram(int argc, char** argv) {
  const PrivateBrowserHome browserHome;
  PrepareProcess();
  // Relative paths (the empty folder above a root included) are taken from
  // the program's own folder.
  platform::SetCurrentFolder(platform::ExecutableFolder());
  QApplication application(argc, argv);
  MainWindow window;
  QtMessageBox disclaimer;
  const MessageBoxAnswer answer =
      disclaimer.Show(TextFromUtf8("使用本软件存在风险，所造成的任何损失，作者不承担任何责任。"),
                      TextFromUtf8("免责声明:"), MessageBoxButtons::OkCancel);
  if (answer != MessageBoxAnswer::Ok) return 0;
  window.Start();
  if (!window.Closed()) QApplication::exec();
  return 0;
}

}  // namespace appdu::qt
