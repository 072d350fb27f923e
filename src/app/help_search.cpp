#include "app/help_search.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace kv {
namespace {

// Latin letters lowered; every other byte (UTF-8 sequences included) kept.
std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The position moved back (or forward) to the start of a UTF-8 character.
size_t CharStartBack(std::string_view s, size_t at) {
  while (at > 0 && at < s.size() && IsContinuation(static_cast<unsigned char>(s[at]))) --at;
  return at;
}
size_t CharStartForward(std::string_view s, size_t at) {
  while (at < s.size() && IsContinuation(static_cast<unsigned char>(s[at]))) ++at;
  return std::min(at, s.size());
}

std::vector<std::string> QueryWords(std::string_view query) {
  // The full-width blank (U+3000) parts words as a blank does.
  std::string q(query);
  for (size_t at = q.find("\u3000"); at != std::string::npos; at = q.find("\u3000", at)) q.replace(at, 3, " ");
  std::vector<std::string> words;
  size_t i = 0;
  while (i < q.size()) {
    while (i < q.size() && std::isspace(static_cast<unsigned char>(q[i]))) ++i;
    size_t j = i;
    while (j < q.size() && !std::isspace(static_cast<unsigned char>(q[j]))) ++j;
    if (j > i) words.push_back(Folded(q.substr(i, j - i)));
    i = j;
  }
  return words;
}

size_t Count(std::string_view text, std::string_view word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + word.size())) ++n;
  return n;
}

struct Entity {
  std::string_view name;
  std::string_view text;
};
constexpr Entity kEntities[] = {{"&amp;", "&"}, {"&lt;", "<"},  {"&gt;", ">"},
                                {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", " "}};

// Skips a whole element whose content is not text to read (head parts, scripts).
void SkipElement(std::string_view html, size_t& i, std::string_view tagLower) {
  const std::string close = "</" + std::string(tagLower);
  const size_t end = Folded(html.substr(i)).find(close);
  if (end == std::string::npos) {
    i = html.size();
    return;
  }
  const size_t gt = html.find('>', i + end);
  i = gt == std::string_view::npos ? html.size() : gt + 1;
}

}  // namespace

std::string HelpPlainText(std::string_view html) {
  std::string out;
  bool blank = true;  // no blank at the start
  auto put = [&](std::string_view s) {
    for (char c : s) {
      if (std::isspace(static_cast<unsigned char>(c))) {
        if (!blank) out += ' ';
        blank = true;
      } else {
        out += c;
        blank = false;
      }
    }
  };
  size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '<') {
      const size_t gt = html.find('>', i);
      if (gt == std::string_view::npos) break;
      std::string tag = Folded(html.substr(i + 1, gt - i - 1));
      const std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
      if (name == "head" || name == "script" || name == "style" || name == "title") {
        i = gt + 1;
        SkipElement(html, i, name);
        continue;
      }
      // A tag parts the words on either side.
      put(" ");
      i = gt + 1;
      continue;
    }
    if (c == '&') {
      bool decoded = false;
      for (const Entity& e : kEntities)
        if (html.substr(i, e.name.size()) == e.name) {
          put(e.text);
          i += e.name.size();
          decoded = true;
          break;
        }
      if (decoded) continue;
    }
    put(std::string_view(&html[i], 1));
    ++i;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string HelpPageTitle(std::string_view html) {
  const std::string folded = Folded(html);
  const size_t open = folded.find("<title");
  if (open == std::string::npos) return {};
  const size_t gt = folded.find('>', open);
  const size_t close = folded.find("</title", open);
  if (gt == std::string::npos || close == std::string::npos || close < gt) return {};
  return HelpPlainText(std::string("<p>") + std::string(html.substr(gt + 1, close - gt - 1)));
}

std::vector<HelpHit> HelpSearch(const std::vector<HelpPage>& pages, std::string_view query) {
  const std::vector<std::string> words = QueryWords(query);
  if (words.empty()) return {};
  struct Found {
    size_t page;
    size_t places;
  };
  std::vector<Found> found;
  for (size_t p = 0; p < pages.size(); ++p) {
    const std::string text = Folded(pages[p].text);
    size_t places = 0;
    bool all = true;
    for (const std::string& w : words) {
      const size_t n = Count(text, w);
      if (n == 0) {
        all = false;
        break;
      }
      places += n;
    }
    if (all) found.push_back({p, places});
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.places > b.places; });
  std::vector<HelpHit> hits;
  constexpr size_t kAround = 45;  // bytes of text on either side of the place found
  for (const Found& f : found) {
    const HelpPage& page = pages[f.page];
    const size_t at = Folded(page.text).find(words.front());
    const size_t from = CharStartBack(page.text, at > kAround ? at - kAround : 0);
    const size_t to = CharStartForward(page.text, std::min(page.text.size(), at + words.front().size() + kAround));
    std::string excerpt = page.text.substr(from, to - from);
    if (from > 0) excerpt = "…" + excerpt;
    if (to < page.text.size()) excerpt += "…";
    hits.push_back({page.url, page.title, std::move(excerpt)});
  }
  return hits;
}

}  // namespace kv
