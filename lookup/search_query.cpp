#include "lookup/search_query.h"

#include <cstddef>
#include <optional>

#include "encoding/native_name.h"
#include "platform/path_separator.h"

namespace appdu {

const char kUserAgent[] =
    "Mozilla/5.0 (Linux; Android 6.0; Nexus 5 Build/MRA58N) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/95.0.4638.69 Mobile Safari/537.36";
const char kSearchHost[] = "www.bing.com";

namespace {

// Title buffer size of the Windows file-title call; a name that does not
// fit (terminator included) gives no title.
constexpr std::size_t kTitleBufferSize = 256;

// Where the last component of `path` starts: after its last separator,
// scanning character by character.
std::size_t LastComponentStart(const Text& path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(path[i])) {
      ++i;
    } else if (path[i] == platform::kPathSeparator) {
      start = i + 1;
    }
  }
  return start;
}

// The name as the file manager shows it: the last component; this system
// shows every extension. Nothing for the empty path, a path ending in a
// separator and a name that does not fit the title buffer.
std::optional<Text> DisplayedName(const Text& path) {
  const std::size_t start = LastComponentStart(path);
  if (start >= path.size()) return std::nullopt;
  Text name = path.substr(start);
  if (name.size() + 1 > kTitleBufferSize) return std::nullopt;
  return name;
}

// Where the extension of the last component starts: its last "." unless a
// space or a separator follows it; the path's end when there is none.
std::size_t ExtensionStart(const Text& path) {
  std::size_t dot = Text::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(path[i])) {
      ++i;
    } else if (path[i] == platform::kPathSeparator || path[i] == ' ') {
      dot = Text::npos;
    } else if (path[i] == '.') {
      dot = i;
    }
  }
  return dot == Text::npos ? path.size() : dot;
}

}  // namespace

Text FileExtension(const Text& path) { return path.substr(ExtensionStart(path)); }

Text FileTitleWithExtension(const Text& path) {
  std::optional<Text> title = DisplayedName(path);
  if (!title) return {};
  const Text extension = FileExtension(path);
  if (!extension.empty() && title->find(extension) == Text::npos) *title += extension;
  return *title;
}

Text UrlEscapeBytes(const ByteBuffer& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text escaped;
  escaped.reserve(3 * bytes.size());
  for (std::uint8_t byte : bytes) {
    if (byte == 0) continue;
    if (byte == ' ') {
      escaped += '+';
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    }
  }
  return escaped;
}

// The UTF-8 of the name as the file system holds it: a character that code
// page 936 lacks (an emoji, say) is searched as itself, not as the
// stand-in character the text carries for it.
Text UrlEncodeText(const Text& text) {
  const std::string utf8 = DisplayUtf8FromText(text);
  return UrlEscapeBytes(ByteBuffer(utf8.begin(), utf8.end()));
}

Text BuildSearchUrl(const Text& path) {
  return Text("https://") + kSearchHost + "/search?q=" + UrlEncodeText(FileTitleWithExtension(path)) +
         "&mkt=zh-CN";
}

void SearchOnWeb(const ListingControls& list, WebView& webView) {
  const int row = list.SelectedRow();
  const Text path = row < 0 ? Text() : list.CellText(row, kPathColumn);
  webView.LoadUrl(BuildSearchUrl(path));
}

}  // namespace appdu
