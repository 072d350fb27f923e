// The manual's full-text search: the text a page shows, and which pages a
// search finds, in what order, with what excerpt.
#include "app/help_search.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(HelpPlainText, IsWhatAReaderSees) {
  struct Case {
    const char* html;
    const char* text;
  };
  const Case cases[] = {
      {"<p>全階層<b>再計算</b></p>", "全階層 再計算"},
      {"<html><head><title>題</title><style>p { x }</style></head><body>本文</body></html>", "本文"},
      {"a &lt;b&gt; &amp; &quot;c&quot; &nbsp;d", "a <b> & \"c\" d"},
      {"  行\n\n  の\t種類  ", "行 の 種類"},
      {"<script>var x = '<p>';</script>見える", "見える"},
      {"&unknown; 残る", "&unknown; 残る"},
      {"<P>大文字の<BR>タグ</P>", "大文字の タグ"},
      {"<p>閉じない", "閉じない"},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpPlainText(c.html), c.text) << c.html;
  EXPECT_EQ(HelpPageTitle("<html><head><TITLE> 印刷と &amp; PDF </TITLE></head></html>"), "印刷と & PDF");
  EXPECT_EQ(HelpPageTitle("<p>題なし</p>"), "");
}

std::vector<std::string> Urls(const std::vector<HelpHit>& hits) {
  std::vector<std::string> urls;
  for (const HelpHit& h : hits) urls.push_back(h.url);
  return urls;
}

TEST(HelpSearch, FindsEveryWordAnywhereInTheText) {
  const std::vector<HelpPage> pages = {
      {"calc.html", "計算行", "全階層再計算（Shift+F1）で全部の階層を計算し直します。全階層の合計。"},
      {"levels.html", "階層の移動", "F9 で内訳へ降ります。全階層が見えます。"},
      {"print.html", "印刷", "TheKorvane PDF に出力します。"},
  };
  struct Case {
    const char* query;
    std::vector<std::string> urls;
  };
  const Case cases[] = {
      {"全階層", {"calc.html", "levels.html"}},  // inside a run of text; most places first
      {"階層 F9", {"levels.html"}},             // every word
      {"全階層　再計算", {"calc.html"}},          // a full-width blank parts words too
      {"korvane pdf", {"print.html"}},           // Latin letters in either case
      {"shift+f1", {"calc.html"}},
      {"見積", {}},
      {"", {}},
      {"  　 ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Urls(HelpSearch(pages, c.query)), c.urls) << c.query;
}

TEST(HelpSearch, TheExcerptShowsThePlaceFoundInWholeCharacters) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "前置き";
  text += "目当ての言葉";
  for (int i = 0; i < 40; ++i) text += "後書き";
  const std::vector<HelpHit> hits = HelpSearch({{"p.html", "題", text}}, "目当て");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].title, "題");
  const std::string& e = hits[0].excerpt;
  EXPECT_NE(e.find("目当ての言葉"), std::string::npos);
  EXPECT_EQ(e.rfind("…", 0), 0u) << "text left out before";
  EXPECT_EQ(e.substr(e.size() - 3), "…") << "and after";
  EXPECT_LT(e.size(), text.size());
  // Whole UTF-8 characters only: every lead byte has its continuation bytes.
  for (size_t i = 0; i < e.size();) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ASSERT_LE(i + len, e.size());
    for (size_t k = 1; k < len; ++k) ASSERT_EQ(static_cast<unsigned char>(e[i + k]) & 0xC0, 0x80);
    i += len;
  }
  // A short page is shown whole.
  EXPECT_EQ(HelpSearch({{"q.html", "短い", "短い本文"}}, "本文")[0].excerpt, "短い本文");
}

}  // namespace
}  // namespace kv
