#include "editor/toolbars/toolbar_tables.h"

#include <array>
#include <cstdlib>

namespace kv {

namespace {

using S = ToolButtonStyle;

constexpr std::array<ToolButtonDef, 19> kBasic{{
    {"", S::Separator, "", 0, 0},
    {"NEW", S::Push, "新規作成", 0, 38},
    {"OPEN", S::Push, "開く", 0, 39},
    {"SAVE", S::Push, "上書き保存", 0, 40},
    {"", S::Separator, "", 0, 0},
    {"PRINT", S::Push, "印刷", 0, 41},
    {"", S::Separator, "", 0, 0},
    {"UNDO", S::Push, "元に戻す", 0, 42},
    {"", S::Separator, "", 0, 0},
    {"UNDER", S::Group, "自動改行下", 0, 43},
    {"RIGHT", S::Group, "自動改行右", 0, 44},
    {"NOT", S::Group, "自動改行無", 0, 45},
    {"", S::Separator, "", 0, 0},
    {"RTN", S::Push, "ﾂｰﾙﾊﾞｰ移動", 0, 46},
    {"", S::Separator, "", 0, 0},
    {"ZOOM", S::Placeholder, "ズーム", 900, 0},
    {"", S::Separator, "", 0, 0},
    {"YOSI", S::Placeholder, "用紙選択", 3500, 0},
    {"", S::Separator, "", 0, 47},
}};

constexpr std::array<ToolButtonDef, 32> kExtended{{
    {"", S::Separator, "", 0, 0},
    {"CUT", S::Push, "切取り", 0, 49},
    {"COPY", S::Push, "コピー", 0, 50},
    {"PASTE", S::Push, "貼付け", 0, 51},
    {"", S::Separator, "", 0, 0},
    {"GDEL", S::Push, "行削除", 0, 52},
    {"GIN", S::Push, "行挿入", 0, 53},
    {"GCOPY", S::Push, "行コピー", 0, 54},
    {"GPASTE", S::Push, "行貼り付け", 0, 55},
    {"", S::Separator, "", 0, 0},
    {"YKEISAN", S::Push, "Ｙ計算", 0, 56},
    {"S", S::Push, "小計", 0, 57},
    {"T", S::Push, "中計", 0, 58},
    {"D", S::Push, "大計", 0, 59},
    {"", S::Separator, "", 0, 0},
    {"TAX", S::Push, "消費税", 0, 60},
    {"", S::Separator, "", 0, 0},
    {"TANI", S::Push, "単位", 0, 61},
    {"", S::Separator, "", 0, 0},
    {"SANKOU", S::Push, "参考", 0, 62},
    {"HYOUSI", S::Push, "表紙", 0, 63},
    {"KOUZI", S::Push, "工事情報", 0, 64},
    {"", S::Separator, "", 0, 0},
    {"HIINSATU", S::Push, "非印刷行", 0, 0},
    {"", S::Separator, "", 0, 0},
    {"MEMO", S::Push, "ﾒﾓ行", 0, 0},
    {"RENZOK", S::Push, "文字連続設定", 0, 0},
    {"SEARCH", S::Push, "文字検索", 0, 0},
    {"", S::Separator, "", 0, 0},
    {"TREE", S::Push, "ツリー表示", 0, 0},
    {"DIVID", S::Push, "画面分割", 0, 0},
    {"RTN", S::Push, "ﾂｰﾙﾊﾞｰ移動", 0, 0},
}};

constexpr int kZoomMax = 200;
constexpr int kZoomMin = 30;
constexpr int kZoomStep = 10;

}  // namespace

std::span<const ToolButtonDef> BasicToolbarTable() { return kBasic; }
std::span<const ToolButtonDef> ExtendedToolbarTable() { return kExtended; }

std::vector<std::string> ToolbarKeys(std::span<const ToolButtonDef> table) {
  std::vector<std::string> keys;
  for (const ToolButtonDef& d : table)
    if (d.style != ToolButtonStyle::Separator) keys.emplace_back(d.key);
  return keys;
}

const ToolButtonDef* FindToolButton(std::span<const ToolButtonDef> table, std::string_view key) {
  for (const ToolButtonDef& d : table)
    if (d.style != ToolButtonStyle::Separator && d.key == key) return &d;
  return nullptr;
}

std::vector<std::string> ZoomListItems() {
  std::vector<std::string> items;
  for (int v = kZoomMax; v >= kZoomMin; v -= kZoomStep) items.push_back(" " + std::to_string(v) + "%");
  return items;
}

int ZoomListIndex(int kvZoom) {
  int z = kvZoom <= 0 ? 100 : kvZoom;
  if (z < kZoomMin) z = kZoomMin;
  if (z > kZoomMax) z = kZoomMax;
  // Round to the nearest step, the smaller one at equal distance.
  const int below = z - (z - kZoomMin) % kZoomStep;
  const int listed = (z - below) * 2 > kZoomStep ? below + kZoomStep : below;
  return (kZoomMax - listed) / kZoomStep;
}

int ZoomOfItem(std::string_view item) {
  std::string digits;
  for (char c : item) {
    if (c >= '0' && c <= '9')
      digits += c;
    else if (!digits.empty())
      break;
  }
  return digits.empty() ? 0 : std::atoi(digits.c_str());
}

}  // namespace kv
