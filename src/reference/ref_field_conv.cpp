#include "reference/ref_field_conv.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <set>

#include "core/level_links.h"
#include "core/record_file.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "reference/ref_sheet.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {

namespace fsys = std::filesystem;

namespace {

std::string_view TrimBlanks(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The number a layout item begins with, blanks trimmed; 0 when it does not
// begin with a digit.
int LeadingNumber(std::string_view item) {
  item = TrimBlanks(item);
  long value = 0;
  for (char c : item) {
    if (c < '0' || c > '9') break;
    value = std::min<long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

// `bytes` cut to `width` bytes without splitting a double-byte character and
// padded with blanks to exactly `width`.
std::string FitBytes(std::string_view bytes, int width) {
  std::string out = LeftByBytesAnsi(bytes, width);
  out.resize(static_cast<size_t>(width), ' ');
  return out;
}

// Nearest integer, halves to even (the rounding of the wrap width).
int RoundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

// A source wider than its field holding a two-line text whose line break lies
// at half the field or later: wrapped again with the break at half the width.
std::string Rewrapped(const std::string& text, int width) {
  const size_t crlf = text.find("\r\n");
  if (crlf == std::string::npos || TrimBlanks(text).empty()) return text;
  if (width / 2.0 > static_cast<double>(crlf + 1)) return text;
  const std::string joined = text.substr(0, crlf) + text.substr(crlf + 2);
  const std::string head = LeftByBytesAnsi(joined, RoundHalfEven(width / 2.0 - 1));
  return head + "\r\n" + joined.substr(head.size());
}

std::string DamageText(const fsys::path& file, const LevelFileProblem& p) {
  std::string text = "作業ファイル [ " + file.filename().string() + " ] が壊れています。" + LevelFaultText(p.fault);
  if (p.record > 0) text += " (レコード " + std::to_string(p.record) + ")";
  return text;
}

bool SamePlace(const fsys::path& a, const fsys::path& b) {
  std::error_code e1, e2;
  const fsys::path ca = fsys::weakly_canonical(a, e1);
  const fsys::path cb = fsys::weakly_canonical(b, e2);
  return !e1 && !e2 && ca == cb;
}

// Every level file checked before anything is written: whole records, the
// top level's records sound, every breakdown chain reached from the level
// above walked by the checked walk.
bool CheckLevels(const ProgramState& st, const std::vector<fsys::path>& files, std::string& reason) {
  const bool hex = IsHexBase(st.H_Link);
  std::vector<int> reached;
  for (size_t lv = 0; lv < files.size(); ++lv) {
    RecordFile file(files[lv], st.DataLen, RecordFileMode::ReadOnly);
    const FileRecords src(file);
    LevelLinks links;
    if (LevelFileProblem p = LevelLinksRead(src, hex, links)) {
      reason = DamageText(files[lv], p);
      return false;
    }
    std::vector<int> next;
    if (lv == 0) {
      for (int n = 1; n <= links.Count(); ++n) {
        if (LevelFileProblem p = links.Check(n)) {
          reason = DamageText(files[lv], p);
          return false;
        }
        next.push_back(n);
      }
    } else {
      std::vector<int> chain;
      for (int first : reached) {
        if (LevelFileProblem p = links.Walk(first, INT_MAX, chain)) {
          reason = DamageText(files[lv], p);
          return false;
        }
        next.insert(next.end(), chain.begin(), chain.end());
      }
    }
    // The first records of the breakdowns below the records reached.
    std::set<int> firsts;
    for (int n : next)
      if (links.Child(n) >= 1) firsts.insert(links.Child(n));
    reached.assign(firsts.begin(), firsts.end());
  }
  return true;
}

void RemoveAll(const std::vector<fsys::path>& paths) {
  std::error_code ec;
  for (const fsys::path& p : paths) fsys::remove(p, ec);
}

}  // namespace

bool RefFldInfoRead(const ProgramState& st, const std::string& workBase, std::vector<RefField>& fields,
                    std::string& problem) {
  const std::string path = LayoutFilePath(st, workBase);
  std::string why;
  const auto layout = ReadLayoutFile(path, &why);
  if (!layout) {
    problem = why.empty() ? "レイアウトファイル " + path + " を読み込めません。"
                          : "レイアウトファイル " + path + " は正しくありません。\n" + why;
    return false;
  }
  fields.clear();
  int offset = 20;
  for (int c = 1; c <= std::min(layout->counts[1], kMaxRuleFields); ++c) {
    RefField f;
    f.name = ToUnicodeStr(layout->headings[1][c]);
    const std::string& code = layout->types[1][c];
    f.type = !code.empty() && std::string_view("01234A").find(code[0]) != std::string_view::npos ? "N" : "C";
    f.decimals = LeadingNumber(layout->decimals[1][c]);
    f.width = LeadingNumber(layout->widths[1][c]);
    f.offset = offset;
    offset += f.width;
    fields.push_back(std::move(f));
  }
  return true;
}

bool IsConvNumber(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  int digits = 0;
  bool lastComma = false;
  for (; i < t.size() && t[i] != '.'; ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      ++digits;
      lastComma = false;
    } else if (t[i] == ',' && digits > 0 && !lastComma) {
      lastComma = true;
    } else {
      return false;
    }
  }
  if (lastComma) return false;
  if (i < t.size()) {  // the point
    ++i;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i) {
      if (t[i] < '0' || t[i] > '9') return false;
      ++digits;
    }
  }
  return digits > 0;
}

std::string ChgAnsFormat(std::string_view text, int width, int decimals) {
  if (width < 1) return {};
  if (text.find("++") != std::string_view::npos) return std::string(static_cast<size_t>(width), '+');
  if (text.find("--") != std::string_view::npos) return std::string(static_cast<size_t>(width), '-');
  if (!IsConvNumber(text)) return std::string(text);
  std::string t;
  for (char c : text)
    if (c != ',') t += c;
  const size_t point = t.find('.');
  const std::string whole = t.substr(0, point);
  const std::string fraction = point == std::string::npos ? std::string() : t.substr(point + 1);
  const int room = decimals != 0 ? width - decimals - 1 : width;
  if (room < 1 || static_cast<int>(whole.size()) > room)
    return std::string(static_cast<size_t>(width), t[0] == '-' ? '-' : '+');
  std::string out = std::string(static_cast<size_t>(room) - whole.size(), ' ') + whole;
  if (decimals == 0) return out;
  if (point == std::string::npos) return out + std::string(static_cast<size_t>(decimals) + 1, ' ');
  std::string frac = fraction.substr(0, static_cast<size_t>(decimals));
  frac.resize(static_cast<size_t>(decimals), ' ');
  return out + "." + frac;
}

std::string ScStrConv(std::string_view source, const RefConvRule& rule) {
  std::string result(source);
  if (IsMemoTextRow(source)) return result;
  const int size = static_cast<int>(result.size());
  for (size_t e = 0; e < rule.m.size(); ++e) {
    const RefField& mf = rule.m[e];
    const int o = mf.offset;
    if (o < 1 || o > size || mf.width < 1) continue;
    const int w = std::min(mf.width, size - o + 1);
    const int r = e < rule.map.size() ? rule.map[e] : -1;
    std::string field(static_cast<size_t>(w), ' ');
    if (r >= 0 && r < static_cast<int>(rule.r.size())) {
      const RefField& rf = rule.r[static_cast<size_t>(r)];
      std::string t;
      if (rf.offset >= 1 && rf.offset <= size && rf.width > 0)
        t = std::string(source.substr(static_cast<size_t>(rf.offset - 1), static_cast<size_t>(rf.width)));
      if (mf.type == "N" && rf.type == "N") {
        const std::string_view trimmed = TrimBlanks(t);
        if (!trimmed.empty()) field = FitBytes(ChgAnsFormat(trimmed, mf.width, mf.decimals), w);
      } else {
        if (rf.width > mf.width) t = Rewrapped(t, mf.width);
        field = FitBytes(t, w);
      }
    }
    result.replace(static_cast<size_t>(o - 1), static_cast<size_t>(w), field);
  }
  return result;
}

bool RefDataChgMain(ProgramState& st, const std::string& base, const RefConvRule& rule, std::string& reason) {
  reason.clear();
  if (!SamePlace(fsys::path(base).parent_path(), RefWorkFolder(st))) {
    reason = "参考作業フォルダの外のファイルは変換しません。";
    return false;
  }
  std::vector<fsys::path> files;
  std::error_code ec;
  for (int n = 1; n <= st.LevelCount; ++n) {
    const fsys::path p = LevelFilePath(st, base, n);
    if (!fsys::is_regular_file(p, ec)) break;
    files.push_back(p);
  }
  std::vector<fsys::path> temps, asides;
  for (const fsys::path& p : files) {
    temps.push_back(fsys::path(p.string() + ".conv"));
    asides.push_back(fsys::path(p.string() + ".prev"));
  }
  try {
    if (!CheckLevels(st, files, reason)) return false;
    RemoveAll(temps);
    std::string rec;
    for (size_t i = 0; i < files.size(); ++i) {
      const RecordFile in(files[i], st.DataLen, RecordFileMode::ReadOnly);
      RecordFile out(temps[i], st.DataLen);
      const std::int32_t count = in.RecordCount();
      for (std::int32_t k = 1; k <= count; ++k) {
        if (!in.GetRecordText(k, rec)) throw RecordFileError(files[i].filename().string() + " を読めません。");
        out.PutRecordText(k, ScStrConv(rec, rule));
      }
      out.Close();
    }
  } catch (const RecordFileError& e) {
    RemoveAll(temps);
    reason = std::string("作業ファイルを読み書きできませんでした。\n") + e.what();
    return false;
  }
  // Every file written: the originals set aside, the converted ones put in
  // their place; a rename that fails puts back what was moved.
  RemoveAll(asides);
  for (size_t i = 0; i < files.size(); ++i) {
    std::error_code e1, e2;
    fsys::rename(files[i], asides[i], e1);
    if (!e1) fsys::rename(temps[i], files[i], e2);
    if (e1 || e2) {
      if (!e1) fsys::rename(asides[i], files[i], e1);
      for (size_t k = 0; k < i; ++k) {
        fsys::rename(files[k], temps[k], ec);
        fsys::rename(asides[k], files[k], ec);
      }
      RemoveAll(temps);
      for (const fsys::path& p : files) RecordFileChanged(p);
      reason = (e1 ? e1 : e2).message();
      return false;
    }
  }
  RemoveAll(asides);
  for (const fsys::path& p : files) RecordFileChanged(p);
  return true;
}

}  // namespace kv
