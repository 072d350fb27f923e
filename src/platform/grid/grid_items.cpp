// GridModel: the object layer. Items float over the cells: each is anchored
// in its first cell with an offset and has a size in twips; its second
// corner cell is the cell under its bottom-right corner. Item data is kept
// byte for byte; an item is changed only by a move, a resize or its deletion.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/grid/grid_model_parts.h"

namespace kv {

using gridimpl::CallHandler;

namespace {
int TwipsToUnits(int twips) { return (twips + kTwipsPerGridUnit / 2) / kTwipsPerGridUnit; }
int TwipsToPoints(int twips) { return (twips + kTwipsPerPoint / 2) / kTwipsPerPoint; }
}  // namespace

GridFileResult GridModel::LoadItems(const std::string& path) {
  std::vector<GridItem> read;
  std::string header;
  GridFileResult r = ReadItemFile(path, read, header);
  if (!r) return r;
  items_.clear();
  for (GridItem& it : read) items_.push_back({std::move(it), nextSerial_++});
  itemHeader_ = std::move(header);
  selectedItem_ = 0;
  Changed();
  return r;
}

GridFileResult GridModel::SaveItems(const std::string& path) const {
  std::vector<GridItem> out;
  out.reserve(items_.size());
  for (const PlacedItem& p : items_) out.push_back(p.rec);
  return WriteItemFile(path, out, itemHeader_);
}

const GridItem& GridModel::Item(int item) const {
  static const GridItem kNone;
  return ValidItem(item) ? items_[size_t(item) - 1].rec : kNone;
}

uint64_t GridModel::ItemSerial(int item) const {
  return ValidItem(item) ? items_[size_t(item) - 1].serial : 0;
}

void GridModel::SelectItem(int item) {
  selectedItem_ = ValidItem(item) ? item : 0;
  Changed();
}

void GridModel::UserSelectItem(int item) {
  if (!ValidItem(item)) return;
  SelectItem(item);
  CallHandler(eventDepth_, events.ItemSelected, item);
}

int GridModel::ItemGeometry(int item, int& col1, int& row1, int& col2, int& row2) const {
  col1 = row1 = col2 = row2 = 0;
  if (!ValidItem(item)) return 0;
  const GridItem& it = items_[size_t(item) - 1].rec;
  col1 = std::min(it.col1, it.col2);
  col2 = std::max(it.col1, it.col2);
  row1 = std::min(it.row1, it.row2);
  row2 = std::max(it.row1, it.row2);
  return row2;
}

int GridModel::ItemCol(int item) const { return ValidItem(item) ? Item(item).col1 : 0; }

int GridModel::ItemRow(int item) const { return ValidItem(item) ? Item(item).row1 : 0; }

int GridModel::ItemWidthTwips(int item) const {
  if (!ValidItem(item)) return 0;
  const GridItem& it = Item(item);
  if (it.width > 0) return it.width;
  if (colCount_ < 1) return 0;
  const Layout& l = Lay();
  const int c1 = std::clamp(std::min(it.col1, it.col2), 1, colCount_);
  const int c2 = std::clamp(std::max(it.col1, it.col2), c1, colCount_);
  return (l.colXu[size_t(c2) + 1] - l.colXu[size_t(c1)]) * kTwipsPerGridUnit;
}

int GridModel::ItemHeightTwips(int item) const {
  if (!ValidItem(item)) return 0;
  const GridItem& it = Item(item);
  if (it.height > 0) return it.height;
  if (rowCount_ < 1) return 0;
  const Layout& l = Lay();
  const int r1 = std::clamp(std::min(it.row1, it.row2), 1, rowCount_);
  const int r2 = std::clamp(std::max(it.row1, it.row2), r1, rowCount_);
  return (l.rowYu[size_t(r2) + 1] - l.rowYu[size_t(r1)]) * kTwipsPerGridUnit;
}

// Sets the second corner to the cell under the item's bottom-right corner.
void GridModel::PlaceItemCorners(GridItem& it) const {
  if (colCount_ < 1 || rowCount_ < 1) return;
  const Layout& l = Lay();
  it.col1 = std::clamp(it.col1, 1, colCount_);
  it.row1 = std::clamp(it.row1, 1, rowCount_);
  const int right = l.colXu[size_t(it.col1)] + TwipsToUnits(it.left + it.width) - 1;
  const int bottom = l.rowYu[size_t(it.row1)] + TwipsToUnits(it.top + it.height) - 1;
  auto cb = l.colXu.begin() + 1, ce = l.colXu.begin() + colCount_ + 1;
  auto rb = l.rowYu.begin() + 1, re = l.rowYu.begin() + rowCount_ + 1;
  it.col2 = std::clamp(int(std::upper_bound(cb, ce, right) - l.colXu.begin()) - 1, it.col1,
                       colCount_);
  it.row2 = std::clamp(int(std::upper_bound(rb, re, bottom) - l.rowYu.begin()) - 1, it.row1,
                       rowCount_);
}

void GridModel::MoveItem(int item, int col, int row) {
  if (!ValidItem(item)) return;
  GridItem& it = items_[size_t(item) - 1].rec;
  const int w = ItemWidthTwips(item), h = ItemHeightTwips(item);
  it.width = w;
  it.height = h;
  it.col1 = col;
  it.row1 = row;
  PlaceItemCorners(it);
  Changed();
}

void GridModel::ResizeItem(int item, int widthTwips, int heightTwips) {
  if (!ValidItem(item)) return;
  GridItem& it = items_[size_t(item) - 1].rec;
  it.col1 = std::min(it.col1, it.col2);
  it.row1 = std::min(it.row1, it.row2);
  it.width = std::max(1, widthTwips);
  it.height = std::max(1, heightTwips);
  PlaceItemCorners(it);
  Changed();
}

int GridModel::CreateItem(int col, int row, std::string data, int widthTwips, int heightTwips) {
  if (colCount_ < 1 || rowCount_ < 1) return 0;
  GridItem it;
  it.col1 = std::clamp(col, 1, colCount_);
  it.row1 = std::clamp(row, 1, rowCount_);
  it.kind = LooksLikePicture(data) ? kItemKindPicture : kItemKindObject;
  it.width = widthTwips > 0 ? widthTwips : ColWidth(it.col1) * kTwipsPerGridUnit;
  it.height = heightTwips > 0 ? heightTwips : RowHeight(it.row1) * kTwipsPerGridUnit;
  it.data = std::move(data);
  PlaceItemCorners(it);
  items_.push_back({std::move(it), nextSerial_++});
  Changed();
  return int(items_.size());
}

int GridModel::CreateItemFromFile(const std::string& path, int col, int row, int widthTwips,
                                  int heightTwips) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return 0;
  return CreateItem(col, row, std::move(bytes), widthTwips, heightTwips);
}

void GridModel::DeleteItem(int item) {
  if (!ValidItem(item)) return;
  items_.erase(items_.begin() + (item - 1));
  if (selectedItem_ == item)
    selectedItem_ = 0;
  else if (selectedItem_ > item)
    --selectedItem_;
  Changed();
}

void GridModel::ClearItems() {
  items_.clear();
  itemHeader_.clear();
  selectedItem_ = 0;
  Changed();
}

GridRect GridModel::ItemViewRect(int pane, int item) const {
  if (!ValidItem(item) || colCount_ < 1 || rowCount_ < 1) return {};
  const GridItem& it = Item(item);
  const int c1 = std::clamp(std::min(it.col1, it.col2), 1, colCount_);
  const int r1 = std::clamp(std::min(it.row1, it.row2), 1, rowCount_);
  GridRect r;
  r.left = ColX(pane, c1) + Scaled(TwipsToUnits(it.width > 0 ? it.left : 0));
  r.top = LinearRowY(r1) + Scaled(TwipsToUnits(it.height > 0 ? it.top : 0));
  r.right = r.left + Scaled(TwipsToUnits(ItemWidthTwips(item)));
  r.bottom = r.top + Scaled(TwipsToUnits(ItemHeightTwips(item)));
  return r;
}

int GridModel::ItemAt(int x, int y) const {
  const GridHit h = HitTest(x, y);
  if (h.kind != GridHit::Cell || h.row < 1 || h.row == TotalsRow() || h.col < 1) return 0;
  for (int i = ItemCount(); i >= 1; --i) {
    const GridRect r = ItemViewRect(h.pane, i);
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
  }
  return 0;
}

bool GridModel::UserMoveResizeItem(int item, int pane, const GridRect& viewRect) {
  const int p = ResolvePane(pane);
  if (!ValidItem(item) || p == 0 || colCount_ < 1 || rowCount_ < 1) return false;
  const Layout& l = Lay();
  // The cell under the new top-left corner, counted along the whole sheet.
  const int unitsX = (viewRect.left - CellsLeft(p)) * 100 / zoom_ + l.colXu[size_t(LeftCol(p))];
  const int unitsY = (viewRect.top - BodyTop()) * 100 / zoom_ + l.rowYu[size_t(topRow_)];
  auto cb = l.colXu.begin() + 1, ce = l.colXu.begin() + colCount_ + 1;
  auto rb = l.rowYu.begin() + 1, re = l.rowYu.begin() + LastBodyRow() + 1;
  const int col = std::clamp(int(std::upper_bound(cb, ce, unitsX) - l.colXu.begin()) - 1, 1,
                             colCount_);
  const int row = std::clamp(int(std::upper_bound(rb, re, unitsY) - l.rowYu.begin()) - 1, 1,
                             std::max(1, LastBodyRow()));
  const GridItem before = items_[size_t(item) - 1].rec;
  const uint64_t serial = items_[size_t(item) - 1].serial;
  GridItem& it = items_[size_t(item) - 1].rec;
  it.col1 = col;
  it.row1 = row;
  it.left = std::max(0, unitsX - l.colXu[size_t(col)]) * kTwipsPerGridUnit;
  it.top = std::max(0, unitsY - l.rowYu[size_t(row)]) * kTwipsPerGridUnit;
  it.width = std::max(1, (viewRect.right - viewRect.left) * 100 / zoom_) * kTwipsPerGridUnit;
  it.height = std::max(1, (viewRect.bottom - viewRect.top) * 100 / zoom_) * kTwipsPerGridUnit;
  PlaceItemCorners(it);
  Changed();
  const GridItem placed = it;
  if (RaiseItemMoveResized(placed.col1, placed.row1, TwipsToPoints(placed.left),
                           TwipsToPoints(placed.top), TwipsToPoints(placed.width),
                           TwipsToPoints(placed.height))) {
    // The handler may have deleted or replaced items: put back only the same one.
    if (ValidItem(item) && items_[size_t(item) - 1].serial == serial) {
      items_[size_t(item) - 1].rec = before;
      Changed();
    }
    return false;
  }
  return true;
}

}  // namespace kv
