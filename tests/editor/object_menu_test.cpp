// The Insert menu: its refusals and limits, pictures and other files placed
// at the cursor cell, the clipboard, delete, and the flags that make the
// storage write the sheet's objects; the hidden Pack item.
#include "editor/object_menu.h"

#include <climits>
#include <filesystem>
#include <optional>

#include "core/ini_file.h"
#include "editor_grid_fixture.h"
#include "platform/grid/grid_item_file.h"
#include "storage/level_fixture.h"
#include "storage/sheet_objects.h"
#include "support/recording_services.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

class ObjectMenu : public EditorGridFixture {
 protected:
  TempFolder folder;

  void SetUp() override {
    EditorGridFixture::SetUp();
    grid.SetViewportSize(900, 600);
    st.WorkFileBase = (folder.path() / "EST").string();
    st.KVData = folder.path().string();
    st.OleFileMax = 10;
    st.OleFilePicMax = 3;
    OleFileCnt(2);
    Cursor(2, 5);
  }

  void OleFileCnt(int n) const {
    folder.Write("EST.INI", "[OLE]\r\nOleFileCnt=" + std::to_string(n) + "\r\n");
  }
  void Cursor(int col, int row) {
    MoveTo(col, row);
    st.CurrentCol = col;
    st.CurrentRow = row;
  }
  std::string File(const std::string& name, const std::string& bytes) const {
    return folder.Write(name, bytes).string();
  }
  // The menu item with the open dialog answered by `path` (nullopt: cancelled).
  void Choose(int index, std::optional<std::string> path) {
    ui.AnswerOpenDialog(std::move(path));
    ObjectMenuSub_Click(g, index);
  }
  bool Flagged() const { return st.SheetModified || st.OleObjectsChanged; }
  int VisibleWidthTwips() const { return (grid.ViewportWidth() - grid.HeaderWidth()) * kTwipsPerGridUnit; }
  int VisibleHeightTwips() const { return (grid.BodyBottom() - grid.BodyTop()) * kTwipsPerGridUnit; }
};

TEST_F(ObjectMenu, RefusalsShowTheirMessageAndChangeNothing) {
  struct Case {
    const char* what;
    int fileCount;   // OleFileCnt of the settings file (-1: no key)
    int itemsThere;  // objects the sheet holds already
    bool totalsLine;
    std::string message;
    int style;
  } cases[] = {
      {"totals line", 2, 0, true, kTotalsLineObjectRefusal, vbOKOnly | vbExclamation},
      {"object files at OleFileMax", 10, 1, false, kObjectLimitMessage, vbOKOnly},
      {"sheet at OleFilePicMax", 2, 3, false, kSheetObjectLimitMessage, vbOKOnly},
  };
  const std::string png = File("p.png", PngHeader(4, 4));
  for (const Case& c : cases) {
    for (int index : {kObjectCreateItem, kObjectPasteItem, kObjectFromFileItem}) {
      SCOPED_TRACE(std::string(c.what) + ", item " + std::to_string(index));
      grid.ClearItems();
      for (int i = 0; i < c.itemsThere; ++i) grid.CreateItem(1, 1, "x");
      OleFileCnt(c.fileCount);
      Cursor(2, c.totalsLine ? st.Imax + 1 : 5);
      st.NotPrintLineMode = true;
      st.SheetModified = st.OleObjectsChanged = false;
      ui.clipboardImage = PngHeader(4, 4);
      const int focus = box.sheetFocus;
      ui.AnswerMsgBox(vbOK, c.message);
      ObjectMenuSub_Click(g, index);
      ui.ExpectAllAnswered();
      ASSERT_FALSE(ui.Prompts().empty());
      EXPECT_EQ(ui.Prompts().back().style, c.style);
      EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
      EXPECT_EQ(grid.ItemCount(), c.itemsThere);
      EXPECT_FALSE(Flagged());
      EXPECT_FALSE(st.NotPrintLineMode) << "the marking mode ends first";
      EXPECT_EQ(box.sheetFocus, focus + 1);
    }
  }
  ui.clipboardImage.clear();
  // A settings file without the key reads as -1: below any limit.
  std::filesystem::remove(folder.path() / "EST.INI");
  grid.ClearItems();
  Cursor(2, 5);
  Choose(kObjectFromFileItem, png);
  EXPECT_EQ(grid.ItemCount(), 1);
  // Delete is no creating command: it runs on the totals line and at the limits.
  OleFileCnt(10);
  Cursor(2, st.Imax + 1);
  grid.UserSelectItem(1);
  ObjectMenuSub_Click(g, kObjectDeleteItem);
  EXPECT_EQ(grid.ItemCount(), 0);
}

TEST_F(ObjectMenu, PictureSitsAtTheCursorCellAtItsOwnSize) {
  const std::string bytes = PngHeader(40, 30) + "picture data";
  const std::string path = File("写真.png", bytes);
  Choose(kObjectCreateItem, path);
  const Prompt& dialog = ui.Prompts().back();
  EXPECT_EQ(dialog.kind, PromptKind::OpenDialog);
  EXPECT_EQ(dialog.dialog.initDir, st.KVData);
  EXPECT_NE(dialog.dialog.filter.find("*.png;*.jpg;*.jpeg;*.bmp;*.gif"), std::string::npos);
  ASSERT_EQ(grid.ItemCount(), 1);
  const GridItem& it = grid.Item(1);
  EXPECT_EQ(it.kind, kItemKindPicture);
  EXPECT_EQ(it.data, bytes);
  EXPECT_EQ(grid.ItemCol(1), 2);
  EXPECT_EQ(grid.ItemRow(1), 5);
  EXPECT_EQ(grid.ItemWidthTwips(1), 40 * 15);
  EXPECT_EQ(grid.ItemHeightTwips(1), 30 * 15);
  EXPECT_EQ(st.SheetObjectCount, 1);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(st.OleObjectsChanged);
}

TEST_F(ObjectMenu, PictureLargerThanTheSheetShowsIsMadeSmallerInProportion) {
  st.OleFilePicMax = 20;
  const int w = VisibleWidthTwips(), h = VisibleHeightTwips();
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  // Wide: the width fits; tall: the height fits; both far beyond any size.
  Choose(kObjectFromFileItem, File("wide.png", PngHeader(100000, 500)));
  Choose(kObjectFromFileItem, File("tall.png", PngHeader(50, 400000)));
  Choose(kObjectFromFileItem, File("huge.png", PngHeader(INT_MAX, INT_MAX)));
  ASSERT_EQ(grid.ItemCount(), 3);
  EXPECT_EQ(grid.ItemWidthTwips(1), w);
  EXPECT_EQ(grid.ItemHeightTwips(1), int(int64_t(500) * w / 100000));
  EXPECT_EQ(grid.ItemHeightTwips(2), h);
  EXPECT_EQ(grid.ItemWidthTwips(2), std::max(1, int(int64_t(50) * h / 400000)));
  EXPECT_LE(grid.ItemWidthTwips(3), w);
  EXPECT_LE(grid.ItemHeightTwips(3), h);
  EXPECT_TRUE(grid.ItemWidthTwips(3) == w || grid.ItemHeightTwips(3) == h);

  // Zoomed to 200 %, the sheet shows half as much.
  grid.SetZoom(200);
  Choose(kObjectFromFileItem, File("wide2.png", PngHeader(100000, 500)));
  EXPECT_EQ(grid.ItemWidthTwips(4), (grid.ViewportWidth() - grid.HeaderWidth()) / 2 * kTwipsPerGridUnit);
}

TEST_F(ObjectMenu, PictureTwipsTable) {
  struct Case {
    int64_t px, py;
    int maxW, maxH;
    int w, h;
  } cases[] = {
      {40, 30, 0, 0, 600, 450},             // no view: its own size
      {40, 30, 6000, 4500, 600, 450},       // fits
      {1000, 500, 3000, 9000, 3000, 1500},  // width limits
      {500, 1000, 9000, 3000, 1500, 3000},  // height limits
      {1000, 1, 150, 150, 150, 1},          // never below one twip
      {INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX},
  };
  for (const Case& c : cases) {
    int w = 0, h = 0;
    PictureTwips(c.px, c.py, c.maxW, c.maxH, w, h);
    EXPECT_EQ(w, c.w) << c.px << "x" << c.py;
    EXPECT_EQ(h, c.h) << c.px << "x" << c.py;
  }
}

TEST_F(ObjectMenu, AnyFileFromTheFileItemCoversTheCursorCell) {
  const std::string path = File("見積条件.txt", "plain text, no picture");
  Choose(kObjectFromFileItem, path);
  const Prompt& dialog = ui.Prompts().back();
  EXPECT_EQ(dialog.text, "挿入オブジェクトを開く");
  EXPECT_EQ(dialog.dialog.initDir, st.KVData);
  EXPECT_EQ(dialog.dialog.flags, 4100);
  EXPECT_EQ(dialog.dialog.fileName, "");
  ASSERT_EQ(grid.ItemCount(), 1);
  EXPECT_EQ(grid.Item(1).kind, kItemKindObject);
  EXPECT_EQ(grid.Item(1).data, "plain text, no picture");
  EXPECT_EQ(grid.ItemWidthTwips(1), grid.ColWidth(2) * kTwipsPerGridUnit);
  EXPECT_EQ(grid.ItemHeightTwips(1), grid.RowHeight(5) * kTwipsPerGridUnit);
  EXPECT_TRUE(st.OleObjectsChanged);
}

TEST_F(ObjectMenu, FilesThatCannotBeTakenGiveTheReadMessageAndNoFlags) {
  const std::string tooLarge = File("large.bin", "");
  stdfs::resize_file(tooLarge, kMaxObjectFileBytes + 1);
  struct Case {
    const char* what;
    int index;
    std::string path;
  } cases[] = {
      {"empty file", kObjectFromFileItem, File("empty.png", "")},
      {"missing file", kObjectFromFileItem, (folder.path() / "gone.png").string()},
      {"picture that cannot be decoded", kObjectFromFileItem, File("bad.png", "\x89PNG\r\n\x1A\nrubbish")},
      {"same from the picture item", kObjectCreateItem, File("bad2.png", "\x89PNG\r\n\x1A\nrubbish")},
      {"no picture for the picture item", kObjectCreateItem, File("text.png", "just text")},
      {"larger than a sheet takes", kObjectFromFileItem, tooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    st.SheetModified = st.OleObjectsChanged = false;
    ui.AnswerOpenDialog(c.path).AnswerMsgBox(vbOK, std::string("ファイルを読み込めません。\n") + c.path);
    ObjectMenuSub_Click(g, c.index);
    ui.ExpectAllAnswered();
    EXPECT_EQ(grid.ItemCount(), 0);
    EXPECT_FALSE(Flagged());
  }
  // A cancelled dialog: nothing at all.
  Choose(kObjectFromFileItem, std::nullopt);
  Choose(kObjectCreateItem, std::nullopt);
  EXPECT_EQ(grid.ItemCount(), 0);
  EXPECT_FALSE(Flagged());
  EXPECT_EQ(ui.MessageTexts().size(), std::size(cases));
}

TEST_F(ObjectMenu, PasteTakesTheClipboardPictureOrTheFileItNames) {
  // The clipboard's picture first, whatever its text says.
  ui.clipboardImage = PngHeader(8, 6);
  ui.clipboard = File("other.txt", "x");
  ObjectMenuSub_Click(g, kObjectPasteItem);
  ASSERT_EQ(grid.ItemCount(), 1);
  EXPECT_EQ(grid.Item(1).data, PngHeader(8, 6));
  EXPECT_EQ(grid.ItemWidthTwips(1), 8 * 15);
  ui.clipboardImage.clear();

  // A path, or a file URL with escapes, names the file.
  const std::string spaced = File("図 1.png", PngHeader(2, 2));
  for (const std::string& text : {"  " + spaced + "\r\nsecond line", "file://" + folder.path().string() + "/%E5%9B%B3%201.png",
                                  "file://localhost" + folder.path().string() + "/%E5%9B%B3%201.png"}) {
    SCOPED_TRACE(text);
    ui.clipboard = text;
    const int before = grid.ItemCount();
    ObjectMenuSub_Click(g, kObjectPasteItem);
    ASSERT_EQ(grid.ItemCount(), before + 1);
    EXPECT_EQ(grid.Item(grid.ItemCount()).data, PngHeader(2, 2));
    grid.DeleteItem(grid.ItemCount());
  }

  // Nothing to take: no object, no message, no flag.
  for (const std::string& text : {std::string(), std::string("基礎工事"), "file://server" + spaced,
                                  (folder.path() / "missing.png").string(), folder.path().string()}) {
    SCOPED_TRACE(text);
    ui.clipboard = text;
    st.SheetModified = st.OleObjectsChanged = false;
    ObjectMenuSub_Click(g, kObjectPasteItem);
    EXPECT_EQ(grid.ItemCount(), 1);
    EXPECT_FALSE(Flagged());
  }
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(ObjectMenu, DeleteTakesOnlyTheSelectedObject) {
  grid.CreateItem(1, 1, "first");
  grid.CreateItem(2, 2, "second");
  st.SheetObjectCount = 2;
  // None selected: nothing happens.
  ObjectMenuSub_Click(g, kObjectDeleteItem);
  EXPECT_EQ(grid.ItemCount(), 2);
  EXPECT_FALSE(Flagged());

  grid.UserSelectItem(1);  // the selection event marks the sheet itself
  st.SheetModified = st.OleObjectsChanged = false;
  ObjectMenuSub_Click(g, kObjectDeleteItem);
  ASSERT_EQ(grid.ItemCount(), 1);
  EXPECT_EQ(grid.Item(1).data, "second");
  EXPECT_EQ(st.SheetObjectCount, 1);
  EXPECT_TRUE(st.SheetModified);
  // The deleted item's number now belongs to the other object: a second
  // delete must not take it.
  EXPECT_LT(st.SelectedObjectItem, 1);
  st.SheetModified = st.OleObjectsChanged = false;
  ObjectMenuSub_Click(g, kObjectDeleteItem);
  EXPECT_EQ(grid.ItemCount(), 1);
  EXPECT_FALSE(Flagged());

  // The last object of the sheet.
  grid.UserSelectItem(1);
  st.SheetModified = st.OleObjectsChanged = false;
  ObjectMenuSub_Click(g, kObjectDeleteItem);
  EXPECT_EQ(grid.ItemCount(), 0);
  EXPECT_EQ(st.SheetObjectCount, 0);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(st.OleObjectsChanged);
}

class PackItem : public LevelFixture {};

TEST_F(PackItem, CompactsTheOpenEstimatesWorkFiles) {
  RecordingSheet sheet;
  st.sheetEngine = &sheet;
  // Level 1: row A and the closing record; the third record is reached by no chain.
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "A"}, {'G', 0, kNoRecord, kNoRecord, ""}, {' ', 0, kNoRecord, kNoRecord, "old"}});
  Pack_Click(st);
  EXPECT_EQ(ReadLevel(1).size(), 2u);
  EXPECT_EQ(Text(ReadLevel(1)[0]), Pad("A"));
}

}  // namespace
}  // namespace kv::test
