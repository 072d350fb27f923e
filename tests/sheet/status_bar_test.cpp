// The status bar's panels as the sheet engine sets them, and the page shown
// for the cursor row.
#include "sheet/status_bar.h"

#include "sheet/sheet_fixture.h"

namespace kv::test {
namespace {

class StatusBarTest : public SheetFixture {
 protected:
  void SetUp() override {
    SheetFixture::SetUp();
    st.PrnTypeNo = 2;
    st.PrintRows[2] = 50;
  }
  void FirstPage(const std::string& page, char marker) {
    st.SheetRows[1].replace(15, 3, page);
    st.SheetRows[1][18] = marker;
  }
};

TEST_F(StatusBarTest, PageOfTheCursorRow) {
  FirstPage("  5", 'P');
  EXPECT_EQ(StatusPageText(st, 1), " 5P");
  EXPECT_EQ(StatusPageText(st, 50), " 5P");
  EXPECT_EQ(StatusPageText(st, 51), " 6P");
  EXPECT_EQ(StatusPageText(st, 101), " 7P");

  FirstPage(" 0A", 'h');
  EXPECT_EQ(StatusPageText(st, 1), " 10P");
  EXPECT_EQ(StatusPageText(st, 60), " 11P");
  FirstPage(" 0A", 'H');
  EXPECT_EQ(StatusPageText(st, 1), " 0P");
  FirstPage("   ", 'P');
  EXPECT_EQ(StatusPageText(st, 1), "    ");
}

// A print form without a row count shows the start page, whatever the row.
TEST_F(StatusBarTest, PrintFormWithoutRowsShowsTheStartPage) {
  FirstPage("  5", 'P');
  st.PrintRows[2] = 0;
  EXPECT_EQ(StatusPageText(st, 101), " 5P");
}

TEST_F(StatusBarTest, EngineShowsPanelsThroughTheBar) {
  FirstPage("  5", 'P');
  engine.StatusPageShow(st, 51);
  EXPECT_EQ(bar.panels[4], " 6P");

  bar.held = "ABC";
  engine.StatusPanelSet(st, 1, "x");
  engine.StatusPanelClear(st, 1);
  EXPECT_EQ(bar.panels[1], "[ABC]");
  engine.StatusPanelSet(st, 2, " 12 行");
  engine.StatusPanelClear(st, 2);
  EXPECT_EQ(bar.panels[2], "");
  bar.held.clear();
  engine.StatusPanelClear(st, 1);
  EXPECT_EQ(bar.panels[1], "");
}

}  // namespace
}  // namespace kv::test
