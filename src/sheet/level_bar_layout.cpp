#include "sheet/level_bar_layout.h"

#include <algorithm>
#include <cmath>

#include "core/number_scan.h"
#include "core/sjis_text.h"
#include "sheet/wide_text_cells.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {

namespace {

bool VerticalMode(std::string_view mode) { return mode == "縦" || mode == "縦計"; }

long Toolbars(const LevelBarFrame& f) { return f.toolbarDocked ? f.toolbarHeight : 0; }

std::string Spaces(int n) { return std::string(static_cast<size_t>(n < 0 ? 0 : n), ' '); }

// The display text of a record's field at `level` positions of column c.
std::string FieldBytes(const ProgramState& st, const std::string& rec, int level, int c) {
  const int start = st.ColStart[level][c];
  const int width = st.ColWidth[level][c];
  if (start < 1 || width < 1 || static_cast<size_t>(start - 1) >= rec.size()) return {};
  return rec.substr(static_cast<size_t>(start - 1), static_cast<size_t>(width));
}

std::string TotalsCaption(const ProgramState& st, int p) {
  std::string t;
  for (int c : {st.ParentTotalCols[p], st.ParentTotalCols2[p]}) {
    if (c <= 0 || c > kMaxColumns) continue;
    const int w = st.ColWidth[p][c];
    std::string amount = ToUnicodeStr(FieldBytes(st, st.PathTotalRecords[p], p, c));
    if (ScanNumber(amount).IsZero())
      amount = Spaces(w + 3);
    else
      NumCommaFormat(st, p, amount, c);
    // The amount right-aligned in w + 3 characters, all of it when longer;
    // the mark is the yen sign.
    const size_t shown = static_cast<size_t>(std::max(w + 3, 0));
    if (amount.size() < shown) amount = Spaces(static_cast<int>(shown - amount.size())) + amount;
    t += " :¥" + amount;
  }
  return std::to_string(p) + ")階層-計 (" + t;
}

}  // namespace

std::string ParentHeadingCaption(const ProgramState& st, int p) {
  const int c1 = st.CaptionColmun1;
  const int c2 = st.CaptionColmun2;
  if (c1 < 1 || c2 < c1 || c2 > kMaxColumns) return {};
  std::string t;
  for (int c = c1; c <= c2; ++c)
    t += ToUnicodeStr(WColumnTextFit(st, FieldBytes(st, st.ParentRows[p], p, c), p, c));
  return ":" + t;
}

long RoundTwips(double twips) { return static_cast<long>(std::nearbyint(twips)); }

long LevelBarLeft(bool treeShown, double treeWidth, double sizerWidth) {
  return RoundTwips(treeShown ? sizerWidth + treeWidth : sizerWidth);
}

std::vector<LevelBarPlace> DMButtonsLayout(const LevelBarFrame& f) {
  const int pairs = f.levelCount > 1 ? f.levelCount - 1 : 0;
  std::vector<LevelBarPlace> out(static_cast<size_t>(pairs));
  const bool vertical = VerticalMode(f.mode);
  if (!vertical && f.mode != "横") return out;
  const long left = f.a + f.scaleLeft;
  for (int j = 1; j <= f.level - 1 && j <= pairs; ++j) {
    const long n = j - 1;
    LevelBarPlace& p = out[static_cast<size_t>(j - 1)];
    if (vertical) {
      p.buttonTop = p.labelTop = f.scaleTop + n * f.labelHeight;
      p.buttonLeft = left;
      p.labelLeft = left + f.buttonWidth;
    } else {
      p.buttonTop = p.labelTop = f.scaleTop;
      p.buttonLeft = left + n * f.buttonWidth;
      p.labelLeft = left + f.buttonWidth + n * f.buttonWidth;
    }
    p.buttonTop += Toolbars(f);
    p.labelTop += Toolbars(f);
    p.visible = true;
  }
  return out;
}

std::optional<GridPlace> EdtSheet_Pos(const LevelBarFrame& f) {
  const long tb = Toolbars(f);
  const long lines = VerticalMode(f.mode) ? f.level - 1
                     : f.mode == "横"     ? (f.level > 1 ? 1 : 0)
                                          : -1;
  if (lines < 0) return std::nullopt;
  GridPlace g;
  g.top = f.scaleTop + lines * f.labelHeight + tb;
  g.height = f.scaleHeight - lines * f.labelHeight - tb - f.statusHeight;
  return g;
}

std::vector<std::optional<std::string>> ParentLevelCaptions(const ProgramState& st) {
  std::vector<std::optional<std::string>> out;
  const int parents = st.CurrentLevel - 1;
  if (parents < 1) return out;
  out.resize(static_cast<size_t>(parents > 8 ? 8 : parents));
  for (int p = static_cast<int>(out.size()); p >= 1; --p) {
    std::optional<std::string>& caption = out[static_cast<size_t>(p - 1)];
    if (st.KVDisp == "縦計")
      caption = TotalsCaption(st, p);
    else if (st.KVDisp == "横" || !st.DMTotalFlag)
      caption = ParentHeadingCaption(st, p);
  }
  return out;
}

namespace {

LevelBarFrame FrameOf(const ProgramState& st, LevelBarPort& bar) {
  LevelBarFrame f = bar.Measures();
  f.mode = st.KVDisp;
  f.level = st.CurrentLevel;
  f.levelCount = st.LevelCount;
  return f;
}

}  // namespace

void DMButtonsLayout(const ProgramState& st, LevelBarPort& bar) {
  bar.PlaceLevelBar(DMButtonsLayout(FrameOf(st, bar)));
}

void EdtSheet_Pos(const ProgramState& st, LevelBarPort& bar) {
  if (const auto place = EdtSheet_Pos(FrameOf(st, bar))) bar.PlaceGrid(*place);
}

void ShowParentLevelPath(const ProgramState& st, LevelBarPort& bar) {
  const auto captions = ParentLevelCaptions(st);
  for (int p = static_cast<int>(captions.size()); p >= 1; --p)
    if (const auto& caption = captions[static_cast<size_t>(p - 1)]) bar.SetLevelCaption(p, *caption);
}

SizerDrop SizerDropAt(long x, bool treeShown, long scaleWidth, long sizerWidth) {
  SizerDrop d;
  d.treeShown = treeShown;
  d.treeWidth = d.sizerLeft = x;
  if (d.sizerLeft < kTreeMinWidth) {
    d.treeShown = false;
    d.sizerLeft = 0;
  } else if (!d.treeShown) {
    d.treeShown = true;
    d.showTree = true;
  }
  const long half = RoundTwips(scaleWidth / 2.0);
  if (d.sizerLeft > half) d.sizerLeft = d.treeWidth = half;
  d.savedTreeWidth = d.treeWidth;
  d.gridLeft = d.sizerLeft + sizerWidth;
  d.gridWidth = scaleWidth - d.gridLeft;
  return d;
}

ResizeLayout FormResizeLayout(const ResizeFrame& f) {
  ResizeLayout r;
  long w = 0;
  if (f.treeShown) {
    long tree = f.treeWidth;
    const long half = RoundTwips(f.scaleWidth / 2.0);
    if (f.sizerLeft > half) {
      tree = half;
      r.barMoved = true;
    }
    if (tree < kTreeMinWidth && f.treeToggling)
      tree = f.savedTreeWidth >= kTreeMinWidth ? f.savedTreeWidth : RoundTwips(f.scaleWidth / 5.0);
    w = tree;
  }
  r.treeWidth = w;
  r.windowHeight = f.windowHeight < kWindowMinHeight ? kWindowMinHeight : f.windowHeight;
  r.windowWidth = f.windowWidth < w + kGridMinWidth ? w + kGridMinWidth : f.windowWidth;
  const long barsTop = f.scaleTop + f.toolbarHeight;
  const long barsHeight = f.scaleHeight - f.statusHeight - f.toolbarHeight;
  if (f.treeShown) {
    r.treeTop = barsTop;
    r.treeHeight = barsHeight;
  }
  r.sizerX = f.scaleLeft + w;
  r.sizerY = barsTop;
  r.sizerHeight = barsHeight - 10;
  r.gridLeft = f.scaleLeft + w + kSizerWidth;
  r.gridWidth = f.scaleWidth - w - kSizerWidth;
  return r;
}

}  // namespace kv
