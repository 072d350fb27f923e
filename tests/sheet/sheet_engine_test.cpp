// The sheet engine's record of the sheet and its path, through the level
// work files.
#include "sheet/sheet_engine.h"

#include "platform/grid/grid_model.h"
#include "storage/file_commands_double.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class PanelLog : public StatusBarPort {
 public:
  std::vector<std::string> log;
  void StatusPanelSet(int panel, const std::string& text) override {
    log.push_back(std::to_string(panel) + ":" + text);
  }
};

class SheetEngineRecord : public LevelFixture {
 protected:
  GridModel grid;
  PanelLog bar;
  SheetEngine engine{grid, &bar};
  FileCommandsDouble files;
  RecordingEditor editor;

  void SetUp() override {
    LevelFixture::SetUp();
    st.sheetEngine = &engine;
    st.fileCommands = &files;
    st.editor = &editor;
  }
};

TEST_F(SheetEngineRecord, RecordsTheSheetAndItsParentsAndWritesPageNumbers) {
  WriteLevel(1, {{' ', 0, 2, 1, "P1"}, {'G', 0, kNoRecord, kNoRecord, ""}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "C1", '@'}, {'G', 0, kNoRecord, kNoRecord, ""}});
  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  SetParent(2, 1);
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  SetRow(1, "changed");
  SetRow(2, "added");

  EXPECT_TRUE(engine.LevelSheetRecord(st));

  EXPECT_EQ(st.UsedRows, 2);
  std::vector<std::string> level2 = ReadLevel(2);
  ASSERT_EQ(level2.size(), 3u);
  EXPECT_EQ(Text(level2[0]), Pad("changed"));
  EXPECT_EQ(Text(level2[1]), Pad("added"));
  EXPECT_TRUE(editor.Has("PageNumbersWrite()"));
  ASSERT_FALSE(bar.log.empty());
  EXPECT_EQ(bar.log.front(), "1:**  記録中 !  **");
  EXPECT_EQ(bar.log.back(), "1:");
}

TEST_F(SheetEngineRecord, EmptyTopSheetIsNotRecorded) {
  st.CurrentLevel = 1;
  for (auto& row : st.SheetRows) row = std::string(256, ' ');

  // A named estimate is handed to the empty-estimate discard first.
  EXPECT_FALSE(engine.LevelSheetRecord(st));
  EXPECT_EQ(files.calls, (std::vector<std::string>{"EmptyFileDiscard()"}));

  files.calls.clear();
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  EXPECT_FALSE(engine.LevelSheetRecord(st));
  EXPECT_TRUE(files.calls.empty());
  EXPECT_FALSE(editor.Has("PageNumbersWrite()"));
  EXPECT_FALSE(std::filesystem::exists(LevelPath(1)));
}

}  // namespace
}  // namespace kv::test
