#pragma once
// The limits of the print detail dialog's four numbers for one print form:
// from the page format's characters per line (桁) and print lines (行) of
// MTMPRNW.INI and the form's leftmost spacing. Every row takes two print
// lines.
namespace kv {

class PrintDetailLimits {
 public:
  static constexpr int kMinColumns = 40;
  static constexpr int kMinRows = 1;

  // 桁, 行 and the leftmost spacing; a missing 桁 or 行 (-1) gives negative
  // limits, under which no entry is accepted.
  PrintDetailLimits(int pageColumns, int pageLines, int leftSpacing)
      : maxColumns_(pageColumns - leftSpacing), maxLines_(pageLines - 5) {}

  int MaxColumns() const { return maxColumns_; }
  int MaxLines() const { return maxLines_; }
  // The most rows: half the lines, the quotient taken towards zero.
  int MaxRows() const { return maxLines_ / 2; }
  int MaxLeftMargin(int columns) const { return (maxColumns_ - columns) * 2; }
  int MaxTopMargin(int rows) const { return (maxLines_ - rows * 2) * 2; }

  bool ColumnsAccepted(int v) const { return v >= kMinColumns && v <= maxColumns_; }
  bool RowsAccepted(int v) const { return v >= kMinRows && v <= MaxRows(); }

 private:
  int maxColumns_;
  int maxLines_;
};

}  // namespace kv
