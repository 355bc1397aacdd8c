// The real web view: a search reaches the search host with the query exactly
// as escaped and the fixed user agent. The engine is pointed at a proxy on the
// loopback address that accepts the tunnel to the search host and ends the
// TLS itself, so the request line is seen as the engine sends it (a request
// interceptor's redirect would pass through QUrl, which decodes "%4C" back
// to "L").
#include <gtest/gtest.h>

#include <QDir>
#include <QMetaObject>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "encoding/native_name.h"
#include "lookup/search_query.h"
#include "support/temp_tree.h"
#include "ui/qt/main_window.h"
#include "ui/qt/startup.h"
#include "ui/window_test_support.h"

namespace appdu::qt {
namespace {

using testing::TempDir;
using testing::WaitFor;

struct Request {
  QByteArray tunnel;  // the CONNECT target
  QByteArray requestLine;
  QByteArray userAgent;
};

// A proxy that accepts every tunnel, ends its TLS with its own certificate,
// answers every request with a small page and records the tunnel's target,
// the request line and the User-Agent header.
class LoopbackHttpsServer : public QTcpServer {
 public:
  LoopbackHttpsServer(const QSslCertificate& certificate, const QSslKey& key) {
    configuration_ = QSslConfiguration::defaultConfiguration();
    configuration_.setLocalCertificate(certificate);
    configuration_.setPrivateKey(key);
    configuration_.setPeerVerifyMode(QSslSocket::VerifyNone);
  }
  std::vector<Request> requests;

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QSslSocket(this);
    socket->setSslConfiguration(configuration_);
    if (!socket->setSocketDescriptor(descriptor)) {
      delete socket;
      return;
    }
    auto buffer = std::make_shared<QByteArray>();
    auto tunnel = std::make_shared<QByteArray>();
    connect(socket, &QSslSocket::readyRead, socket, [this, socket, buffer, tunnel] {
      buffer->append(socket->readAll());
      const qsizetype end = buffer->indexOf("\r\n\r\n");
      if (end < 0) return;
      const QList<QByteArray> lines = buffer->left(end).split('\n');
      if (!socket->isEncrypted() && lines.value(0).startsWith("CONNECT ")) {
        *tunnel = lines.value(0).split(' ').value(1);
        buffer->clear();
        socket->write("HTTP/1.1 200 Connection established\r\n\r\n");
        socket->startServerEncryption();
        return;
      }
      Request request;
      request.tunnel = *tunnel;
      request.requestLine = lines.value(0).trimmed();
      for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:")) request.userAgent = line.mid(11).trimmed();
      }
      requests.push_back(request);
      buffer->remove(0, end + 4);
      const QByteArray body = "<html><body>ok</body></html>";
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\n\r\n" + body);
      socket->disconnectFromHost();
    });
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
  }

 private:
  QSslConfiguration configuration_;
};

// Runs three searches through the window against the loopback proxy and
// gives the home folder's entries once the window is gone.
void SearchThroughTheWindow(QStringList& homeAfter) {
  TempDir keys;
  QProcess openssl;
  openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                            "-subj", QStringLiteral("/CN=%1").arg(QLatin1String(kSearchHost)),
                                            "-keyout", QString::fromStdString(keys / "key.pem"), "-out",
                                            QString::fromStdString(keys / "cert.pem")});
  ASSERT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0)
      << openssl.readAllStandardError().data();
  const auto certificates = QSslCertificate::fromPath(QString::fromStdString(keys / "cert.pem"));
  ASSERT_EQ(certificates.size(), 1);
  QFile keyFile(QString::fromStdString(keys / "key.pem"));
  ASSERT_TRUE(keyFile.open(QIODevice::ReadOnly));
  const QSslKey key(&keyFile, QSsl::Rsa);
  ASSERT_FALSE(key.isNull());

  LoopbackHttpsServer server(certificates[0], key);
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  // Read by the engine when it starts, which is when the first window is made.
  const std::string flags = "--proxy-server=http://127.0.0.1:" + std::to_string(server.serverPort());
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);

  TempDir tree;
  tree.MakeFile("home/Local Data/f", 20);
  tree.MakeFile("home/\xE8\xB7\xAF\xE5\xBE\x84/f", 10);
  setenv("HOME", (tree / "home").c_str(), 1);
  unsetenv("USERPROFILE");
  // As the program does at start.
  const PrivateBrowserHome browserHome;

  auto window = std::make_unique<MainWindow>();
  QObject::connect(window->WebPage(), &QWebEnginePage::certificateError,
                   [](const QWebEngineCertificateError& error) {
                     QWebEngineCertificateError copy = error;
                     copy.acceptCertificate();
                   });
  window->Start();
  ASSERT_EQ(window->List()->topLevelItemCount(), 2);
  // Nothing is loaded before the first search.
  QTest::qWait(300);
  EXPECT_TRUE(server.requests.empty());

  struct Case {
    const char* action;
    int row;  // -1: 搜索 with nothing selected
    QByteArray requestLine;
  };
  const std::vector<Case> cases = {
      {"left click on the first row", 0, "GET /search?q=%4C%6F%63%61%6C+%44%61%74%61&mkt=zh-CN HTTP/1.1"},
      {"left click on the second row", 1, "GET /search?q=%E8%B7%AF%E5%BE%84&mkt=zh-CN HTTP/1.1"},
      {"搜索 with nothing selected", -1, "GET /search?q=&mkt=zh-CN HTTP/1.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    const std::size_t before = server.requests.size();
    if (c.row >= 0) {
      const QPoint at = window->List()->visualItemRect(window->List()->topLevelItem(c.row)).center();
      QTest::mouseClick(window->List()->viewport(), Qt::LeftButton, {}, at);
    } else {
      window->List()->clearSelection();
      QTest::mouseClick(window->Button(2), Qt::LeftButton);
    }
    ASSERT_TRUE(WaitFor([&] { return server.requests.size() > before; }, 20000));
    QTest::qWait(200);
    // The page itself, not its favicon.
    const Request& request = server.requests[before];
    EXPECT_EQ(request.tunnel, QByteArray(kSearchHost) + ":443");
    EXPECT_EQ(request.requestLine, c.requestLine);
    EXPECT_EQ(request.userAgent, QByteArray(kUserAgent));
  }
  window.reset();
  homeAfter = QDir(QString::fromStdString(tree / "home"))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(WebViewTest, SearchReachesTheHostWithTheEscapedQueryAndTheUserAgent) {
  QStringList home;
  SearchThroughTheWindow(home);
}

// The web engine's certificate check creates its NSS store ~/.pki/nssdb on
// the first secure connection; the program's private browser home keeps it
// out of the user's home folder.
TEST(WebViewTest, SecureSearchLeavesNothingInTheHomeFolder) {
  QStringList home;
  SearchThroughTheWindow(home);
  EXPECT_EQ(home, QStringList({"Local Data", "\u8DEF\u5F84"}));
}

}  // namespace
}  // namespace appdu::qt
