// The print forms in the paper lists: the printer's settings file name, the
// caption of a form, the current form taken as 1 when it is out of range,
// the combo and menu filled, and the print type stored in the three
// settings files (with and without a printer).
#include "print/print_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

TEST(PrinterKey, ReplacesBackslashesAndSlashesOnly) {
  struct Case {
    const char* device;
    const char* key;
  };
  const Case cases[] = {
      {"\\\\srv\\laser", "$$srv$laser"},
      {"HP/LaserJet 4:A", "HP-LaserJet 4:A"},
      {"事務所\\プリンタ", "事務所$プリンタ"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PrinterKeyOf(c.device), c.key) << c.device;
  // A NUL, which no file name can hold, becomes "-" as well.
  EXPECT_EQ(PrinterKeyOf(std::string("lp\0a", 4)), "lp-a");
}

// The current printer is the UI's default at its first use and whatever a
// print dialog chose from then on.
TEST(PrinterKey, FollowsTheCurrentPrinter) {
  ScriptedUi ui;
  ProgramState st{ui};
  ui.printers = {"Laser/1", "Other"};
  EXPECT_EQ(PrinterKey(st), "Laser-1");
  EXPECT_EQ(st.CurrentPrinterName, "Laser/1");
  st.CurrentPrinterName = "Other";
  EXPECT_EQ(PrinterKey(st), "Other");
}

// Names are compared as they are, trimmed: no character is a pattern.
TEST(PrinterListFind, ExactTrimmedNames) {
  const std::vector<std::string> list{"HP#2", "[Lab]", "La", " Lab* ", "Lab* "};
  struct Case {
    const char* device;
    int found;
  };
  const Case cases[] = {{"HP#2", 0}, {"HP12", -1}, {"[Lab]", 1}, {"L", -1}, {"Lab*", 3}, {"Lab", -1}, {" La ", 2}};
  for (const Case& c : cases) EXPECT_EQ(PrinterListFind(list, c.device), c.found) << c.device;
}

TEST(PaperTypeCaption, NameCutAndPaddedToNineBytesThenRowsAndDisplayName) {
  struct Case {
    const char* name;
    int rows;
    const char* caption;
  };
  const Case cases[] = {
      {"A4", 5, "A4        5行 (見積書)"},
      {"A4TATE123", 50, "A4TATE12350行 (見積書)"},    // exactly 9 bytes
      {"A4TATE1234", 120, "A4TATE12320行 (見積書)"},  // 10 bytes lose the last; 120 keeps "20"
      {"Ｂ４横長い", 100, "Ｂ４横長 00行 (見積書)"},    // the fifth character would straddle byte 9
      {"ｶﾀﾛｸﾞ", -1, "ｶﾀﾛｸﾞ    -1行 (見積書)"},      // half-width katakana are one byte each
      {"", -1, "         -1行 (見積書)"},
  };
  PrintInfo info;
  info.PrintFormNames[3] = "見積書";
  for (const Case& c : cases) {
    info.PrintFormSections[3] = c.name;
    info.PrintRows[3] = c.rows;
    EXPECT_EQ(PaperTypeCaption(info, 3), c.caption) << c.name;
  }
  info.PrintFormNames[3].clear();
  EXPECT_EQ(PaperTypeCaption(info, 3), "         -1行 ()");
}

// The editor double with the window's menus and the paper combo it fills.
class PaperEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  std::vector<std::string> combo;
  int selected = -2;
  int menuShows = 0;
  EditorMenus* Menus() override { return &menus; }
  void MenusChanged(ProgramState&) override { ++menuShows; }
  void PaperCombosFill(ProgramState&, const std::vector<std::string>& captions, int index) override {
    combo = captions;
    selected = index;
  }
};

class PaperListsTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  PaperEditor editor;
  PrintForms print;

  PaperListsTest() {
    for (int n = 1; n <= kPrintForms; ++n) {
      st.PrintFormSections[size_t(n)] = "F" + std::to_string(n);
      st.PrintRows[size_t(n)] = 10 * n;
      st.PrintFormNames[size_t(n)] = "様式" + std::to_string(n);
    }
    st.editor = &editor;
    st.print = &print;
  }
  ~PaperListsTest() override { st.editor = nullptr; }
};

// Any form number outside 1..7 (0, or -1 from a settings file without the
// key) shows and selects form 1 and is stored back as 1.
TEST_F(PaperListsTest, ComboAndMenuShowTheSevenFormsWithTheCurrentOneChosen) {
  struct Case {
    int stored;
    int form;
  };
  const Case cases[] = {{3, 3}, {7, 7}, {0, 1}, {-1, 1}, {8, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    st.PrnTypeNo = c.stored;
    st.print->FillPaperCombo(st);
    EXPECT_EQ(st.PrnTypeNo, c.form);
    ASSERT_EQ(editor.combo.size(), 7u);
    EXPECT_EQ(editor.combo[0], "F1       10行 (様式1)");
    EXPECT_EQ(editor.combo[6], "F7       70行 (様式7)");
    EXPECT_EQ(editor.selected, c.form - 1);

    st.PrnTypeNo = c.stored;
    const int shows = editor.menuShows;
    st.print->UpdatePaperMenu(st);
    EXPECT_EQ(st.PrnTypeNo, c.form);
    EXPECT_EQ(editor.menuShows, shows + 1);
    for (int n = 1; n <= kPrintForms; ++n) {
      const MenuItem& item = editor.menus.At("PeparSerect", n);
      EXPECT_EQ(item.caption, editor.combo[size_t(n - 1)]);
      EXPECT_EQ(item.checked, n == c.form) << n;
    }
  }
}

TEST_F(PaperListsTest, WithoutEditorWindowTheFormIsStillTakenAsOne) {
  st.editor = nullptr;
  st.PrnTypeNo = -1;
  st.print->FillPaperCombo(st);
  EXPECT_EQ(st.PrnTypeNo, 1);
  st.PrnTypeNo = 0;
  st.print->UpdatePaperMenu(st);
  EXPECT_EQ(st.PrnTypeNo, 1);
}

class SavePrintTypeTest : public ::testing::Test {
 protected:
  TempFolder dir;
  ScriptedUi ui;
  ProgramState st{ui};
  PrintForms print;

  SavePrintTypeTest() {
    std::filesystem::create_directory(dir / "WORK");
    st.AppPath = dir.path().string();
    st.WorkFileBase = (dir / "WORK" / "無題").string();
    dir.Write("DAVIROV.INI", ToSjis("[印刷タイプ]\r\nPrnTypeNo=1\r\n[印刷書式]\r\n1=A4\r\n"));
    st.PrnTypeNo = 4;
  }
  int Stored(const std::filesystem::path& file) const { return IniGetInt("印刷タイプ", "PrnTypeNo", file); }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// A printer seen for the first time gets its settings file as a copy of
// DAVIROV.INI; the untitled estimate's settings file is written too.
TEST_F(SavePrintTypeTest, WritesTheEstimateThePrinterAndTheTemplate) {
  ui.printers = {"\\\\srv\\laser", "Other"};
  print.SavePrintType(st);
  EXPECT_EQ(Stored(dir / "WORK" / "無題.INI"), 4);
  EXPECT_EQ(Stored(dir / "$$srv$laser.INI"), 4);
  EXPECT_EQ(Stored(dir / "DAVIROV.INI"), 4);
  std::string form;
  IniGetString("印刷書式", "1", form, dir / "$$srv$laser.INI");
  EXPECT_EQ(form, "A4");
  EXPECT_TRUE(ui.MessageTexts().empty());
}

// A printer's settings file, once there, keeps its own forms.
TEST_F(SavePrintTypeTest, AnExistingPrinterFileIsNotReplaced) {
  ui.printers = {"Laser"};
  dir.Write("Laser.INI", ToSjis("[印刷書式]\r\n1=B5\r\n"));
  print.SavePrintType(st);
  std::string form;
  IniGetString("印刷書式", "1", form, dir / "Laser.INI");
  EXPECT_EQ(form, "B5");
  EXPECT_EQ(Stored(dir / "Laser.INI"), 4);
}

TEST_F(SavePrintTypeTest, WithoutPrinterNoPrinterFileIsMade) {
  ui.printers.clear();
  EXPECT_EQ(PrinterKey(st), "");
  print.SavePrintType(st);
  EXPECT_EQ(Stored(dir / "WORK" / "無題.INI"), 4);
  EXPECT_EQ(Stored(dir / "DAVIROV.INI"), 4);
  EXPECT_EQ(Files(), std::vector<std::string>{"DAVIROV.INI"});
}

}  // namespace
}  // namespace kv::test
