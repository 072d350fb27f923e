// File > Open of DOS-edition estimates as DOS programs left them: a level
// file ending in the end-of-file mark or a few stray bytes, a breakdown
// whose last record links to itself. Each is converted, opened and saved as
// a packed estimate, with what could not be converted reported.
#include <gtest/gtest.h>

#include "file_command_fixture.h"
#include "platform/codepage.h"
#include "storage/convert_classification_file.h"
#include "storage/file_open.h"

namespace kv {
namespace {

// A DOS record: 256 bytes, decimal link fields as their 4 raw bytes, the text
// from byte 20.
std::string Dos(const std::string& own, const std::string& next, const std::string& child,
                const std::string& text) {
  std::string r(kDosRecordLen, ' ');
  r.replace(3, 4, own);
  r.replace(7, 4, next);
  r.replace(11, 4, child);
  const std::string bytes = ToSjis(text);
  r.replace(19, bytes.size(), bytes);
  return r;
}

struct DosCase {
  const char* name;
  std::string level1;  // the bytes of OLD.Y1
  std::string level2;  // the bytes of OLD.Y2 ("" none)
  const char* report;  // what the conversion reports ("" nothing)
  std::vector<std::string> breakdown;  // the texts under row 1
};

const std::string kTwoRows = Dos("   1", "   2", " -99", "一") + Dos("   2", " -99", " -99", "二");
const std::string kTwoRowsWithBreakdown = Dos("   1", "   2", "   1", "一") + Dos("   2", " -99", " -99", "二");

class OpenDosFile : public test::FileCommandTest, public ::testing::WithParamInterface<DosCase> {};

TEST_P(OpenDosFile, IsConvertedOpenedAndSaved) {
  const DosCase& c = GetParam();
  shared.Write("DATA/OLD.Y1", c.level1);
  if (!c.level2.empty()) shared.Write("DATA/OLD.Y2", c.level2);
  ui.AnswerOpenDialog(Data("OLD.Y1")).AnswerMsgBox(vbOK, "変換して読み込みます。");
  if (*c.report) ui.AnswerMsgBox(vbOK, c.report);

  FileOpen(st);

  ui.ExpectAllAnswered();
  ASSERT_EQ(st.CurrentFilePath, Data("OLD.YZH"));
  EXPECT_TRUE(Exists(Data("OLD.YZH")));
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(a.Text(1, 1), "一");
  EXPECT_EQ(a.Text(1, 2), "二");
  EXPECT_EQ(a.BreakdownTexts(1), c.breakdown);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenDosFile,
    ::testing::Values(
        DosCase{"EndOfFileMark", kTwoRows + "\x1A", "", "", {}},
        DosCase{"StrayBytes", kTwoRows + "xyz", "", "[ OLD.Y1 ] の長さが256バイトの倍数ではありません。最後の 3 バイトは変換していません。", {}},
        // The blank next link of the last record becomes a link to itself.
        DosCase{"BreakdownEndingInABlankLink", kTwoRowsWithBreakdown,
                Dos("   1", "   2", " -99", "内一") + Dos("   2", "    ", " -99", "内二"), "", {"内一", "内二"}},
        DosCase{"BreakdownEndingInALinkToItself", kTwoRowsWithBreakdown,
                Dos("   1", "   2", " -99", "内一") + Dos("   2", "   2", " -99", "内二"), "", {"内一", "内二"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kv
