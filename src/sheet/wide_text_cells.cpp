#include "sheet/wide_text_cells.h"

#include <algorithm>

#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "sheet/sheet_fields.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Byte length of the character at byte index i (a lead byte at the very end
// counts as one byte).
size_t CharLen(std::string_view bytes, size_t i) {
  return IsSjisLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
}

bool CutPos(std::string_view bytes, int n, int& pos) {
  int total = 0;
  for (size_t i = 0; i < bytes.size();) {
    const int len = static_cast<int>(CharLen(bytes, i));
    if (total + len == n) {
      pos = n - len;
      return false;
    }
    if (total + len > n) {
      pos = total;
      return true;
    }
    total += len;
    i += static_cast<size_t>(len);
  }
  pos = static_cast<int>(bytes.size());
  return true;
}

// True when a double-byte character begins at byte p (1-based), so that it
// occupies bytes p and p + 1.
bool DbcsAt(std::string_view bytes, int p) {
  if (p < 1) return false;
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = CharLen(bytes, i);
    if (i + 1 == static_cast<size_t>(p)) return len == 2;
    if (i + 1 > static_cast<size_t>(p)) return false;
    i += len;
  }
  return false;
}

std::string RemoveFirstTwo(std::string_view bytes, char ch) {
  std::string out;
  out.reserve(bytes.size());
  int removed = 0;
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = CharLen(bytes, i);
    if (len == 1 && bytes[i] == ch && removed < 2)
      ++removed;
    else
      out.append(bytes.substr(i, len));
    i += len;
  }
  return out;
}

std::string Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

int Len(std::string_view bytes) { return static_cast<int>(bytes.size()); }

std::string Tail(std::string_view bytes, int from) {
  return from < Len(bytes) ? std::string(bytes.substr(static_cast<size_t>(from))) : std::string();
}

}  // namespace

bool DbcsCutPos(std::string_view text, int n, int& pos) { return CutPos(ToSjis(text), n, pos); }

std::string StrReplaceB(std::string_view text, char ch) {
  return FromSjis(RemoveFirstTwo(ToSjis(text), ch));
}

std::string WColumnTextFit(const ProgramState& st, std::string_view bytes, int level, int column) {
  if (!IsWColumn(st, column, level)) return std::string(bytes);
  const int width = st.ColWidth[level][column];
  const int n = WColumnOneLineWidth(width);
  const std::string_view field = bytes.substr(0, static_cast<size_t>(std::max(width, 0)));
  const size_t lf = field.find('\n');
  if (lf == std::string_view::npos) return CutToBytes(bytes, n);
  // The first line without its line break (CR LF, or a lone LF).
  const size_t end = lf > 0 && field[lf - 1] == '\r' ? lf - 1 : lf;
  std::string line(field.substr(0, end));
  if (Len(line) < n) line.resize(static_cast<size_t>(n), ' ');
  return line;
}

std::string CellTextSplit(const ProgramState& st, std::string_view bytes, int column, int level) {
  const int colWidth = column >= 0 && column <= kMaxColumns && level >= 0 && level <= 8
                           ? st.ColWidth[level][column]
                           : 0;
  const int w = WColumnLineWidth(colWidth);
  const std::string blanks(static_cast<size_t>(std::max(colWidth, 0)), ' ');
  const DanLines d = Text2DanSplit(bytes, kDanSplit);
  const std::string line1 = RTrimBlanks(d.line1);
  if (Len(line1) > w) {
    // Broken after w bytes, or before a double-byte character at the break.
    if (DbcsAt(line1, w) && w > 1)
      return line1.substr(0, static_cast<size_t>(w - 1)) + std::string(kCrLf) + Tail(line1, w - 1);
    const std::string head = LeftByBytesAnsi(line1, w);
    return head + std::string(kCrLf) + FitBytes(Tail(line1, Len(head)), w);
  }
  if (d.line2.empty()) return line1 + blanks;
  return line1 + std::string(kCrLf) + LeftByBytesAnsi(d.line2, w) + blanks;
}

std::string CellTextFit(const ProgramState& st, std::string& text, int column) {
  const int level = st.CurrentLevel;
  const int current = st.CurrentCol;
  if (!IsWColumn(st, current, level)) return text;
  const int measured = column != 0 && column >= current && column <= kMaxColumns ? column : current;
  const int w = WColumnLineWidth(st.ColWidth[level][measured]);

  std::string b = ToSjis(text);
  size_t lf = b.find('\n');
  if (lf == std::string::npos) {
    if (Len(b) <= w) return text;
    if (DbcsAt(b, w)) {
      // The character at the break begins line 2.
      const std::string line1 = b.substr(0, static_cast<size_t>(w - 1)) + " ";
      const std::string line2 = LeftByBytesAnsi(Tail(b, w - 1), w);
      return FromSjis(line1 + "\n" + line2);
    }
    const std::string line1 = b.substr(0, static_cast<size_t>(w));
    std::string line2 = Tail(b, w);
    if (DbcsAt(line2, w)) line2.resize(static_cast<size_t>(w - 1));
    return FromSjis(IsBlank(line2) ? line1 : line1 + "\n" + line2);
  }

  if (b.find('\r') == std::string::npos) {
    b.insert(lf, "\r");
    text = FromSjis(b);
    lf = b.find('\n');
  }
  const int p = static_cast<int>(lf) + 1;  // byte position of the LF
  if (p <= w) {
    const std::string line1 = RemoveFirstTwo(b.substr(0, static_cast<size_t>(p)), '\r');
    return FromSjis(line1 + LeftByBytesAnsi(Tail(b, p), w));
  }
  if (!DbcsAt(b, w)) {
    // The first line is too long for the break: the lines run on.
    const std::string line1 = RemoveFirstTwo(b.substr(0, static_cast<size_t>(p - 1)), '\r');
    return FromSjis(line1 + LeftByBytesAnsi(Tail(b, p), w));
  }
  const std::string line1 = b.substr(0, static_cast<size_t>(w - 1));
  std::string line2 = Tail(b, w - 1);
  if (IsBlank(line2)) {
    line2.clear();
  } else {
    line2 = RemoveFirstTwo(LeftByBytesAnsi(line2, w), '\r');
    const size_t q = line2.find('\n');
    if (q == 0)
      line2.erase(0, 1);
    else if (q != std::string::npos && IsBlank(std::string_view(line2).substr(0, q)))
      line2 = Trim(std::string_view(line2).substr(q + 1));
    else if (q != std::string::npos)
      line2.erase(q, 1);
  }
  return FromSjis(line1 + "\n" + line2);
}

}  // namespace kv
