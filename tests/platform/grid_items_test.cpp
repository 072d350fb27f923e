// Grid model: the object layer and its ".MOD" file: byte-identical round
// trips, refusal of truncated and foreign files, item geometry, moves by the
// program and by the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/grid/grid_api.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Two items with every field set, odd values included, and binary data.
std::vector<GridItem> SampleItems() {
  GridItem a;
  a.col1 = 2, a.row1 = 5, a.col2 = 4, a.row2 = 9;
  a.left = 30, a.top = -15, a.width = 2880, a.height = 1440;
  a.kind = kItemKindPicture, a.flags = -2, a.reserved = 0x7FFFFFFF;
  a.data = std::string("\x89PNG\r\n\x1A\n\0\0\xFF", 11);
  GridItem b;
  b.col1 = 7, b.row1 = 40, b.col2 = 3, b.row2 = 38;  // corners in either order
  b.kind = 5, b.flags = 0x1234, b.reserved = -1;
  b.data = std::string(70000, '\x01');
  return {a, b};
}

class GridItems : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kv_grid_items_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    g.SetColCount(8);
    g.SetRowCount(51);
    for (int r = 0; r <= 51; ++r) SetRowHeight32(g, r, 20);
    SetColWidth32(g, 0, 40);
    for (int c = 1; c <= 8; ++c) SetColWidth32(g, c, 100);
    g.SetViewportSize(900, 600);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
  GridModel g;
};

TEST_F(GridItems, ASavedLayerIsTheFileItWasLoadedFromByteForByte) {
  std::string header = "$$4DO-SHEET$$";
  header += '\x07';  // a header byte of its own is kept too
  const std::string original = FormatItemFile(SampleItems(), header);
  WriteAll(dir / "A$1.MOD", original);
  ASSERT_TRUE(g.LoadItems((dir / "A$1.MOD").string()));
  EXPECT_EQ(g.GetItemNum(), 2);
  ASSERT_TRUE(g.SaveItems((dir / "B$1.MOD").string()));
  EXPECT_EQ(ReadAll(dir / "B$1.MOD"), original);
  EXPECT_FALSE(fs::exists(dir / "B$1.MOD.tmp"));
  // The layer as the engine reads it: item 2 spans rows 38..40.
  int c1, r1, c2, r2;
  EXPECT_EQ(g.ItemGeometry(2, c1, r1, c2, r2), 40);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({3, 38, 7, 40}));
  EXPECT_EQ(g.Item(1).data, SampleItems()[0].data);
}

TEST_F(GridItems, TruncatedAndForeignFilesAreRefusedAndLeaveTheLayer) {
  const std::string full = FormatItemFile(SampleItems());
  std::vector<GridItem> items;
  std::string header;
  // Every cut short of the whole file is an error, never a partial layer.
  for (size_t n = 0; n < full.size(); n += (n < 200 ? 1 : 997)) {
    const std::string cut = full.substr(0, n);  // a copy of its own: no slack to read into
    const GridFileResult r = ParseItemFile(cut, items, header);
    ASSERT_FALSE(r) << "accepted " << n << " of " << full.size() << " bytes";
    EXPECT_TRUE(items.empty());
  }
  EXPECT_TRUE(ParseItemFile(full, items, header));

  struct Bad {
    const char* name;
    std::string bytes;
    GridFileStatus status;
  };
  std::string negativeLength = FormatItemFile({GridItem{}});
  negativeLength.replace(16 + 42, 4, "\xFF\xFF\xFF\xFF");
  std::string countTooHigh = full;
  countTooHigh[14] = 3;
  std::string negativeCount = full;
  negativeCount[15] = '\x80';
  std::string markTooLate = std::string(30, ' ') + full;
  const Bad bad[] = {
      {"foreign", "PK\x03\x04 not an object file at all", GridFileStatus::NotItemFile},
      {"mark past 40 bytes", markTooLate, GridFileStatus::NotItemFile},
      {"negative length", negativeLength, GridFileStatus::BadItem},
      {"more items than stored", countTooHigh, GridFileStatus::Truncated},
      {"negative count", negativeCount, GridFileStatus::BadItem},
  };
  for (const Bad& b : bad) {
    EXPECT_EQ(ParseItemFile(b.bytes, items, header).status, b.status) << b.name;
  }

  // A failed load leaves the layer as it was.
  g.CreateItem(1, 1, "keep");
  WriteAll(dir / "cut.MOD", full.substr(0, full.size() - 1));
  const GridFileResult r = g.LoadItems((dir / "cut.MOD").string());
  EXPECT_EQ(r.status, GridFileStatus::Truncated);
  EXPECT_FALSE(r.detail.empty());
  EXPECT_EQ(g.ItemCount(), 1);
  EXPECT_EQ(g.LoadItems((dir / "missing.MOD").string()).status, GridFileStatus::CannotOpen);
  EXPECT_EQ(g.SaveItems((dir / "no/such/dir/x.MOD").string()).status,
            GridFileStatus::CannotWrite);
}

TEST_F(GridItems, CreatedItemsCoverTheCellsUnderTheirSize) {
  // 250 units wide (3750 twips) from column 2, 45 units high from row 10.
  const int n = g.CreateItem(2, 10, "object", 250 * kTwipsPerGridUnit, 45 * kTwipsPerGridUnit);
  EXPECT_EQ(n, 1);
  int c1, r1, c2, r2;
  EXPECT_EQ(g.ItemGeometry(1, c1, r1, c2, r2), 12);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({2, 10, 4, 12}));
  EXPECT_EQ(g.Item(1).kind, kItemKindObject);

  g.MoveItem(1, 5, 30);
  EXPECT_EQ(g.ItemGeometry(1, c1, r1, c2, r2), 32);
  EXPECT_EQ(std::make_pair(g.ItemCol(1), g.ItemRow(1)), std::make_pair(5, 30));
  g.ResizeItem(1, 100 * kTwipsPerGridUnit, 20 * kTwipsPerGridUnit);
  EXPECT_EQ(g.ItemGeometry(1, c1, r1, c2, r2), 30);
  EXPECT_EQ(c2, 5);
  EXPECT_EQ(g.ItemHeightTwips(1), 300);

  // A picture from a file; a size of 0 covers its one cell.
  WriteAll(dir / "pic.png", std::string("\x89PNG\r\n\x1A\n rest", 13));
  EXPECT_EQ(g.CreateItemFromFile((dir / "pic.png").string(), 3, 3), 2);
  EXPECT_EQ(g.Item(2).kind, kItemKindPicture);
  EXPECT_EQ(g.ItemWidthTwips(2), 100 * kTwipsPerGridUnit);
  EXPECT_EQ(g.CreateItemFromFile((dir / "none.png").string(), 3, 3), 0);
  g.SelectItem(2);
  g.DeleteItem(1);
  EXPECT_EQ(g.SelectedItem(), 1);  // the same item, renumbered
  EXPECT_EQ(g.ItemCount(), 1);
}

TEST_F(GridItems, UserMovesRaiseItemMoveResizedAndIgnorePutsThemBack) {
  g.CreateItem(2, 3, "object", 150 * kTwipsPerGridUnit, 30 * kTwipsPerGridUnit);
  std::vector<int> selected;
  g.events.ItemSelected = [&](int i) { selected.push_back(i); };
  std::vector<std::vector<int>> moves;
  bool ignore = false;
  g.events.ItemMoveResized = [&](int c, int r, int x, int y, int w, int h, bool& ig) {
    moves.push_back({c, r, x, y, w, h});
    ig = ignore;
  };
  const GridRect at = g.ItemViewRect(0, 1);
  EXPECT_EQ(at, (GridRect{140, 60, 290, 90}));
  EXPECT_EQ(g.ItemAt(150, 70), 1);
  EXPECT_EQ(g.ItemAt(300, 70), 0);
  g.UserSelectItem(1);
  EXPECT_EQ(selected, (std::vector<int>{1}));

  // Dragged to x 350 (column 4 at 340, 10 in), y 120 (row 6), made 40 high.
  EXPECT_TRUE(g.UserMoveResizeItem(1, 0, GridRect{350, 120, 500, 160}));
  ASSERT_EQ(moves.size(), 1u);
  // Points: 10 units = 150 twips = 8 pt (7.5 rounded), 150 x 40 units.
  EXPECT_EQ(moves[0], (std::vector<int>{4, 6, 8, 0, 113, 30}));
  int c1, r1, c2, r2;
  EXPECT_EQ(g.ItemGeometry(1, c1, r1, c2, r2), 7);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({4, 6, 5, 7}));

  ignore = true;
  EXPECT_FALSE(g.UserMoveResizeItem(1, 0, GridRect{40, 20, 60, 40}));
  EXPECT_EQ(g.ItemGeometry(1, c1, r1, c2, r2), 7);
  EXPECT_EQ(c1, 4);

  // A handler that keeps the item inside the sheet moves it itself.
  ignore = false;
  g.events.ItemMoveResized = [&](int c, int r, int, int, int, int, bool&) {
    if (r > 45) g.MoveItem(g.SelectedItem(), c, 45);
  };
  SetTopCell32(g, 0, 1, 30);
  g.UserMoveResizeItem(1, 0, GridRect{140, 580, 190, 600});  // past the last row
  EXPECT_EQ(g.ItemRow(1), 45);
}

}  // namespace
}  // namespace kv
