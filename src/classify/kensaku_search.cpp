#include "classify/kensaku_search.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/level_files.h"
#include "storage/level_read.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kSection = "検索条件";
constexpr std::string_view kLineEnd = "LineEnd----";
constexpr std::string_view kCrLf = "\r\n";
constexpr int kConditionEntries = 5;  // entries 0..4 of KensakuCond

// " 12": a count as the labels show it.
std::string StrForm(int n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

stdfs::path ProgramFile(const ProgramState& st, std::string_view name) {
  return fs::ResolveNoCase(stdfs::path(st.AppPath) / std::string(name));
}

// s and w of a column at a level: 0-based byte offset and byte width; -1, 0
// for a column the tables do not hold.
struct FieldPos {
  int s = -1;
  int w = 0;
};
FieldPos ColumnField(const ProgramState& st, int column, int level) {
  if (level < 1 || level > kMaxLevels || column < 0 || column > kMaxColumns) return {};
  return {st.ColStart[size_t(level)][size_t(column)] - 1, st.ColWidth[size_t(level)][size_t(column)]};
}

std::string ConditionLine(FieldPos f, std::string_view text, std::string_view blank, std::string_view kind) {
  return std::to_string(f.s) + "," + std::to_string(f.w) + "," + std::string(text) + "," + std::string(blank) + "," +
         std::string(kind);
}

// The integer of a column number as the dialog stores it (" 5").
int ColumnNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), 100000);
  }
  return value;
}

// ---- The number line ----

// The leading number of a field (leading blanks skipped; no digits: 0),
// rounded to an integer with halves to even, held within 16 bits.
int FieldValue(std::string_view f) {
  size_t i = 0;
  while (i < f.size() && f[i] == ' ') ++i;
  bool negative = false;
  if (i < f.size() && (f[i] == '-' || f[i] == '+')) negative = f[i++] == '-';
  long long whole = 0;
  for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) whole = std::min(whole * 10 + (f[i] - '0'), 1000000LL);
  if (i < f.size() && f[i] == '.') {
    ++i;
    // The fraction compared with one half: above, exactly, or below.
    int firstDigit = -1;
    bool moreAfter = false;
    for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) {
      if (firstDigit < 0) firstDigit = f[i] - '0';
      else if (f[i] != '0') moreAfter = true;
    }
    if (firstDigit > 5 || (firstDigit == 5 && (moreAfter || whole % 2 == 1))) ++whole;
  }
  const long long value = negative ? -whole : whole;
  return static_cast<int>(std::clamp(value, -32768LL, 32767LL));
}

void NumberLine(std::string_view line, std::array<int, kHitNumberCount>& nums) {
  nums.fill(0);
  int k = 0;
  size_t fieldStart = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ',') continue;
    const int value = FieldValue(line.substr(fieldStart, i - fieldStart));
    if (k < kHitNumberCount) nums[size_t(k)] = value;
    if (k == 1 && value != 0) nums[0] = 0;
    ++k;
    fieldStart = i + 1;
  }
  if (k < kHitNumberCount) nums[size_t(k)] = FieldValue(line.substr(fieldStart));
}

// The path line as kept: display text cut or padded to 256 characters.
std::string PathText(std::string_view sjis) {
  std::string text = FromSjis(sjis);
  size_t at = 0;
  int chars = 0;
  while (at < text.size() && chars < kHitPathChars) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    at += c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    ++chars;
  }
  text.resize(std::min(at, text.size()));
  text.append(size_t(kHitPathChars - chars), ' ');
  return text;
}

// The lines of the result file, each ended by CR LF (a last line may lack it).
class Lines {
 public:
  explicit Lines(std::string_view bytes) : rest_(bytes) {}
  bool AtEnd() const { return rest_.empty(); }
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const size_t end = rest_.find(kCrLf);
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + kCrLf.size());
    return true;
  }

 private:
  std::string_view rest_;
};

std::string RefusedCharText(const std::string& c) { return "検索できない文字が含まれています: 「" + c + "」"; }

int Msg(ProgramState& st, const std::string& text, int style) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(text, style, kSearchTitle);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

}  // namespace

void KensakuHits::NewSearch() {
  HitCount = 0;
  for (auto& nums : HitNums) nums.fill(0);
}

void KensakuHits::BlankPaths() {
  for (auto& p : HitPaths) p.assign(kHitPathChars, ' ');
}

KensakuReadResult ReadKensakuResult(std::string_view bytes, KensakuHits& hits, const KensakuReadHooks& hooks) {
  KensakuReadResult result;
  Lines lines(bytes);
  int count = 0;
  auto finish = [&](KensakuReadEnd end) {
    hits.HitCount = count;
    if (hooks.ShowCount) hooks.ShowCount(StrForm(count));
    result.count = count;
    result.end = end;
    return result;
  };
  while (!lines.AtEnd()) {
    if (count >= kMaxSearchHits) return finish(KensakuReadEnd::Capped);
    std::string_view numberLine, pathLine, line;
    lines.Next(numberLine);
    const int hit = count + 1;
    if (hit % 2 == 1 && hooks.ShowCount) hooks.ShowCount(StrForm(hit));
    std::array<int, kHitNumberCount> nums{};
    NumberLine(numberLine, nums);
    if (!lines.Next(pathLine) || !lines.Next(line)) return finish(KensakuReadEnd::Truncated);
    std::string record(line);
    for (;;) {
      if (!lines.Next(line)) return finish(KensakuReadEnd::Truncated);
      if (line == kLineEnd) break;
      record += kCrLf;
      record += line;
    }
    count = hit;
    hits.HitNums[size_t(count)] = nums;
    hits.HitPaths[size_t(count)] = PathText(pathLine);
    hits.HitCount = count;
    if (hooks.Hit && !hooks.Hit(count, record)) return finish(KensakuReadEnd::Stopped);
  }
  return finish(KensakuReadEnd::Complete);
}

KensakuReadResult ZGetKensakuResult(const ProgramState& st, KensakuHits& hits, const KensakuReadHooks& hooks) {
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(ProgramFile(st, kSearchResultFile), ec);
  if (!bytes) {
    KensakuReadResult r = ReadKensakuResult({}, hits, hooks);
    r.end = KensakuReadEnd::Missing;
    return r;
  }
  return ReadKensakuResult(*bytes, hits, hooks);
}

bool ZMakeKensakuINI(ProgramState& st, const std::string& text, int level) {
  const stdfs::path file = ProgramFile(st, kSearchConditionFile);
  // The heading column; "0,0" when it names no field.
  FieldPos title = ColumnField(st, st.CaptionColmun1, level);
  if (title.s < 0 || title.w < 1) title = {0, 0};
  bool ok = IniPutString(kSection, "検索タイトル", std::to_string(title.s) + "," + std::to_string(title.w), file);
  auto& cond = st.KensakuCond;
  if (cond[0].ColumnNo.empty()) {
    const int column = st.SearchTitle == kRefSearchCaption ? st.RefSelStart : st.CurrentCol;
    const FieldPos f = ColumnField(st, column, level);
    ok = ok && IniPutString(kSection, "検索条件件数", "1", file);
    ok = ok && IniPutString(kSection, "1", ConditionLine(f, SqueezeFitChars(Utf8{text}, f.w), "1", "1"), file);
    return ok;
  }
  int n = 0;
  while (n < kConditionEntries && !cond[size_t(n)].ColumnNo.empty()) ++n;
  ok = ok && IniPutString(kSection, "検索条件件数", std::to_string(n), file);
  for (int i = 1; i <= n; ++i) {
    KensakuCondEntry& e = cond[size_t(i - 1)];
    if (e.WithBlanks.empty()) e.WithBlanks = "0";
    const FieldPos f = ColumnField(st, ColumnNumber(e.ColumnNo), level);
    ok = ok && IniPutString(kSection, std::to_string(i), ConditionLine(f, e.Pattern, e.WithBlanks, "0"), file);
  }
  return ok;
}

KensakuOutcome RunStringSearch(ProgramState& st, const std::string& text, int level, const std::string& target,
                               KensakuHits& hits, const KensakuReadHooks& hooks) {
  hits.NewSearch();
  KensakuOutcome out;
  // A character Shift-JIS cannot hold would be written as "?" and searched
  // for as such: the window refuses it first, and nothing is searched here.
  std::string outside = st.KensakuCond[0].ColumnNo.empty() ? FirstCharOutsideSjis(text) : "";
  for (int i = 0; i < kConditionEntries && outside.empty() && !st.KensakuCond[size_t(i)].ColumnNo.empty(); ++i)
    outside = FirstCharOutsideSjis(st.KensakuCond[size_t(i)].Pattern);
  if (!outside.empty()) {
    out.status = KensakuStatus::Failed;
    out.reason = RefusedCharText(outside);
    return out;
  }
  if (!ZMakeKensakuINI(st, text, level)) {
    out.status = KensakuStatus::Failed;
    out.reason = "検索条件ファイル [ " + std::string(kSearchConditionFile) + " ] を書き込めません。";
    return out;
  }
  std::vector<std::string> ext;
  for (int l = 1; l <= std::clamp(st.LevelCount, 1, kMaxLevels); ++l) ext.push_back(st.LevelExt[size_t(l)]);
  const StringSearchResult r = StringSearch2(target, st.AppPath, st.DataLen, st.H_Link, ext, SheetRowLimit(st));
  switch (r.status) {
    case StringSearchStatus::BadConditions:
    case StringSearchStatus::CannotRead:
    case StringSearchStatus::CannotWrite:
      out.status = KensakuStatus::Failed;
      out.reason = r.reason;
      return out;
    default: break;
  }
  const KensakuReadResult read = ZGetKensakuResult(st, hits, hooks);
  out.hits = hits.HitCount;
  if (read.end == KensakuReadEnd::Stopped) {
    out.status = KensakuStatus::Stopped;
  } else if (read.end == KensakuReadEnd::Missing) {
    out.status = KensakuStatus::Failed;
    out.reason = "検索結果ファイル [ " + std::string(kSearchResultFile) + " ] を読めません。";
  } else if (r.status == StringSearchStatus::Damaged) {
    out.status = KensakuStatus::Damaged;
    out.file = r.file;
    out.problem = r.problem;
  } else if (read.end == KensakuReadEnd::Truncated) {
    out.status = KensakuStatus::Incomplete;
  } else if (r.status == StringSearchStatus::TooMany || read.end == KensakuReadEnd::Capped) {
    out.status = KensakuStatus::TooMany;
  }
  return out;
}

void KensakuEndShow(ProgramState& st, const KensakuOutcome& outcome) {
  const std::string done = "検索が終了しました";
  switch (outcome.status) {
    case KensakuStatus::Done: Msg(st, done, vbOKOnly); break;
    case KensakuStatus::TooMany:
      Msg(st, done + "\r検索結果が 1000件を越えたため、最初の 1000件を表示しています。", vbOKOnly);
      break;
    case KensakuStatus::Incomplete:
      Msg(st, done + "\r検索結果ファイルが途中で切れていたため、読めた" + StrForm(outcome.hits) + "件を表示しています。",
          vbOKOnly | vbExclamation);
      break;
    case KensakuStatus::Failed: Msg(st, "検索できませんでした。\r" + outcome.reason, vbOKOnly | vbExclamation); break;
    case KensakuStatus::Damaged: LevelFileFaultShow(st, outcome.file, outcome.problem); break;
    case KensakuStatus::Stopped: break;
  }
}

std::string FirstCharOutsideSjis(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const size_t len = std::min<size_t>(c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1,
                                        text.size() - at);
    const std::string_view ch = text.substr(at, len);
    if (ch != std::string_view(&kSjisDefaultChar, 1) && ToSjis(ch) == std::string(1, kSjisDefaultChar))
      return std::string(ch);
    at += len;
  }
  return "";
}

bool SearchTextRefused(ProgramState& st, std::string_view text) {
  const std::string c = FirstCharOutsideSjis(text);
  if (c.empty()) return false;
  Msg(st, RefusedCharText(c), vbOKOnly | vbExclamation);
  return true;
}

}  // namespace kv
