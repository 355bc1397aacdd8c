#include <dbus/dbus.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_manager.h"
#include "platform/posix/environment_posix.h"

extern char** environ;

namespace appdu::platform {
namespace {

constexpr char kFileManagerName[] = "org.freedesktop.FileManager1";
constexpr char kFileManagerObject[] = "/org/freedesktop/FileManager1";
constexpr char kFileManagerInterface[] = "org.freedesktop.FileManager1";
// Only the bus daemon itself is waited for, never the file manager.
constexpr int kBusDaemonTimeoutMs = 2000;

std::string AbsolutePath(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute.front() != '/') {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
      if (errno != ERANGE) return {};
      buffer.resize(buffer.size() * 2);
    }
    std::string folder(buffer.data());
    if (folder.back() != '/') folder += '/';
    absolute = folder + absolute;
  }
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  return absolute;
}

std::string ParentOf(const std::string& absolutePath) {
  std::size_t slash = absolutePath.rfind('/');
  return slash == 0 || slash == std::string::npos ? std::string("/") : absolutePath.substr(0, slash);
}

// A file URI with every byte other than unreserved characters and "/"
// percent-encoded, so that any name (spaces, "#", "%", "?", newlines, bytes
// that are not UTF-8) survives the trip exactly.
std::string FileUri(const std::string& absolutePath) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (char c : absolutePath) {
    auto byte = static_cast<unsigned char>(c);
    bool keep = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~' ||
                byte == '/';
    if (keep) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    }
  }
  return uri;
}

std::string SessionBusAddress() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') return address;
  // The per-user bus of systemd and dbus-user-session; no autolaunching.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') return {};
  std::string socket = std::string(runtime) + "/bus";
  struct stat status {};
  if (stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return {};
  char* escaped = dbus_address_escape_value(socket.c_str());
  if (escaped == nullptr) return {};
  std::string result = std::string("unix:path=") + escaped;
  dbus_free(escaped);
  return result;
}

// One private connection kept for the whole run: a message that starts a
// file manager by activation is only delivered while its sender is still
// connected. It is opened again when the bus address changes or the bus went
// away.
class SessionBus {
 public:
  ~SessionBus() { Close(); }

  DBusConnection* Get() {
    std::string address = SessionBusAddress();
    if (connection_ != nullptr && (address != address_ || !dbus_connection_get_is_connected(connection_)))
      Close();
    if (connection_ == nullptr && !address.empty()) Open(address);
    if (connection_ != nullptr) DiscardIncoming();
    return connection_;
  }

 private:
  void Open(const std::string& address) {
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection = dbus_connection_open_private(address.c_str(), &error);
    if (connection != nullptr) {
      dbus_connection_set_exit_on_disconnect(connection, FALSE);
      if (!dbus_bus_register(connection, &error)) {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
        connection = nullptr;
      }
    }
    dbus_error_free(&error);
    connection_ = connection;
    address_ = address;
  }

  void Close() {
    if (connection_ == nullptr) return;
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
    connection_ = nullptr;
  }

  // Nothing is dispatched on this connection; drop what the bus sent (its
  // greeting signals) so the queue does not grow over a long run.
  void DiscardIncoming() {
    dbus_connection_read_write(connection_, 0);
    while (DBusMessage* message = dbus_connection_pop_message(connection_)) dbus_message_unref(message);
  }

  DBusConnection* connection_ = nullptr;
  std::string address_;
};

std::mutex busMutex;
SessionBus sessionBus;

bool NameIsActivatable(DBusConnection* connection, const char* name) {
  DBusMessage* call = dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS,
                                                   "ListActivatableNames");
  if (call == nullptr) return false;
  DBusError error;
  dbus_error_init(&error);
  DBusMessage* reply =
      dbus_connection_send_with_reply_and_block(connection, call, kBusDaemonTimeoutMs, &error);
  dbus_message_unref(call);
  dbus_error_free(&error);
  if (reply == nullptr) return false;
  bool found = false;
  DBusMessageIter arguments;
  if (dbus_message_iter_init(reply, &arguments) &&
      dbus_message_iter_get_arg_type(&arguments) == DBUS_TYPE_ARRAY) {
    DBusMessageIter names;
    dbus_message_iter_recurse(&arguments, &names);
    while (!found && dbus_message_iter_get_arg_type(&names) == DBUS_TYPE_STRING) {
      const char* each = nullptr;
      dbus_message_iter_get_basic(&names, &each);
      found = each != nullptr && std::string(each) == name;
      dbus_message_iter_next(&names);
    }
  }
  dbus_message_unref(reply);
  return found;
}

bool FileManagerAvailable(DBusConnection* connection) {
  DBusError error;
  dbus_error_init(&error);
  bool owned = dbus_bus_name_has_owner(connection, kFileManagerName, &error);
  dbus_error_free(&error);
  return owned || NameIsActivatable(connection, kFileManagerName);
}

// Sends ShowItems without asking for a reply: the file manager may take a
// long time to answer, and nothing here would use the answer.
bool SendShowItems(DBusConnection* connection, const std::string& uri) {
  DBusMessage* call =
      dbus_message_new_method_call(kFileManagerName, kFileManagerObject, kFileManagerInterface, "ShowItems");
  if (call == nullptr) return false;
  dbus_message_set_no_reply(call, TRUE);
  DBusMessageIter arguments;
  DBusMessageIter uris;
  const char* uriText = uri.c_str();
  const char* startupId = "";
  dbus_message_iter_init_append(call, &arguments);
  bool built =
      dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING_AS_STRING, &uris) &&
      dbus_message_iter_append_basic(&uris, DBUS_TYPE_STRING, &uriText) &&
      dbus_message_iter_close_container(&arguments, &uris) &&
      dbus_message_iter_append_basic(&arguments, DBUS_TYPE_STRING, &startupId);
  bool sent = built && dbus_connection_send(connection, call, nullptr);
  dbus_message_unref(call);
  if (sent) dbus_connection_flush(connection);
  return sent;
}

bool ShowOnSessionBus(const std::string& uri) {
  std::lock_guard<std::mutex> lock(busMutex);
  DBusConnection* connection = sessionBus.Get();
  return connection != nullptr && FileManagerAvailable(connection) && SendShowItems(connection, uri);
}

// Starts `program` (looked up on PATH) with `arguments` directly, never
// through a shell, in a session of its own so that it outlives the window.
// A thread of its own waits for it, so no zombie is left behind.
bool StartDetached(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& each : arguments) argv.push_back(const_cast<char*>(each.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return false;
  sigset_t noSignals;
  sigemptyset(&noSignals);
  posix_spawnattr_setsigmask(&attributes, &noSignals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  pid_t child = 0;
  int failed = posix_spawnp(&child, argv[0], nullptr, &attributes, argv.data(), EnvironmentForPrograms());
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) return false;
  std::thread([child] {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace

bool ShowInFileManager(const std::string& path) {
  std::string absolute = AbsolutePath(path);
  if (absolute.empty()) return false;
  if (ShowOnSessionBus(FileUri(absolute))) return true;
  // No file manager on the bus: open the folder that holds the path instead.
  return StartDetached({"xdg-open", ParentOf(absolute)});
}

}  // namespace appdu::platform
