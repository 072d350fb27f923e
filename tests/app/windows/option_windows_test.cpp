// The options, font and about windows as the user meets them through the
// seam: each opens, takes a change, and OK leaves it in the settings files;
// the editor's View and Help items open them.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/font_choice.h"
#include "app/version_text.h"
#include "app/windows/font_frm.h"
#include "app/windows/frm_select_font.h"
#include "app/windows/frm_version.h"
#include "app/windows/option_windows.h"
#include "app/windows/set_option.h"
#include "core/ini_file.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/codepage.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "support/qt_test_app.h"
#include "support/when_shown.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Types a text into a line edit, key by key, as the user does.
void Type(QLineEdit* edit, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
  }
}

void Clear(QLineEdit* edit) {
  edit->selectAll();
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(edit, &del);
}

class OptionWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.DataLen = 256;
    test::SetDefaultItemLayout(st);
    test::SetLevelColumns(st, 1,
                          {{"名称", "W", 20},
                           {"規格", "C", 20},
                           {"数量", "A2", 8},
                           {"単位", "C", 4},
                           {"単価", "0", 10},
                           {"金額", "A", 12, "[[C*[[E", "SUM"}});
    st.CaptionColmun1 = st.CaptionColmun2 = 1;
    st.DownCopyColmun1 = 1;
    st.DownCopyColmun2 = 2;
    st.ToTalNameColmun = 1;
    st.ToTalColmun = 6;
    st.STax = Currency::FromRaw(1000);
    st.MASK_NAME = {"全項目", "計算式なし", "提出用", "金額のみ", "画面５", "画面６"};
    st.SUBTOTALNAME = {"", "小計", "中計", "大計", "大大計", "大大大計", "消費税"};
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    test::WriteSjisFile(Davirov(), "[Boot]\nSTax=10\n[Font]\nName=ＭＳ 明朝\n");
    test::WriteSjisFile(EstimateIni(), "[Boot]\nSTax=10\n");
    test::WriteSjisFile((dir / "FONT.DAT").string(), "ＭＳ 明朝\nＭＳ ゴシック\n標準明朝\n標準ゴシック\n");
    RegisterOptionWindows(qt, st);
  }
  void TearDown() override { delete qt.LoadedWindow(kEditWindow); }

  std::string Davirov() const { return (dir / "DAVIROV.INI").string(); }
  std::string EstimateIni() const { return st.WorkFileBase + ".INI"; }
  static std::string Text(const std::string& section, const std::string& key, const std::string& file) {
    std::string v;
    IniGetString(section, key, v, file);
    return v;
  }

  // Acts as the user once the modal window `name` is up.
  template <class W>
  void WhenShown(const char* name, std::function<void(W&)> act) {
    test::WhenShown(qt, name, act);
  }

  test::TempFolder dir;
  QtUi qt;
  ProgramState st{qt};
};

TEST_F(OptionWindows, SetOptionTakesATaxRateAndOkWritesBothFiles) {
  WhenShown<SetOption>("SetOption", [](SetOption& w) {
    EXPECT_EQ(w.windowTitle(), Q("ｵﾌﾟｼｮﾝ"));
    ASSERT_EQ(w.TabS()->count(), 4);
    EXPECT_EQ(w.TabS()->tabText(3), Q("仕訳ﾌｧｲﾙ・画面調整"));
    w.TabS()->setCurrentIndex(1);
    auto* zei = w.findChild<QLineEdit*>("txtZei");
    ASSERT_NE(zei, nullptr);
    EXPECT_EQ(zei->text(), Q("10"));
    EXPECT_TRUE(zei->isVisible());
    Clear(zei);
    Type(zei, "8.5");
    w.Combo(OptCombo::AbSrc3)->activated(1);  // packed into the first slot
    w.Combo(OptCombo::AbDsc1)->activated(2);
    EXPECT_EQ(w.Combo(OptCombo::AbSrc1)->currentIndex(), 1);
    EXPECT_EQ(w.Combo(OptCombo::AbSrc3)->currentIndex(), 0);
    w.SetOPButton(0)->click();
  });
  qt.ShowModal("SetOption");
  EXPECT_FALSE(qt.IsWindowLoaded("SetOption"));
  EXPECT_EQ(st.STax, Currency::FromRaw(850));
  EXPECT_TRUE(st.SheetModified);
  for (const std::string& f : {Davirov(), EstimateIni()}) {
    EXPECT_EQ(Text("Boot", "STax", f), "8.5") << f;
    EXPECT_EQ(IniGetInt("Boot", "ABLinkCount", f), 1) << f;
    EXPECT_EQ(IniGetInt("Boot", "ABLinkSrc1", f), 1) << f;
    EXPECT_EQ(IniGetInt("Boot", "ABLinkDst1", f), 2) << f;
  }
}

TEST_F(OptionWindows, SetOptionRefusesToLeaveABadRateAndCancelWritesNothing) {
  const std::string davirov = test::ReadBytes(Davirov());
  const std::string estimate = test::ReadBytes(EstimateIni());
  WhenShown<SetOption>("SetOption", [this](SetOption& w) {
    w.TabS()->setCurrentIndex(1);
    auto* zei = w.findChild<QLineEdit*>("txtZei");
    Clear(zei);
    Type(zei, "abc");
    // The message box of the refused switch, answered as it comes up.
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), Q("オプション"));
      EXPECT_NE(box->findChild<QLabel*>(QString(), Qt::FindChildrenRecursively), nullptr);
      box->close();
    });
    w.TabS()->setCurrentIndex(3);
    EXPECT_EQ(w.TabS()->currentIndex(), 1);
    EXPECT_EQ(w.State().Tab, 2);
    w.SetOPButton(1)->click();
  });
  qt.ShowModal("SetOption");
  EXPECT_FALSE(qt.IsWindowLoaded("SetOption"));
  EXPECT_EQ(st.STax, Currency::FromRaw(1000));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(test::ReadBytes(Davirov()), davirov);
  EXPECT_EQ(test::ReadBytes(EstimateIni()), estimate);
}

TEST_F(OptionWindows, SetOptionComplementBoxAndNamesPage) {
  st.SystemKind = 1;
  st.CellHabaAdjust[10] = 4;
  SetOption w(st, 100);
  w.setAttribute(Qt::WA_DeleteOnClose, false);  // on the stack here
  w.show();
  EXPECT_EQ(w.TabS()->tabText(2), Q("ﾏｽｸ画面・合計行名称・設備計算行名称"));
  w.TabS()->setCurrentIndex(3);
  auto* haba = w.findChild<QLineEdit*>("txtHaba");
  EXPECT_EQ(haba->text(), Q("   4"));
  static_cast<QAbstractButton*>(w.findChild<QWidget*>("SpinButton1Up"))->click();
  EXPECT_EQ(w.State().HabaWork[10], 5);
  EXPECT_EQ(haba->text(), Q("   5"));
  Type(haba, "x");  // refused by the number filter
  EXPECT_EQ(haba->text(), Q("   5"));
  w.TabS()->setCurrentIndex(2);
  auto* setubi = w.findChild<QRadioButton*>("OptSetubi");
  ASSERT_TRUE(setubi->isVisible());
  setubi->click();
  EXPECT_TRUE(w.findChild<QWidget*>("FraSetubi")->isVisible());
  EXPECT_FALSE(w.findChild<QWidget*>("fraMasuku")->isVisible());
  EXPECT_EQ(w.findChild<QLabel*>("lblSName2")->text(), Q("消耗品雑材行"));
  w.reject();
}

TEST_F(OptionWindows, FontFrmOkRecordsTheFontInBothFiles) {
  WhenShown<Font_Frm>("Font_Frm", [](Font_Frm& w) {
    EXPECT_EQ(w.windowTitle(), Q("文字ﾌｫﾝﾄ指定"));
    ASSERT_EQ(w.Combo1()->count(), 4);
    EXPECT_EQ(w.Combo1()->currentText(), Q("ＭＳ 明朝"));
    w.Combo1()->setCurrentIndex(w.Combo1()->findText(Q("標準ゴシック")));
    w.Command1(0)->click();
  });
  qt.ShowModal("Font_Frm");
  EXPECT_FALSE(qt.IsWindowLoaded("Font_Frm"));
  EXPECT_EQ(st.FontName, "標準ゴシック");
  EXPECT_EQ(Text("Font", "Name", Davirov()), "標準ゴシック");
  EXPECT_EQ(Text("Font", "Name", EstimateIni()), "標準ゴシック");
}

TEST_F(OptionWindows, FontFrmCancelKeepsTheFont) {
  WhenShown<Font_Frm>("Font_Frm", [](Font_Frm& w) {
    w.Combo1()->setCurrentIndex(1);
    w.Command1(1)->click();
  });
  qt.ShowModal("Font_Frm");
  EXPECT_EQ(st.FontName, "ＭＳ 明朝");
  EXPECT_EQ(Text("Font", "Name", EstimateIni()), "");
}

TEST_F(OptionWindows, SelectFontOkRewritesFontDatAndTheFontDialogListsItAnew) {
  const std::vector<std::string> installed = qt.FontFamilies();
  ASSERT_FALSE(installed.empty());
  WhenShown<Font_Frm>("Font_Frm", [this](Font_Frm& w) {
    WhenShown<frmSelectFont>("frmSelectFont", [](frmSelectFont& s) {
      EXPECT_EQ(s.windowTitle(), Q("使用フォント選択"));
      EXPECT_EQ(s.LstSrcFont()->count(), 4);
      ASSERT_GT(s.LstDscFont()->count(), 0);
      s.LstDscFont()->setCurrentRow(0);
      s.Command(1)->click();  // < 追加(&A)
      EXPECT_EQ(s.LstSrcFont()->count(), 5);
      s.Command(3)->click();  // OK
    });
    w.Command1(2)->click();
    EXPECT_EQ(w.Combo1()->count(), 5);
    EXPECT_EQ(w.Combo1()->currentText(), Q("ＭＳ 明朝"));
    w.Command1(1)->click();
  });
  qt.ShowModal("Font_Frm");
  std::optional<std::vector<std::string>> dat = FontDatRead((dir / "FONT.DAT").string());
  ASSERT_TRUE(dat);
  EXPECT_EQ(dat->size(), 5u);
}

TEST_F(OptionWindows, VersionShowsTheBuildVersion) {
  WhenShown<frmVersion>("frmVersion", [](frmVersion& w) {
    EXPECT_EQ(w.windowTitle(), Q("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(w.Version()->text(), ToQ(ProgramVersionLine()));
    w.Command1()->click();
  });
  qt.ShowModal("frmVersion");
  EXPECT_FALSE(qt.IsWindowLoaded("frmVersion"));
}

TEST_F(OptionWindows, EditorMenuItemsOpenTheDialogs) {
  RegisterEditorWindow(qt, st, {});
  qt.ShowModeless(kEditWindow);
  auto* editor = dynamic_cast<EDTSHEET_FRM*>(qt.LoadedWindow(kEditWindow));
  ASSERT_NE(editor, nullptr);
  QAction* options = editor->MenuAction("Menu_7Sub", 14);
  QAction* font = editor->MenuAction("Menu_7Sub", 2);
  QAction* version = editor->MenuAction("HelpVersion");
  ASSERT_TRUE(options && font && version);
  EXPECT_TRUE(options->isEnabled());
  EXPECT_TRUE(font->isEnabled());
  EXPECT_TRUE(version->isEnabled());

  bool shown = false;
  WhenShown<SetOption>("SetOption", [&shown](SetOption& w) {
    shown = true;
    w.SetOPButton(1)->click();
  });
  options->trigger();
  EXPECT_TRUE(shown);

  shown = false;
  WhenShown<Font_Frm>("Font_Frm", [&shown](Font_Frm& w) {
    shown = true;
    w.Command1(0)->click();
  });
  font->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(font->text(), Q("ﾌｫﾝﾄ=ＭＳ 明朝"));

  shown = false;
  WhenShown<frmVersion>("frmVersion", [&shown](frmVersion& w) {
    shown = true;
    w.Command1()->click();
  });
  version->trigger();
  EXPECT_TRUE(shown);
}

// With KORVANE_SCREENSHOTS set to a folder, the four pages of the options
// dialog and the font dialogs are saved there as pictures for a look by eye.
TEST_F(OptionWindows, Screenshot) {
  const char* out = std::getenv("KORVANE_SCREENSHOTS");
  if (!out) GTEST_SKIP() << "KORVANE_SCREENSHOTS not set";
  const std::filesystem::path folder(out);
  st.SystemKind = 3;
  SetOption w(st, 100);
  w.setAttribute(Qt::WA_DeleteOnClose, false);
  w.show();
  test::Settle();
  for (int tab = 0; tab < 4; ++tab) {
    w.TabS()->setCurrentIndex(tab);
    test::Settle();
    w.grab().save(QString::fromStdString((folder / ("SetOption" + std::to_string(tab + 1) + ".png")).string()));
  }
  w.reject();
  Font_Frm f(st, nullptr, {});
  f.setAttribute(Qt::WA_DeleteOnClose, false);
  f.show();
  test::Settle();
  f.grab().save(QString::fromStdString((folder / "Font_Frm.png").string()));
  f.reject();
  frmSelectFont s(st);
  s.setAttribute(Qt::WA_DeleteOnClose, false);
  s.show();
  test::Settle();
  s.grab().save(QString::fromStdString((folder / "frmSelectFont.png").string()));
  frmVersion v;
  v.setAttribute(Qt::WA_DeleteOnClose, false);
  v.show();
  test::Settle();
  v.grab().save(QString::fromStdString((folder / "frmVersion.png").string()));
}

}  // namespace
}  // namespace kv
