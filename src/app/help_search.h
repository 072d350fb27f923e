#pragma once
// The manual's full-text search. The pages are Japanese, which is written
// without blanks between words, so a word-index search would find a word
// only at the start of a run of text; here a word is found wherever it
// stands in a page's text. Pages are UTF-8 HTML.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A page as the search sees it.
struct HelpPage {
  std::string url;    // how the window opens it
  std::string title;  // shown in the hit list
  std::string text;   // HelpPlainText of the page
};

struct HelpHit {
  std::string url;
  std::string title;
  std::string excerpt;  // the text around the first place found
};

// The text a reader sees of a page: tags out, the head (title, style) and
// scripts left out, the common entities decoded, runs of blanks and line
// breaks made one blank.
std::string HelpPlainText(std::string_view html);

// The text of the page's <title>, blanks collapsed; "" when there is none.
std::string HelpPageTitle(std::string_view html);

// The pages holding every word of `query` (words are parted by half-width or
// full-width blanks; Latin letters match in either case), the page with the
// most places found first, pages with as many in their given order. An
// empty query finds nothing.
std::vector<HelpHit> HelpSearch(const std::vector<HelpPage>& pages, std::string_view query);

}  // namespace kv
