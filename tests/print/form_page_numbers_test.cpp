// The page numbers follow the print form: a form number outside 1..7 counts
// as form 1, what a write used is kept, and a closing dialog writes them
// again when the rows per page or the special form changed since, or when
// they have not been written since the estimate was opened.
#include "print/form_page_numbers.h"

#include <gtest/gtest.h>

#include "editor/page_numbers.h"
#include "print/print_fixture.h"

namespace kv::test {
namespace {

class FormPageNumbersTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    ThreeRowsEstimate();
  }
  std::string BreakdownPage() const { return ReadLevel(2).at(0).substr(15, 4); }
};

TEST_F(FormPageNumbersTest, AFormOutsideTheTableIsFormOne) {
  for (int form : {-1, 0, 8}) {
    st.PrnTypeNo = form;
    PageNumbersWrite(st);
    EXPECT_EQ(BreakdownPage(), "  4P") << form;  // 2 rows a page: level 1 takes pages 1..3
    EXPECT_EQ(st.PageNumbersLast.rowsPerPage, 2);
  }
}

TEST_F(FormPageNumbersTest, WrittenAgainOnlyWhenTheRowsOrTheSpecialFormChanged) {
  // Not written since the estimate opened: the numbers on disk may be for
  // other rows (the detail dialog may have changed them), so they are written.
  st.PrintRows[1] = 1;
  EXPECT_TRUE(PageNumbersFollowForm(st));
  EXPECT_EQ(BreakdownPage(), "  6P");
  st.PrintRows[1] = 2;
  PageNumbersWrite(st);
  EXPECT_FALSE(PageNumbersFollowForm(st));
  st.PrintRows[1] = 3;  // the detail dialog changed the rows
  EXPECT_TRUE(PageNumbersFollowForm(st));
  EXPECT_EQ(BreakdownPage(), "  3P");
  st.PrnTypeNo = 2;  // another form with the same rows
  EXPECT_FALSE(PageNumbersFollowForm(st));
  st.SpecialPrintSpec = true;
  st.OrviKenPrn = 1;
  EXPECT_TRUE(PageNumbersFollowForm(st));
  EXPECT_TRUE(st.PageNumbersLast.specialForm);
  EXPECT_EQ(StoredPrintForm(st), 1);
  IniPutString("印刷タイプ", "PrnTypeNo", "-1", EstimateIni());
  EXPECT_EQ(StoredPrintForm(st), 0);
}

}  // namespace
}  // namespace kv::test
