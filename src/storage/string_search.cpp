#include "storage/string_search.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <cstdint>
#include <climits>
#include <optional>
#include <system_error>

#include "core/ini_parse.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "storage/row_record.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kFullBlank = "\xE3\x80\x80";  // "　" in display text
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLineEnd = "LineEnd----";

// ---- The condition file ----

const std::string& SectionName() {
  static const std::string name = ToSjis("検索条件");
  return name;
}
const std::string& TitleKey() {
  static const std::string name = ToSjis("検索タイトル");
  return name;
}
const std::string& CountKey() {
  static const std::string name = ToSjis("検索条件件数");
  return name;
}

// A decimal number with an optional sign and surrounding blanks; nullopt for
// anything else.
std::optional<int> Number(std::string_view text) {
  text = IniTrim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<bool> Flag(std::string_view text) {
  text = IniTrim(text);
  if (text == "1") return true;
  if (text == "0") return false;
  return std::nullopt;
}

// A field of the record: 0 <= start, 1 <= width, start + width <= dataLen.
bool FieldFits(int start, int width, int dataLen) {
  return start >= 0 && width >= 1 && static_cast<long long>(start) + width <= dataLen;
}

// "s,w,text,blank,kind": s and w from the left, blank and kind from the
// right, the text everything between (it may hold commas).
std::optional<SearchCondition> ConditionLine(std::string_view line, int dataLen) {
  const size_t c1 = line.find(',');
  if (c1 == std::string_view::npos) return std::nullopt;
  const size_t c2 = line.find(',', c1 + 1);
  if (c2 == std::string_view::npos) return std::nullopt;
  const size_t c4 = line.rfind(',');
  if (c4 == std::string_view::npos || c4 <= c2) return std::nullopt;
  const size_t c3 = line.rfind(',', c4 - 1);
  if (c3 == std::string_view::npos || c3 <= c2) return std::nullopt;
  const std::optional<int> s = Number(line.substr(0, c1));
  const std::optional<int> w = Number(line.substr(c1 + 1, c2 - c1 - 1));
  const std::optional<bool> blank = Flag(line.substr(c3 + 1, c4 - c3 - 1));
  const std::optional<bool> kind = Flag(line.substr(c4 + 1));
  if (!s || !w || !blank || !kind || !FieldFits(*s, *w, dataLen)) return std::nullopt;
  SearchCondition c;
  c.start = *s;
  c.width = *w;
  c.text = std::string(line.substr(c2 + 1, c3 - c2 - 1));
  c.keepBlanks = *blank;
  c.simple = *kind;
  return c;
}

// ---- Matching ----

bool AllBlankBytes(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' '; });
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool EndsWith(std::string_view s, std::string_view p) { return s.size() >= p.size() && s.substr(s.size() - p.size()) == p; }

// Display text with blanks and line breaks handled as the condition says:
// kept, a line break read as one blank; or every blank and line break taken out.
std::string CompareForm(std::string_view text, bool keepBlanks) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (keepBlanks) out.push_back(' ');
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    } else if (!keepBlanks && (c == ' ' || StartsWith(text.substr(i), kFullBlank))) {
      i += c == ' ' ? 1 : kFullBlank.size();
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

// Half-width and full-width blanks taken off both ends.
std::string_view TrimBlanks(std::string_view text) {
  for (;;) {
    if (StartsWith(text, " ")) text.remove_prefix(1);
    else if (StartsWith(text, kFullBlank)) text.remove_prefix(kFullBlank.size());
    else break;
  }
  for (;;) {
    if (EndsWith(text, " ")) text.remove_suffix(1);
    else if (EndsWith(text, kFullBlank)) text.remove_suffix(kFullBlank.size());
    else break;
  }
  return text;
}

// Every Shift-JIS form of one character (display text): the code page gives
// some characters a second or third code (NEC row 13, the NEC-selected IBM
// extensions and the IBM extensions). Empty when the character does not come
// back from its own form: the caller then makes no test of the bytes.
std::vector<std::string> SjisFormsOf(const std::string& c) {
  const std::string canonical = ToSjis(c);
  if (FromSjis(canonical) != c) return {};
  std::vector<std::string> forms{canonical};
  static constexpr std::pair<int, int> kSecondCodes[] = {{0x8740, 0x879C}, {0xED40, 0xEEFC}, {0xFA40, 0xFC4B}};
  for (const auto& [from, to] : kSecondCodes)
    for (int code = from; code <= to; ++code) {
      const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const std::string_view form(bytes, 2);
      if (form != canonical && FromSjis(form) == c) forms.emplace_back(form);
    }
  return forms;
}

size_t Utf8Length(unsigned char lead) { return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

}  // namespace

bool ReadSearchConditions(std::string_view iniBytes, int dataLen, SearchConditionSet& out, std::string& reason) {
  out = {};
  const IniDocument ini{std::string(iniBytes)};
  const std::string file(kSearchConditionFile);
  const std::optional<std::string_view> title = ini.Find(SectionName(), TitleKey());
  const std::optional<std::string_view> count = ini.Find(SectionName(), CountKey());
  if (!title || !count) {
    reason = "検索条件ファイル [ " + file + " ] に検索条件がありません。";
    return false;
  }
  const size_t comma = title->find(',');
  const std::optional<int> ts = Number(title->substr(0, comma));
  const std::optional<int> tw =
      comma == std::string_view::npos ? std::nullopt : Number(title->substr(comma + 1));
  if (!ts || !tw || (!(*ts == 0 && *tw == 0) && !FieldFits(*ts, *tw, dataLen))) {
    reason = "検索条件ファイル [ " + file + " ] の検索タイトルが正しくありません。";
    return false;
  }
  out.titleStart = *ts;
  out.titleWidth = *tw;
  const std::optional<int> n = Number(*count);
  if (!n || *n < 1) {
    reason = "検索条件ファイル [ " + file + " ] の検索条件件数が正しくありません。";
    return false;
  }
  for (int i = 1; i <= *n; ++i) {
    const std::optional<std::string_view> line = ini.Find(SectionName(), std::to_string(i));
    std::optional<SearchCondition> c = line ? ConditionLine(*line, dataLen) : std::nullopt;
    if (!c) {
      reason = "検索条件ファイル [ " + file + " ] の検索条件 " + std::to_string(i) + " が正しくありません。";
      out.conditions.clear();
      return false;
    }
    out.conditions.push_back(std::move(*c));
  }
  return true;
}

SearchMatcher::SearchMatcher(const SearchCondition& c)
    : start_(static_cast<size_t>(std::max(c.start, 0))),
      width_(static_cast<size_t>(std::max(c.width, 0))),
      keepBlanks_(c.keepBlanks) {
  std::string_view text = c.text;
  if (std::all_of(text.begin(), text.end(), [](char ch) { return ch == '*'; })) {
    anchor_ = text.empty() ? Anchor::Anywhere : Anchor::Every;
    return;
  }
  const bool lead = StartsWith(text, "*");
  const bool trail = EndsWith(text, "*");
  if (lead) text.remove_prefix(1);
  if (trail) text.remove_suffix(1);
  anchor_ = lead == trail ? Anchor::Anywhere : lead ? Anchor::Ends : Anchor::Begins;
  needle_ = CompareForm(FromSjis(text), keepBlanks_);
  needleAscii_ = std::all_of(needle_.begin(), needle_.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
  // A field can hold the text only when its bytes hold a form of the text's
  // first character (not a blank, which a line break may become, nor the
  // mark shown for broken bytes).
  if (!needle_.empty()) {
    const std::string first = needle_.substr(0, Utf8Length(static_cast<unsigned char>(needle_[0])));
    if (first != " " && first != kUtf8BrokenChar) firstForms_ = SjisFormsOf(first);
  }
}

bool SearchMatcher::Matches(std::string_view record) const {
  if (anchor_ == Anchor::Every) return true;
  const std::string_view bytes = start_ < record.size() ? record.substr(start_, width_) : std::string_view();
  // Bytes below 0x80 are the same characters in Shift-JIS and in display
  // text: such a field (a field of blanks among them) needs no conversion,
  // and none is copied when it holds nothing the condition takes out.
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  // A text with other characters is never found in a field without them.
  if (ascii && !needleAscii_) return false;
  const bool plain =
      ascii && bytes.find_first_of(keepBlanks_ ? std::string_view("\r\n") : std::string_view("\r\n ")) == std::string_view::npos;
  std::string_view field = bytes;
  if (!ascii && !firstForms_.empty() &&
      std::none_of(firstForms_.begin(), firstForms_.end(),
                   [&](const std::string& f) { return bytes.find(f) != std::string_view::npos; }))
    return false;
  if (!ascii) {
    scratch_ = CompareForm(FromSjis(bytes), keepBlanks_);
    field = scratch_;
  } else if (!plain) {
    scratch_ = CompareForm(bytes, keepBlanks_);
    field = scratch_;
  }
  switch (anchor_) {
    case Anchor::Anywhere: return field.find(needle_) != std::string_view::npos;
    case Anchor::Begins: return StartsWith(TrimBlanks(field), needle_);
    case Anchor::Ends: return EndsWith(TrimBlanks(field), needle_);
    case Anchor::Every: return true;
  }
  return false;
}

namespace {

// ---- The walk over the work set ----

// What one pass over a record tells the walk.
constexpr std::uint8_t kClosingRecord = 1;
constexpr std::uint8_t kHitRecord = 2;
// On the first record of a breakdown: walked once with nothing found in it
// or below it.
constexpr std::uint8_t kQuietSheet = 4;

// A whole file read into memory in one piece, straight into its buffer.
class FileBytes {
 public:
  // False when the file cannot be read; a missing file reads as empty.
  bool Read(const stdfs::path& path) {
    size_ = 0;
    std::error_code ec;
    if (!stdfs::exists(path, ec)) return !ec;
    const std::uintmax_t size = stdfs::file_size(path, ec);
    if (ec) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    std::setvbuf(f.get(), nullptr, _IONBF, 0);
    data_.reset(new char[static_cast<size_t>(size) + 1]);
    size_ = std::fread(data_.get(), 1, static_cast<size_t>(size) + 1, f.get());
    return !std::ferror(f.get());
  }
  std::string_view View() const { return {data_.get(), size_}; }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

struct LevelImage {
  bool loaded = false;
  stdfs::path path;
  FileBytes file;
  std::string_view bytes;
  LevelLinks links;
  std::vector<std::uint8_t> marks;  // by record number: kClosingRecord, kHitRecord, kQuietSheet
};

// The walk stopped early: at the 1001st hit, or on a damaged or unreadable file.
struct WalkEnd {};

class SearchWalk {
 public:
  SearchWalk(std::string_view target, int dataLen, bool hex, const std::vector<std::string>& levelExt, int maxRows,
             const SearchConditionSet& conditions, StringSearchResult& result)
      : target_(target),
        len_(static_cast<size_t>(dataLen)),
        hex_(hex),
        ext_(levelExt),
        maxRecords_(std::max(maxRows, 1) + 1),
        set_(conditions),
        result_(result) {
    for (const SearchCondition& c : conditions.conditions) matchers_.emplace_back(c);
  }

  void Run() {
    try {
      Sheet(1, 1, 0);
    } catch (const WalkEnd&) {
    }
  }

  const std::string& Output() const { return out_; }

 private:
  int Levels() const { return std::min(static_cast<int>(ext_.size()), static_cast<int>(kMaxLevelsSearched)); }

  LevelImage& Image(int level) {
    LevelImage& image = images_[static_cast<size_t>(level)];
    if (image.loaded) return image;
    image.loaded = true;
    image.path = fs::ResolveNoCase(stdfs::path(target_ + ext_[static_cast<size_t>(level - 1)]));
    if (!image.file.Read(image.path)) {
      result_.status = StringSearchStatus::CannotRead;
      result_.file = image.path;
      result_.reason = "作業ファイル [ " + image.path.filename().string() + " ] を読めません。";
      throw WalkEnd{};
    }
    image.bytes = image.file.View();
    // One pass in file order takes in each record's links and tests it
    // against the conditions: the walk along the chains then touches the
    // records of its hits only, not every record at its scattered place.
    if (image.bytes.size() % len_ != 0) Damaged(image.path, {LevelFault::BadLength, 0});
    const size_t count = image.bytes.size() / len_;
    if (count > static_cast<size_t>(INT_MAX)) Damaged(image.path, {LevelFault::BadLength, 0});
    image.links.Reset(static_cast<int>(count), hex_);
    image.marks.assign(count + 1, 0);
    for (size_t n = 1; n <= count; ++n) {
      const std::string_view rec = Record(image, static_cast<int>(n));
      image.links.Add(static_cast<int>(n), rec);
      if (rec.size() >= size_t(kKindPos) && rec[kKindPos - 1] == kClosingKind) image.marks[n] = kClosingRecord;
      else if (Hit(rec)) image.marks[n] = kHitRecord;
    }
    return image;
  }

  [[noreturn]] void Damaged(const stdfs::path& file, const LevelFileProblem& p) {
    result_.status = StringSearchStatus::Damaged;
    result_.file = file;
    result_.problem = p;
    throw WalkEnd{};
  }

  std::string_view Record(const LevelImage& image, int n) const {
    return std::string_view(image.bytes).substr(static_cast<size_t>(n - 1) * len_, len_);
  }

  // The records of the sheet: the top level in file order, each checked; a
  // deeper one the chain from `first` by the checked walk. At most a sheet's
  // rows and its closing record are taken, as the level reader reads them.
  // On damage `chain` holds the records met before it, `problem` the fault
  // and the file it lies in.
  struct ChainFound {
    std::vector<int> chain;
    LevelFileProblem problem;
    const stdfs::path* file = nullptr;
  };
  ChainFound Chain(int level, int first, int from) {
    LevelImage& image = Image(level);
    ChainFound out;
    out.file = &image.path;
    if (level == 1) {
      const int count = std::min(image.links.Count(), maxRecords_);
      for (int n = 1; n <= count && !out.problem; ++n) {
        out.problem = image.links.Check(n);
        if (!out.problem) out.chain.push_back(n);
      }
      return out;
    }
    if (first > image.links.Count()) {
      out.problem = {LevelFault::LinkPastEnd, from};
      out.file = &Image(level - 1).path;
      return out;
    }
    out.problem = image.links.Walk(first, maxRecords_, out.chain);
    // Records after one reached from two sheets belong to no sheet for sure.
    if (out.problem.fault == LevelFault::SharedRecord) {
      const auto at = std::find(out.chain.begin(), out.chain.end(), out.problem.record);
      out.chain.erase(at, out.chain.end());
    }
    return out;
  }

  // Rows of several sheets may share one breakdown. Its hits are listed
  // under each of them, but a breakdown found without hits is not walked
  // again: sharing on every level must not turn the walk into billions of
  // rows that the user waits for.
  void Sheet(int level, int first, int from) {
    const int hitsBefore = result_.hits;
    const ChainFound sheet = Chain(level, first, from);
    const std::vector<int>& chain = sheet.chain;
    for (size_t i = 0; i < chain.size(); ++i) {
      const int n = chain[i];
      const int row = static_cast<int>(i) + 1;
      const LevelImage& image = Image(level);
      const std::uint8_t mark = image.marks[static_cast<size_t>(n)];
      if (mark & kClosingRecord) continue;
      path_[static_cast<size_t>(level)] = {n, row};
      if (mark & kHitRecord) Write(level, Record(image, n));
      const int child = image.links.Child(n);
      if (child == kNoRecord || level >= Levels()) continue;
      const LevelImage& below = Image(level + 1);
      if (child <= below.links.Count() && (below.marks[static_cast<size_t>(child)] & kQuietSheet)) continue;
      Sheet(level + 1, child, n);
    }
    // The rows met before a fault have been searched; the walk ends here.
    if (sheet.problem) Damaged(*sheet.file, sheet.problem);
    if (level > 1 && result_.hits == hitsBefore) Image(level).marks[static_cast<size_t>(first)] |= kQuietSheet;
  }

  bool Hit(std::string_view rec) const {
    return std::all_of(matchers_.begin(), matchers_.end(), [&](const SearchMatcher& m) { return m.Matches(rec); });
  }

  // The heading of the parent at `level` for the path line.
  std::string Heading(int level) {
    const Step& step = path_[static_cast<size_t>(level)];
    std::string heading;
    if (set_.titleWidth > 0) {
      const std::string_view rec = Record(Image(level), step.record);
      const size_t s = static_cast<size_t>(set_.titleStart);
      const std::string_view bytes = s < rec.size() ? rec.substr(s, static_cast<size_t>(set_.titleWidth)) : "";
      if (!AllBlankBytes(bytes)) heading = std::string(TrimBlanks(CompareForm(FromSjis(bytes), true)));
    }
    return heading.empty() ? RowText(step.row) : heading;
  }

  static std::string RowText(int row) { return std::to_string(row) + "行目"; }

  void Write(int level, std::string_view rec) {
    if (result_.hits >= kMaxSearchHits) {
      result_.status = StringSearchStatus::TooMany;
      throw WalkEnd{};
    }
    ++result_.hits;
    const int row = path_[static_cast<size_t>(level)].row;
    std::string numbers;
    std::string path;
    if (level == 1) {
      numbers = std::to_string(row) + ",0";
    } else {
      numbers = "0";
      for (int l = 1; l < level; ++l) {
        numbers += "," + std::to_string(path_[static_cast<size_t>(l)].record);
        path += Heading(l) + " > ";
      }
      numbers += "," + std::to_string(row);
    }
    path += RowText(row);
    out_ += numbers;
    out_ += kCrLf;
    out_ += ToSjis(path);
    out_ += kCrLf;
    out_ += rec;
    out_ += kCrLf;
    out_ += kLineEnd;
    out_ += kCrLf;
  }

  static constexpr int kMaxLevelsSearched = 8;
  struct Step {
    int record = 0;
    int row = 0;
  };

  std::string target_;
  size_t len_;
  bool hex_;
  const std::vector<std::string>& ext_;
  int maxRecords_;
  const SearchConditionSet& set_;
  std::vector<SearchMatcher> matchers_;
  StringSearchResult& result_;
  std::array<LevelImage, kMaxLevelsSearched + 1> images_{};
  std::array<Step, kMaxLevelsSearched + 1> path_{};
  std::string out_;
};

}  // namespace

StringSearchResult StringSearch2(std::string_view target, const std::filesystem::path& folder, int dataLen,
                                 std::string_view hLink, const std::vector<std::string>& levelExt, int maxRows) {
  StringSearchResult result;
  const stdfs::path condFile = fs::ResolveNoCase(folder / std::string(kSearchConditionFile));
  std::error_code ec;
  const std::optional<std::string> ini = fs::ReadFileBytes(condFile, ec);
  SearchConditionSet conditions;
  if (!ini) {
    result.status = StringSearchStatus::BadConditions;
    result.reason = "検索条件ファイル [ " + std::string(kSearchConditionFile) + " ] を読めません。";
    return result;
  }
  if (dataLen < 1 || !ReadSearchConditions(*ini, dataLen, conditions, result.reason)) {
    result.status = StringSearchStatus::BadConditions;
    return result;
  }
  SearchWalk walk(target, dataLen, IsHexBase(hLink), levelExt, maxRows, conditions, result);
  walk.Run();
  if (result.status == StringSearchStatus::CannotRead) {
    result.hits = 0;
    return result;
  }
  const stdfs::path resultFile = fs::ResolveNoCase(folder / std::string(kSearchResultFile));
  if (!fs::WriteFileAtomic(resultFile, walk.Output(), ec)) {
    result = {};
    result.status = StringSearchStatus::CannotWrite;
    result.reason = "検索結果ファイル [ " + std::string(kSearchResultFile) + " ] を書き込めません。\r" + ec.message();
  }
  return result;
}

}  // namespace kv
