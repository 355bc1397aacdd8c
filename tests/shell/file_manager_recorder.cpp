// A stand-in file manager for the reveal tests: owns
// org.freedesktop.FileManager1 on the session bus (or on the bus that
// activated it) and appends one line per call it receives to a record file:
//   ShowItems <no-reply 0|1> <startup id> <uri>...
// with every byte outside "!".."~" and every "\" written as \xHH. Any other
// call is recorded as "Unexpected <interface>.<member> <signature>".
// Usage: file_manager_recorder <record file> [<ready file>]
#include <dbus/dbus.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Escaped(const char* text) {
  std::string out;
  for (const char* at = text; *at != '\0'; ++at) {
    auto byte = static_cast<unsigned char>(*at);
    if (byte > ' ' && byte <= '~' && byte != '\\') {
      out += static_cast<char>(byte);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

void Append(const char* file, const std::string& line) {
  if (FILE* out = std::fopen(file, "a")) {
    std::fputs((line + "\n").c_str(), out);
    std::fclose(out);
  }
}

std::string DescribeShowItems(DBusMessage* message) {
  std::string line = std::string("ShowItems ") + (dbus_message_get_no_reply(message) ? "1" : "0");
  DBusMessageIter arguments;
  DBusMessageIter uris;
  dbus_message_iter_init(message, &arguments);
  dbus_message_iter_recurse(&arguments, &uris);
  std::string uriList;
  while (dbus_message_iter_get_arg_type(&uris) == DBUS_TYPE_STRING) {
    const char* uri = nullptr;
    dbus_message_iter_get_basic(&uris, &uri);
    uriList += " " + Escaped(uri);
    dbus_message_iter_next(&uris);
  }
  dbus_message_iter_next(&arguments);
  const char* startupId = nullptr;
  dbus_message_iter_get_basic(&arguments, &startupId);
  return line + " [" + Escaped(startupId) + "]" + uriList;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  DBusError error;
  dbus_error_init(&error);
  const DBusBusType bus =
      std::getenv("DBUS_STARTER_ADDRESS") != nullptr ? DBUS_BUS_STARTER : DBUS_BUS_SESSION;
  DBusConnection* connection = dbus_bus_get_private(bus, &error);
  if (connection == nullptr) return 3;
  dbus_connection_set_exit_on_disconnect(connection, FALSE);
  if (dbus_bus_request_name(connection, "org.freedesktop.FileManager1", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                            &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    return 4;
  }
  if (argc > 2) Append(argv[2], "ready");

  // Messages may already be queued (an activating call arrives together with
  // the name), so the queue is emptied before waiting. Ends when the bus goes
  // away.
  do {
    while (DBusMessage* message = dbus_connection_pop_message(connection)) {
      if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_CALL) {
        if (dbus_message_is_method_call(message, "org.freedesktop.FileManager1", "ShowItems") &&
            dbus_message_has_path(message, "/org/freedesktop/FileManager1") &&
            dbus_message_has_signature(message, "ass")) {
          Append(argv[1], DescribeShowItems(message));
        } else {
          const char* interface = dbus_message_get_interface(message);
          const char* signature = dbus_message_get_signature(message);
          Append(argv[1], std::string("Unexpected ") + (interface ? interface : "") + "." +
                              dbus_message_get_member(message) + " " + signature);
        }
        if (!dbus_message_get_no_reply(message)) {
          DBusMessage* reply = dbus_message_new_method_return(message);
          dbus_connection_send(connection, reply, nullptr);
          dbus_message_unref(reply);
        }
      }
      dbus_message_unref(message);
    }
  } while (dbus_connection_read_write(connection, -1));
  dbus_connection_close(connection);
  dbus_connection_unref(connection);
  return 0;
}
