// The project-information window's logic over a plain grid: loading the
// labels and values with the kept place and zoom, the edits and their byte
// limits, the keys, the Edit menu, saving, and the close with its question.
#include "editor/kouji_sht.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/help_recorder.h"
#include "core/ini_file.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

constexpr const char* kQuestion = "工事情報の内容は変更されています。\n保存しますか?";

std::string Blanks(int n) { return std::string(size_t(n), ' '); }

class KoujiShtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetFontMetrics(&metrics);
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.CurrentFilePath = (dir / "EST.YZH").string();
    dir.Write("SUBTITLE.DAT", ToSjis("工事名称\r\n工事場所\r\n工期\r\n"));
    dir.Write("WORK/EST.YT", ToSjis("本社ビル新築工事") + Blanks(24) + ToSjis("東京都"));
    Ini("工事情報画面", "Left", "100");
    Ini("工事情報画面", "Top", "200");
    Ini("工事情報画面", "Width", "9000");
    Ini("工事情報画面", "Height", "5000");
  }
  void TearDown() override {
    sht.reset();
    grid.SetFontMetrics(nullptr);
  }

  void Ini(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(IniPutString(section, key, value, dir / "KVSSYS.INI"));
  }
  std::string IniValue(const char* section, const char* key) {
    std::string v;
    IniGetString(section, key, v, dir / "KVSSYS.INI");
    return v;
  }

  void Load() {
    KoujiShtPort port;
    port.SetCaption = [this](const std::string& c) { caption = c; };
    port.Place = [this](const WindowRect& r) { placed = r; };
    port.CenterAtWidth = [this](int w) { centredWidth = w; };
    port.ZoomCheck = [this](int i) { checkedZoom = i; };
    port.EditMenuPopup = [this] { ++popups; };
    port.Unload = [this] { ++unloads; };
    sht = std::make_unique<KoujiSht>(st, grid, std::move(port));
    sht->Form_Load();
  }

  // Opens the cell as the user would (typing for values, F2 for labels) and
  // ends the edit with `text`.
  void Edit(int col, int row, const std::string& text) {
    grid.SetCursor(col, row);
    grid.KeyDown(gridkey::kF2, false, false);
    ASSERT_TRUE(grid.Editing());
    grid.CommitEdit(text);
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st{ui};
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  std::unique_ptr<KoujiSht> sht;
  std::string caption;
  std::optional<WindowRect> placed;
  std::optional<int> centredWidth;
  int checkedZoom = -1;
  int popups = 0;
  int unloads = 0;
};

TEST_F(KoujiShtTest, LoadShowsTheLabelsAndValuesAtTheKeptPlaceAndZoom) {
  Ini("ズーム倍率", "KouziZoom", "80");
  Load();
  EXPECT_EQ(caption, "< " + st.CurrentFilePath + " > 工事情報 ");
  EXPECT_EQ(grid.RowCount(), 50);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.CellText(1, 0), "工事情報　項目名");
  EXPECT_EQ(grid.CellText(1, 1), "工事名称");
  EXPECT_EQ(grid.CellText(1, 3), "工期");
  EXPECT_EQ(grid.CellText(1, 4), "") << "no line in the label file";
  EXPECT_EQ(grid.CellText(2, 1), "本社ビル新築工事" + Blanks(24));
  EXPECT_EQ(grid.CellText(2, 2), "東京都" + Blanks(34)) << "a partial last record, padded";
  EXPECT_EQ(grid.CellText(2, 3), "");
  EXPECT_EQ(sht->KjItemName()[0], "工事名称");
  EXPECT_EQ(sht->KjContent()[0], "本社ビル新築工事" + Blanks(24));
  EXPECT_FALSE(sht->KjChanged());
  EXPECT_EQ(grid.CurrentCol(), 2);
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_EQ(grid.EditMode(), 9);
  EXPECT_GT(grid.ColWidth(2), grid.ColWidth(1));
  ASSERT_TRUE(placed);
  EXPECT_EQ((std::vector<int>{placed->left, placed->top, placed->width, placed->height}),
            (std::vector<int>{100, 200, 9000, 5000}));
  EXPECT_FALSE(centredWidth);
  EXPECT_EQ(sht->KjZoom(), 80);
  EXPECT_EQ(grid.Zoom(), 80);
  EXPECT_EQ(checkedZoom, 2);  // "80%"
  // The floating windows leave the topmost band under this modal window.
  EXPECT_EQ(ui.CallsStartingWith("SendWindowToBottom("),
            std::vector<std::string>{"SendWindowToBottom(EDTSHEET_FRM)"});
}

TEST_F(KoujiShtTest, WithoutKeptValuesTheWindowIsCentredAtItsColumnsAndShownAtFullSize) {
  struct Case {
    const char* name;
    const char* zoom;  // nullptr: no key
    int expectZoom;
    int expectItem;
  };
  const Case cases[] = {{"no zoom kept", nullptr, 100, 0},
                        {"not one of the five", "55", 100, 0},
                        {"60", "60", 60, 4}};
  ASSERT_TRUE(IniDeleteSection("工事情報画面", dir / "KVSSYS.INI"));
  Ini("工事情報画面", "Left", "300");  // a rectangle without its other keys
  for (const Case& c : cases) {
    IniDeleteSection("ズーム倍率", dir / "KVSSYS.INI");
    if (c.zoom != nullptr) Ini("ズーム倍率", "KouziZoom", c.zoom);
    placed.reset();
    centredWidth.reset();
    Load();
    EXPECT_FALSE(placed) << c.name;
    ASSERT_TRUE(centredWidth) << c.name;
    const int columns = grid.ColWidth(0) + grid.ColWidth(1) + grid.ColWidth(2);
    EXPECT_EQ(*centredWidth, WidthToPoint32(grid, columns + 4) * 20) << c.name;
    EXPECT_EQ(*centredWidth, sht->ColumnsWidthTwips()) << c.name;
    EXPECT_EQ(sht->KjZoom(), c.expectZoom) << c.name;
    EXPECT_EQ(grid.Zoom(), c.expectZoom) << c.name;
    EXPECT_EQ(checkedZoom, c.expectItem) << c.name;
  }
}

// A kept rectangle larger than the screen, or off it, opens the window on
// the screen at the screen's size at most.
TEST_F(KoujiShtTest, AKeptRectangleIsBroughtOntoTheScreen) {
  ui.screen = {1024, 768};  // 15360 x 11520 twips
  Ini("工事情報画面", "Left", "-2147483648");
  Ini("工事情報画面", "Top", "20000");
  Ini("工事情報画面", "Width", "2147483647");
  Ini("工事情報画面", "Height", "3000");
  Load();
  ASSERT_TRUE(placed);
  EXPECT_EQ((std::vector<int>{placed->left, placed->top, placed->width, placed->height}),
            (std::vector<int>{0, 8520, 15360, 3000}));
}

TEST_F(KoujiShtTest, LabelsOpenOnlyByF2OrADoubleClickAndValuesOnTyping) {
  Load();
  grid.SetCursor(1, 2);
  EXPECT_EQ(grid.EditMode(), 15);
  EXPECT_FALSE(grid.StartEditByTyping('A', "A"));
  EXPECT_FALSE(grid.Editing());
  grid.KeyDown(gridkey::kF2, false, false);
  EXPECT_TRUE(grid.Editing());
  grid.CancelEdit();
  grid.DoubleClick(1, 2);
  EXPECT_TRUE(grid.Editing());
  EXPECT_TRUE(sht->KjChanged());
  grid.CancelEdit();
  grid.SetCursor(2, 2);
  EXPECT_TRUE(grid.StartEditByTyping('A', "A"));
}

TEST_F(KoujiShtTest, AnEndedEditIsCutToTwentyOrFortyBytes) {
  struct Case {
    const char* name;
    int col;
    std::string typed;
    std::string kept;
  };
  const std::string a9 = "a" + std::string("あいうえおかきくけ");  // 19 bytes
  const Case cases[] = {
      {"label of 25 bytes", 1, "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst"},
      {"label: a double-byte character across the limit", 1, a9 + "こ", a9 + " "},
      {"value of 45 bytes, split character at the limit",
       2, "a" + std::string("あいうえおかきくけこさしすせそたちつてとな"),
       "a" + std::string("あいうえおかきくけこさしすせそたちつて") + " "},
      {"value with trailing blanks past the limit is kept", 2, "工事" + Blanks(50), "工事" + Blanks(50)},
      {"value of exactly 40 bytes", 2, std::string(40, 'v'), std::string(40, 'v')},
  };
  Load();
  int row = 1;
  for (const Case& c : cases) {
    Edit(c.col, row, c.typed);
    EXPECT_EQ(grid.CellText(c.col, row), c.kept) << c.name;
    const KoujiTexts& entries = c.col == 1 ? sht->KjItemName() : sht->KjContent();
    EXPECT_EQ(entries[size_t(row - 1)], c.kept) << c.name;
    ++row;
  }
  EXPECT_TRUE(sht->KjChanged());
}

TEST_F(KoujiShtTest, AnyKeyMarksAChangeAndDeleteBlanksTheCell) {
  Load();
  grid.KeyDown(gridkey::kDown, false, false);  // only a move
  EXPECT_TRUE(sht->KjChanged());
  EXPECT_EQ(grid.CurrentRow(), 2);
  EXPECT_TRUE(grid.KeyDown(gridkey::kDelete, false, false)) << "consumed";
  EXPECT_EQ(grid.CellText(2, 2), Blanks(40));
  EXPECT_EQ(sht->KjContent()[1], Blanks(40));
  grid.SetCursor(1, 1);
  grid.KeyDown(gridkey::kDelete, false, false);
  EXPECT_EQ(grid.CellText(1, 1), Blanks(20));
  EXPECT_EQ(sht->KjItemName()[0], Blanks(20));
  EXPECT_EQ(grid.CellText(1, 2), "工事場所") << "only the cursor cell";
}

TEST_F(KoujiShtTest, TheEditMenuCutsCopiesPastesAndDeletes) {
  struct Paste {
    const char* name;
    std::string clipboard;
    std::string cell;
  };
  const Paste pastes[] = {
      {"first line of CR LF lines", "第一行\r\n第二行", "第一行"},
      {"first line of LF lines", "first\nsecond", "first"},
      {"first field", "名称\t規格\t数量", "名称"},
      {"no Shift-JIS form", "工事😀X", "工事?X"},
  };
  Load();
  for (const Paste& p : pastes) {
    ui.clipboard = p.clipboard;
    sht->KoujiMenu_2Sub_Click(3);
    EXPECT_EQ(grid.CellText(2, 1), p.cell) << p.name;
    EXPECT_EQ(sht->KjContent()[0], p.cell) << p.name;
  }
  grid.SetCursor(1, 2);
  sht->KoujiMenu_2Sub_Click(2);
  EXPECT_EQ(ui.clipboard, "工事場所");
  EXPECT_EQ(grid.CellText(1, 2), "工事場所");
  sht->KoujiMenu_2Sub_Click(1);
  EXPECT_EQ(ui.clipboard, "工事場所");
  EXPECT_EQ(grid.CellText(1, 2), Blanks(40));
  EXPECT_EQ(sht->KjItemName()[1], Blanks(40));
  grid.SetCursor(1, 3);
  sht->KoujiMenu_2Sub_Click(4);
  EXPECT_EQ(sht->KjItemName()[2], Blanks(40));
  EXPECT_TRUE(sht->KjChanged());

  // The menu is the grid's popup menu on a cell, not on the headers.
  grid.RightButtonDown(2, 5);
  grid.RightButtonDown(0, 5);
  EXPECT_EQ(popups, 1);
}

TEST_F(KoujiShtTest, SavingWritesBothFilesAndAsksForAPack) {
  Load();
  Edit(2, 3, "2027年3月");
  sht->KoujiMenu_1sub_Click(1);
  EXPECT_FALSE(sht->KjChanged());
  EXPECT_TRUE(st.PackPending);
  const std::string labels = test::ReadAll(dir / "SUBTITLE.DAT");
  ASSERT_EQ(labels.size(), 50u * 22u) << "a label file of 3 lines gives 50";
  EXPECT_EQ(labels.substr(0, 22), ToSjis("工事名称") + Blanks(12) + "\r\n");
  EXPECT_EQ(labels.substr(3 * 22, 22), Blanks(20) + "\r\n");
  const std::string values = test::ReadAll(dir / "WORK" / "EST.YT");
  ASSERT_EQ(values.size(), 2000u);
  EXPECT_EQ(values.substr(80, 40), ToSjis("2027年3月") + Blanks(31));
  sht->KoujiMenu_1sub_Click(5);
  EXPECT_EQ(unloads, 1);
  test::HelpRecorder help(st);
  sht->KoujiMenu3_Click();
  EXPECT_EQ(help.Pages(), std::vector<std::string>{"files.html"});
}

// Bytes that are not Shift-JIS text (every byte value, and records ending in
// a lead byte alone) survive a save; only the edited record is rewritten.
TEST_F(KoujiShtTest, ASaveWritesBackEveryRecordNotEditedByteForByte) {
  std::string yt;
  for (int i = 0; i < 2000; ++i) yt += char((i * 151 + 7) % 256);
  for (int r = 0; r < 50; r += 3) yt[size_t(r * 40 + 39)] = '\x81';  // a lead byte at the record's end
  std::string labels;
  for (int r = 0; r < 50; ++r) labels += std::string("\x82\xA0\xFF\x80") + char(0xE0 + r % 16) + Blanks(15) + "\r\n";
  dir.Write("WORK/EST.YT", yt);
  dir.Write("SUBTITLE.DAT", labels);
  Load();
  grid.KeyDown(gridkey::kDown, false, false);  // a key marks the window changed
  sht->KoujiMenu_1sub_Click(1);
  EXPECT_EQ(test::ReadAll(dir / "WORK" / "EST.YT"), yt);
  EXPECT_EQ(test::ReadAll(dir / "SUBTITLE.DAT"), labels);

  Edit(2, 2, "東京都");
  Edit(1, 3, "工期");
  sht->KoujiMenu_1sub_Click(1);
  std::string expected = yt;
  expected.replace(40, 40, ToSjis("東京都") + Blanks(34));
  EXPECT_EQ(test::ReadAll(dir / "WORK" / "EST.YT"), expected);
  std::string expectedLabels = labels;
  expectedLabels.replace(44, 22, ToSjis("工期") + Blanks(16) + "\r\n");
  EXPECT_EQ(test::ReadAll(dir / "SUBTITLE.DAT"), expectedLabels);
}

TEST_F(KoujiShtTest, TheCloseQuestionsThreeAnswers) {
  struct Case {
    const char* name;
    int answer;
    bool cancelled;
    bool written;
  };
  const Case cases[] = {{"Yes", vbYes, false, true}, {"No", vbNo, false, false}, {"Cancel", vbCancel, true, false}};
  for (const Case& c : cases) {
    const std::string before = test::ReadAll(dir / "WORK" / "EST.YT");
    st.PackPending = false;
    Load();
    sht->mnuVZItem_Click(2);
    EXPECT_EQ(checkedZoom, 2);
    Edit(2, 1, "変更後の工事名");
    ui.AnswerMsgBox(c.answer, kQuestion);
    sht->Form_QueryUnload({120, 240, 9600, 4800});
    EXPECT_EQ(sht->Form_Unload(), c.cancelled) << c.name;
    const auto& box = ui.Prompts().back();
    EXPECT_EQ(box.title, "工事情報編集");
    EXPECT_EQ(box.style, vbYesNoCancel + vbExclamation);
    EXPECT_EQ(st.PackPending, c.written) << c.name;
    const std::string after = test::ReadAll(dir / "WORK" / "EST.YT");
    EXPECT_EQ(after.substr(0, 14) == ToSjis("変更後の工事名"), c.written) << c.name;
    if (!c.written) EXPECT_EQ(after, before) << c.name;
    // The place and the zoom are kept whatever the answer.
    EXPECT_EQ(IniValue("工事情報画面", "Left"), "120") << c.name;
    EXPECT_EQ(IniValue("工事情報画面", "Height"), "4800") << c.name;
    EXPECT_EQ(IniValue("ズーム倍率", "KouziZoom"), "80") << c.name;
    dir.Write("WORK/EST.YT", before);
  }
  // Nothing changed: no question.
  Load();
  EXPECT_FALSE(sht->Form_Unload());
}

TEST_F(KoujiShtTest, AFailedSaveIsReportedAndKeepsTheWindowAndItsChanges) {
  std::filesystem::remove(dir / "WORK" / "EST.YT");
  std::filesystem::create_directory(dir / "WORK" / "EST.YT");  // cannot be replaced by a file
  Load();
  Edit(2, 1, "新しい工事名");
  ui.AnswerMsgBox(vbYes, kQuestion);
  ui.AnswerMsgBox(vbOK, "EST.YT");
  EXPECT_TRUE(sht->Form_Unload()) << "the window stays open";
  EXPECT_TRUE(sht->KjChanged());
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(sht->KjContent()[0], "新しい工事名");
  EXPECT_EQ(grid.CellText(2, 1), "新しい工事名");
  EXPECT_EQ(test::ReadAll(dir / "SUBTITLE.DAT").size(), 50u * 22u) << "the label file was written";
}

TEST_F(KoujiShtTest, TheGridIsNeverSplit) {
  Load();
  grid.SetViewportSize(800, 400);
  SetDivide32(grid, 60, 0);
  EXPECT_EQ(grid.DivideX(), 0);
}

}  // namespace
}  // namespace kv
