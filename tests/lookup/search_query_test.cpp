#include "lookup/search_query.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encoding/native_name.h"
#include "support/front_end_fakes.h"

namespace appdu {
namespace {

ByteBuffer Bytes(const std::string& text) { return ByteBuffer(text.begin(), text.end()); }

TEST(FileExtensionTest, IsTheLastDotOfTheLastComponent) {
  const struct {
    Text path;
    Text extension;
  } cases[] = {
      {"/home/user/notes.txt", ".txt"},
      {"/x/x.gz.tar.gz", ".gz"},
      {"/data/old.files/cache", ""},
      {"/data/b.", "."},
      {"/home/user/.hidden", ".hidden"},
      {"/data/b.tx t", ""},
      {"/data/a b.txt", ".txt"},
      {"/home/user/", ""},
      {"", ""},
      {"notes.txt", ".txt"},
      // "路径.txt": double-byte characters before the dot.
      {"/d/\xC2\xB7\xBE\xB6.txt", ".txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExtension(c.path), c.extension) << "path \"" << c.path << "\"";
}

TEST(FileTitleWithExtensionTest, IsTheLastComponentOrNothing) {
  const std::string longest(255, 'n');
  const struct {
    Text path;
    Text title;
  } cases[] = {
      {"/home/user/AppData/Local", "Local"},
      {"/home/user/notes.txt", "notes.txt"},
      {"notes.txt", "notes.txt"},
      {"/data/old.files/cache", "cache"},
      {"/x/x.gz.tar.gz", "x.gz.tar.gz"},
      {"/home/user/.hidden", ".hidden"},
      {"/d/\xC2\xB7\xBE\xB6", "\xC2\xB7\xBE\xB6"},
      // No name: the empty path, a trailing separator, the root.
      {"", ""},
      {"/home/user/", ""},
      {"/", ""},
      // The title must fit 256 bytes with its terminator.
      {"/d/" + longest, longest},
      {"/d/" + longest + "x", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileTitleWithExtension(c.path), c.title) << "path \"" << c.path << "\"";
}

TEST(UrlEscapeBytesTest, EscapesEveryByteButSpaceAndDropsZeros) {
  const struct {
    std::string bytes;
    Text escaped;
  } cases[] = {
      {"Local", "%4C%6F%63%61%6C"},
      {"a b", "%61+%62"},
      {"\xE8\xB7\xAF\xE5\xBE\x84", "%E8%B7%AF%E5%BE%84"},
      {"", ""},
      {std::string("a\0b", 3), "%61%62"},
      {std::string(1, '\0'), ""},
      {"  ", "++"},
      {"%+&=#?/\xFF\x01\x7F", "%25%2B%26%3D%23%3F%2F%FF%01%7F"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UrlEscapeBytes(Bytes(c.bytes)), c.escaped) << "bytes \"" << c.bytes << "\"";
}

TEST(UrlEscapeBytesTest, GivesThreeCharactersPerByteLessTwoPerSpace) {
  std::mt19937 random(936);
  for (int round = 0; round < 200; ++round) {
    ByteBuffer bytes(random() % 64);
    std::size_t spaces = 0;
    for (auto& byte : bytes) {
      byte = static_cast<std::uint8_t>(1 + random() % 255);
      if (random() % 5 == 0) byte = ' ';
      spaces += byte == ' ';
    }
    const Text escaped = UrlEscapeBytes(bytes);
    EXPECT_EQ(escaped.size(), 3 * bytes.size() - 2 * spaces);
    EXPECT_EQ(escaped.find_first_not_of("%+0123456789ABCDEF"), Text::npos) << escaped;
  }
}

TEST(UrlEncodeTextTest, EscapesTheUtf8OfTheText) {
  // "路径" in code page 936 is sent as its UTF-8 bytes.
  EXPECT_EQ(UrlEncodeText("\xC2\xB7\xBE\xB6"), "%E8%B7%AF%E5%BE%84");
  EXPECT_EQ(UrlEncodeText("a b"), "%61+%62");
  EXPECT_EQ(UrlEncodeText(""), "");
  // A name with a character code page 936 lacks is searched as itself.
  const std::string emojiName = "cat\xF0\x9F\x90\xB1";
  EXPECT_EQ(UrlEncodeText(TextFromNative(emojiName)), "%63%61%74%F0%9F%90%B1");
}

TEST(BuildSearchUrlTest, JoinsHostQueryAndMarket) {
  EXPECT_EQ(BuildSearchUrl("/home/user/AppData/Local"),
            "https://www.bing.com/search?q=%4C%6F%63%61%6C&mkt=zh-CN");
  EXPECT_EQ(BuildSearchUrl("/home/user/my notes.txt"),
            "https://www.bing.com/search?q=%6D%79+%6E%6F%74%65%73%2E%74%78%74&mkt=zh-CN");
  EXPECT_EQ(BuildSearchUrl(""), "https://www.bing.com/search?q=&mkt=zh-CN");
  EXPECT_EQ(BuildSearchUrl("/home/user/"), "https://www.bing.com/search?q=&mkt=zh-CN");
}

TEST(UserAgentTest, IsTheMobileChromeAgent) {
  const std::string agent = kUserAgent;
  EXPECT_EQ(agent,
            "Mozilla/5.0 (Linux; Android 6.0; Nexus 5 Build/MRA58N) AppleWebKit/537.36 (KHTML, like Gecko) "
            "Chrome/95.0.4638.69 Mobile Safari/537.36");
  EXPECT_EQ(agent.size(), 134u);
}

TEST(SearchOnWebTest, LoadsTheSearchForTheSelectedRow) {
  testing::FakeControls list;
  list.ShowPaths({"/home/user/.cache", "/home/user/\xC2\xB7\xBE\xB6"});
  testing::RecordingWebView webView;

  list.selectedRow = 1;
  SearchOnWeb(list, webView);
  list.selectedRow = 0;
  SearchOnWeb(list, webView);
  EXPECT_EQ(webView.urls, (std::vector<Text>{"https://www.bing.com/search?q=%E8%B7%AF%E5%BE%84&mkt=zh-CN",
                                             "https://www.bing.com/search?q=%2E%63%61%63%68%65&mkt=zh-CN"}));
  EXPECT_TRUE(webView.userAgents.empty());
}

TEST(SearchOnWebTest, LoadsTheEmptyQueryWithoutASelectedRow) {
  testing::FakeControls list;
  list.ShowPaths({"/home/user/.cache"});
  list.selectedRow = -1;
  testing::RecordingWebView webView;
  SearchOnWeb(list, webView);
  EXPECT_EQ(webView.urls, (std::vector<Text>{"https://www.bing.com/search?q=&mkt=zh-CN"}));
}

}  // namespace
}  // namespace appdu
