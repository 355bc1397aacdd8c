#pragma once

#include "analysis/listing_controls.h"
#include "encoding/text.h"

namespace appdu {

// The embedded web view, bound by each front end.
class WebView {
 public:
  virtual ~WebView() = default;
  virtual void SetUserAgent(const Text& userAgent) = 0;
  virtual void LoadUrl(const Text& url) = 0;
};

// The user agent the window gives its web view before any search.
extern const char kUserAgent[];
// The search engine's host name.
extern const char kSearchHost[];

Text FileExtension(const Text& path);
Text FileTitleWithExtension(const Text& path);
Text UrlEscapeBytes(const ByteBuffer& bytes);
Text UrlEncodeText(const Text& text);
Text BuildSearchUrl(const Text& path);

// "搜索": loads the search page for the selected row's folder (the empty
// query with no row selected).
void SearchOnWeb(const ListingControls& list, WebView& webView);

}  // namespace appdu
