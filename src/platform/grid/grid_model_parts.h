#pragma once
// Inner parts of GridModel shared by its source files (not for other users).
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "platform/grid/grid_model.h"

namespace kv {

struct GridModel::Cell {
  std::string text;
  uint8_t colour = 0;
  bool ime = false;
};

struct GridModel::Row {
  std::vector<Cell> cells;  // 0..colCount
  bool memo = false;
  bool pageBreak = false;
};

// Prefix sums of column widths and row heights, scaled by the zoom (pixels)
// and unscaled (grid units): x of column c = colX[c] - colX[first shown].
struct GridModel::Layout {
  std::vector<int> colX, rowY;    // pixels; index 1..count+1
  std::vector<int> colXu, rowYu;  // grid units
};

inline constexpr int kDefaultRowHeight = 20;
inline constexpr int kDefaultColWidth = 64;
inline constexpr int kDefaultHeaderWidth = 40;
inline constexpr int kSplitBarWidth = 5;
inline constexpr int kMaxGridCols = 255;
inline constexpr int kMaxGridRows = 65535;

}  // namespace kv

namespace kv::gridimpl {

inline constexpr int kMaxEventDepth = 32;

// Restores a value when the scope ends (also when a handler throws).
template <class T>
struct Restore {
  T& ref;
  T saved;
  explicit Restore(T& r) : ref(r), saved(r) {}
  ~Restore() { ref = saved; }
};

// Calls an event handler through a copy (a handler may replace itself), one
// nesting level deeper; nothing when there is no handler or nesting is too deep.
template <class F, class... A>
void CallHandler(int& depth, const F& handler, A&&... args) {
  if (!handler || depth >= kMaxEventDepth) return;
  F copy = handler;
  Restore<int> keep(depth);
  ++depth;
  copy(std::forward<A>(args)...);
}

}  // namespace kv::gridimpl
