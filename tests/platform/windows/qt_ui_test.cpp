// The Qt seam is what the user meets: the message box must show the system's
// buttons and hand back their codes, the file dialogs must get the filters and
// flags the commands set, and named windows must load, show and unload.
#include "platform/qt/qt_ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "platform/qt/qt_translations.h"
#include "platform/qt/window_helpers.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

using test::PressKey;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Acts on the modal window that comes up next.
template <class W>
void WhenModal(std::function<void(W&)> act) {
  QTimer::singleShot(0, [act] {
    auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    act(*w);
  });
}

QStringList ButtonTexts(QMessageBox& box) {
  QStringList texts;
  // Left to right as laid out.
  QList<QAbstractButton*> buttons = box.buttons();
  std::sort(buttons.begin(), buttons.end(),
            [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
  for (QAbstractButton* b : buttons) texts << b->text();
  return texts;
}

QAbstractButton* ButtonNamed(QMessageBox& box, const char* text) {
  for (QAbstractButton* b : box.buttons())
    if (b->text() == Q(text)) return b;
  return nullptr;
}

class QtUiTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureQtApp(); }
  QtUi ui;
};

TEST_F(QtUiTest, MessageBoxShowsTheSystemsButtonsAndReturnsTheirCodes) {
  WhenModal<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), Q("TheKorvane"));
    EXPECT_EQ(box.text(), Q("変更を保存しますか?"));
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    box.adjustSize();
    EXPECT_EQ(ButtonTexts(box), (QStringList{Q("はい"), Q("いいえ"), Q("キャンセル")}));
    EXPECT_EQ(box.defaultButton()->text(), Q("いいえ"));
    ButtonNamed(box, "いいえ")->click();
  });
  EXPECT_EQ(ui.MsgBox("変更を保存しますか?", vbYesNoCancel + vbExclamation + vbDefaultButton2, "TheKorvane"),
            vbNo);

  WhenModal<QMessageBox>([](QMessageBox& box) { PressKey(&box, Qt::Key_Escape); });
  EXPECT_EQ(ui.MsgBox("続けますか?", vbOKCancel, "TheKorvane"), vbCancel);
}

TEST_F(QtUiTest, YesNoBoxRefusesEscAndTheTitleBar) {
  WhenModal<QMessageBox>([](QMessageBox& box) {
    PressKey(&box, Qt::Key_Escape);
    box.close();
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    ButtonNamed(box, "はい")->click();
  });
  EXPECT_EQ(ui.MsgBox("削除しますか?", vbYesNo + vbQuestion, "TheKorvane"), vbYes);
}

TEST_F(QtUiTest, InputBoxGivesTheTextOrNothing) {
  WhenModal<QInputDialog>([](QInputDialog& d) {
    EXPECT_EQ(d.windowTitle(), Q("名前"));
    EXPECT_EQ(d.labelText(), Q("ファイル名"));
    EXPECT_EQ(d.textValue(), Q("無題"));
    EXPECT_EQ(d.cancelButtonText(), Q("キャンセル"));
    d.setTextValue(Q("見積A"));
    d.accept();
  });
  EXPECT_EQ(ui.InputBox("ファイル名", "名前", "無題"), std::optional<std::string>("見積A"));
  WhenModal<QInputDialog>([](QInputDialog& d) { d.reject(); });
  EXPECT_EQ(ui.InputBox("ファイル名", "名前", ""), std::nullopt);
}

TEST_F(QtUiTest, FileDialogsGetFiltersFolderExtensionAndFlags) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv_qt_ui_test";
  std::filesystem::create_directories(dir);
  FileDialogRequest req;
  req.title = "The Korvaneのﾌｧｲﾙを開く";
  req.filter = "TheKorvaneWinFile (*.YZH)|*.YZH|表|*.txt;*.csv";
  req.filterIndex = 2;
  req.initDir = dir.string();
  req.defaultExt = ".YZH";
  req.flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;

  WhenModal<QFileDialog>([&](QFileDialog& d) {
    EXPECT_EQ(d.windowTitle(), Q("The Korvaneのﾌｧｲﾙを開く"));
    EXPECT_EQ(d.nameFilters(), (QStringList{Q("TheKorvaneWinFile (*.YZH)"), Q("表 (*.txt *.csv)")}));
    EXPECT_EQ(d.selectedNameFilter(), Q("表 (*.txt *.csv)"));
    EXPECT_EQ(d.directory().absolutePath(), ToQ(dir.string()));
    EXPECT_EQ(d.defaultSuffix(), Q("YZH"));
    EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptOpen);
    d.reject();
  });
  EXPECT_EQ(ui.OpenFileDialog(req), std::nullopt);

  // Save: the caller asks about an existing file itself unless it sets the flag.
  req.flags = cdlOFNHideReadOnly;
  req.fileName = "見積";
  WhenModal<QFileDialog>([&](QFileDialog& d) {
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(d.testOption(QFileDialog::DontConfirmOverwrite));
    d.selectFile(ToQ((dir / "見積.YZH").string()));
    static_cast<QDialog&>(d).accept();  // as the Save button does
  });
  EXPECT_EQ(ui.SaveFileDialog(req), std::optional<std::string>((dir / "見積.YZH").string()));

  req.flags = cdlOFNOverwritePrompt;
  WhenModal<QFileDialog>([&](QFileDialog& d) {
    EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
    d.reject();
  });
  EXPECT_EQ(ui.SaveFileDialog(req), std::nullopt);
  std::filesystem::remove_all(dir);
}

// Qt's own file dialog speaks Japanese once the translations are loaded. The
// dialog is saved as a picture to look at (KORVANE_DIALOG_PICTURE, or
// /tmp/korvane_open_dialog.png).
TEST_F(QtUiTest, QtsOwnDialogsSpeakJapanese) {
  const QLocale before;
  QTranslator* translator = LoadQtTranslations(*QCoreApplication::instance());
  ASSERT_NE(translator, nullptr) << "qtbase_ja is not installed (qt6-translations-l10n)";
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);

  FileDialogRequest req;
  req.title = "ﾌｧｲﾙを開く";
  req.filter = "TheKorvaneWinFile (*.YZH)|*.YZH";
  req.initDir = std::filesystem::temp_directory_path().string();
  QString lookIn, fileName, cancel;
  WhenModal<QFileDialog>([&](QFileDialog& d) {
    if (auto* l = d.findChild<QLabel*>(QStringLiteral("lookInLabel"))) lookIn = l->text();
    if (auto* l = d.findChild<QLabel*>(QStringLiteral("fileNameLabel"))) fileName = l->text();
    for (QPushButton* b : d.findChildren<QPushButton*>())
      if (b->text().contains(QStringLiteral("キャンセル"))) cancel = b->text();
    const char* out = std::getenv("KORVANE_DIALOG_PICTURE");
    d.grab().save(QString::fromUtf8(out && *out ? out : "/tmp/korvane_open_dialog.png"));
    d.reject();
  });
  ui.OpenFileDialog(req);
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QLocale::setDefault(before);

  EXPECT_FALSE(lookIn.isEmpty());
  EXPECT_NE(lookIn, Q("Look in:"));
  EXPECT_NE(fileName, Q("File &name:"));
  EXPECT_FALSE(cancel.isEmpty());
}

TEST_F(QtUiTest, PdfOutputIsAlwaysAPrinter) {
  EXPECT_TRUE(ui.PrinterInstalled());
  const std::vector<std::string> printers = ui.PrinterNames();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back(), kPdfPrinterName);
  const std::string def = ui.DefaultPrinterName();
  EXPECT_NE(std::find(printers.begin(), printers.end(), def), printers.end());
}

TEST_F(QtUiTest, ColourFontAndPrintDialogsTakeAndGiveTheValues) {
  WhenModal<QColorDialog>([](QColorDialog& d) {
    EXPECT_EQ(d.currentColor(), QColor(0x10, 0x20, 0x30));
    d.setCurrentColor(QColor(0xFF, 0, 0));
    d.accept();
  });
  EXPECT_EQ(ui.ColorDialog({0x302010, 0}), std::optional<long>(0x0000FF));
  WhenModal<QColorDialog>([](QColorDialog& d) { d.reject(); });
  EXPECT_EQ(ui.ColorDialog({0, 0}), std::nullopt);

  // The styles a family offers depend on the installed fonts: the effects
  // are the dialog's own.
  FontDialogRequest font;
  font.font = {"ＭＳ 明朝", 12, false, false, false, true, 0x00FF00};
  WhenModal<QFontDialog>([](QFontDialog& d) {
    EXPECT_TRUE(d.currentFont().underline());
    EXPECT_EQ(d.currentFont().pointSize(), 12);
    QFont f = d.currentFont();
    f.setStrikeOut(true);
    d.setCurrentFont(f);
    d.accept();
  });
  const std::optional<FontDialogFont> chosen = ui.FontDialog(font);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "ＭＳ 明朝");  // the stored name of the family it is drawn with
  EXPECT_TRUE(chosen->underline);
  EXPECT_TRUE(chosen->strikethru);
  EXPECT_EQ(chosen->pointSize, 12);
  EXPECT_EQ(chosen->color, 0x00FF00);
  WhenModal<QFontDialog>([](QFontDialog& d) { d.reject(); });
  EXPECT_EQ(ui.FontDialog(font), std::nullopt);

  PrintDialogRequest print;
  print.pages = {2, 4, 1, 9, 2};
  WhenModal<QPrintDialog>([](QPrintDialog& d) {
    EXPECT_EQ(d.minPage(), 1);
    EXPECT_EQ(d.maxPage(), 9);
    EXPECT_EQ(d.printer()->fromPage(), 2);
    d.accept();
  });
  const std::optional<PrintDialogPages> pages = ui.PrintDialog(print);
  ASSERT_TRUE(pages);
  EXPECT_EQ(pages->fromPage, 2);
  EXPECT_EQ(pages->toPage, 4);
  EXPECT_EQ(pages->maxPage, 9);
  EXPECT_EQ(pages->copies, 2);
}

// A plain window with one label, that may refuse to close.
class TestWindow : public QWidget {
 public:
  TestWindow() {
    auto* label = new QLabel(this);
    label->setObjectName("Label1(0)");
    resize(200, 100);
  }
  bool refuseClose = false;
  int closes = 0;

 protected:
  void closeEvent(QCloseEvent* e) override {
    ++closes;
    if (refuseClose) e->ignore();
  }
};

TEST_F(QtUiTest, NamedWindowsLoadShowAndUnload) {
  int made = 0;
  ui.RegisterWindow("Tool_Frm", [&] {
    ++made;
    return new TestWindow;
  });
  EXPECT_FALSE(ui.IsWindowLoaded("Tool_Frm"));
  EXPECT_TRUE(ui.HasWindow("Tool_Frm")) << "registered, though not loaded";
  ui.TouchWindow("Tool_Frm");
  EXPECT_FALSE(ui.IsWindowLoaded("Tool_Frm"));
  EXPECT_EQ(made, 0);

  ui.SetWindowText("Tool_Frm", "Label1(0)", "単位");  // loads it, as a property would
  ui.SetWindowText("Tool_Frm", "", "単位一覧");
  ASSERT_TRUE(ui.IsWindowLoaded("Tool_Frm"));
  auto* w = static_cast<TestWindow*>(ui.LoadedWindow("Tool_Frm"));
  EXPECT_EQ(w->findChild<QLabel*>("Label1(0)")->text(), Q("単位"));
  EXPECT_EQ(w->windowTitle(), Q("単位一覧"));
  EXPECT_FALSE(w->isVisible());

  ui.ShowModeless("Tool_Frm");
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(made, 1);

  ui.SetWindowTopMost("Tool_Frm", true);
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(w->isVisible());
  ui.SetWindowTopMost("Tool_Frm", false);
  EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(w->isVisible());

  ui.MoveWindow("Tool_Frm", 40, 30);
  ASSERT_TRUE(ui.WindowBounds("Tool_Frm"));
  EXPECT_EQ(ui.WindowBounds("Tool_Frm")->left, 40);
  EXPECT_EQ(ui.WindowBounds("Tool_Frm")->top, 30);
  ui.SetWindowState("Tool_Frm", WindowState::Minimized);
  EXPECT_EQ(ui.GetWindowState("Tool_Frm"), WindowState::Minimized);
  ui.SetWindowState("Tool_Frm", WindowState::Normal);
  EXPECT_EQ(ui.GetWindowState("Tool_Frm"), WindowState::Normal);
  ui.SetWindowEnabled("Tool_Frm", false);
  EXPECT_FALSE(w->isEnabled());
  ui.SetWindowEnabled("Tool_Frm", true);
  EXPECT_TRUE(w->isEnabled());

  w->refuseClose = true;
  ui.UnloadWindow("Tool_Frm");
  EXPECT_TRUE(ui.IsWindowLoaded("Tool_Frm"));  // it said no
  w->refuseClose = false;
  ui.UnloadWindow("Tool_Frm");
  EXPECT_EQ(w->closes, 2);
  EXPECT_FALSE(ui.IsWindowLoaded("Tool_Frm"));
  EXPECT_EQ(ui.WindowBounds("Tool_Frm"), std::nullopt);

  ui.ShowModeless("Tool_Frm");  // a fresh load
  EXPECT_EQ(made, 2);
}

TEST_F(QtUiTest, UnknownWindowsAreHarmless) {
  ui.ShowModal("Nothing_Frm");
  ui.ShowModeless("Nothing_Frm");
  ui.SetWindowTopMost("Nothing_Frm", true);
  ui.SetWindowEnabled("Nothing_Frm", false);
  ui.UnloadWindow("Nothing_Frm");
  EXPECT_FALSE(ui.IsWindowLoaded("Nothing_Frm"));
  EXPECT_EQ(ui.GetWindowState("Nothing_Frm"), WindowState::Normal);
  EXPECT_FALSE(ui.HasWindow("Nothing_Frm"));
}

TEST_F(QtUiTest, BusyPointerIsASwitchNotAStack) {
  ui.SetBusyPointer(true);
  ui.SetBusyPointer(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  // While a box is up the pointer is the arrow.
  WhenModal<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    box.buttons().front()->click();
  });
  ui.MsgBox("確認", vbOKOnly, "TheKorvane");
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.SetBusyPointer(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtUiTest, JapaneseFacesAreDrawnWithAnInstalledFamily) {
  std::vector<std::string> families = ui.FontFamilies();
  if (std::find(families.begin(), families.end(), "IPAMincho") == families.end())
    GTEST_SKIP() << "IPAMincho is not installed";
  EXPECT_EQ(KvFont("ＭＳ 明朝", 10).family(), Q("IPAMincho"));
  EXPECT_EQ(KvFont("標準ゴシック", 10).family(), Q("IPAGothic"));
  TextSize narrow = ui.TextExtent("ABCD", "ＭＳ 明朝", 10);
  TextSize wide = ui.TextExtent("見積書式", "ＭＳ 明朝", 10);
  TextSize twoLines = ui.TextExtent("見積書式\r\nAB", "ＭＳ 明朝", 10);
  EXPECT_GT(narrow.width, 0);
  EXPECT_GT(wide.width, narrow.width);
  EXPECT_EQ(twoLines.width, wide.width);
  EXPECT_EQ(twoLines.height, 2 * wide.height);
}

TEST_F(QtUiTest, ClipboardAndDocuments) {
  ui.SetClipboardText("見積\t100");
  EXPECT_EQ(ui.ClipboardText(), "見積\t100");
  EXPECT_FALSE(ui.OpenDocument("/nonexistent/help_v.chm"));
}

}  // namespace
}  // namespace kv
