// Vorlet.exe: the cover tool the editor hands an estimate to. Started with the
// estimate's work base (the program folder's WORK folder and the work name,
// without extension) as its one argument; it reads the hand-off file
// Mp_Cover.Dat and the estimate settings copy KVSYSTEM.INI beside itself and
// shows the cover sheet "表紙": 件名 (record 1 of the work base's ".YT"),
// 宛先, 提出日 (today) and 会社名 ([PrintInformation] CompanyName). "保存"
// writes the cover file <work base>.WH2, "閉じる" ends the program.
//
// The cover file: Shift-JIS text in settings-file form, CR LF lines,
//   [Cover]
//   Title=...  To=...  Date=...  Company=...
//
// KORVANE_TOOL_MODE runs it without a window: "write" writes the cover file
// from the hand-off files and exits 0, "keep" exits 0 without writing, "fail"
// exits 1. Without a display the window goes to the offscreen platform.
#include <QApplication>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "platform/fs.h"

namespace {

namespace stdfs = std::filesystem;

constexpr int kYtRecordBytes = 40;

struct Cover {
  std::string title;
  std::string to;
  std::string date;
  std::string company;
};

// The folder this program lies in: the program folder of the editor.
stdfs::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  stdfs::path self = stdfs::read_symlink("/proc/self/exe", ec);
  if (ec) self = stdfs::absolute(argv0, ec);
  return self.parent_path();
}

std::string Trimmed(std::string s) {
  const auto blank = [](char c) { return c == ' ' || c == '\0' || c == '\t'; };
  while (!s.empty() && blank(s.back())) s.pop_back();
  size_t i = 0;
  while (i < s.size() && blank(s[i])) ++i;
  return s.substr(i);
}

// Record 1 of the project information (".YT"), "" when there is none.
std::string ProjectName(const std::string& workBase) {
  std::error_code ec;
  std::optional<std::string> bytes = kv::fs::ReadFileBytes(kv::fs::ResolveNoCase(workBase + ".YT"), ec);
  if (!bytes) return {};
  return Trimmed(kv::FromSjis(bytes->substr(0, kYtRecordBytes)));
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[16];
  std::strftime(text, sizeof text, "%Y/%m/%d", &tm);
  return text;
}

// The cover as the hand-off files give it.
Cover CoverFromHandOff(const stdfs::path& folder, const std::string& workBase) {
  Cover c;
  c.title = ProjectName(workBase);
  c.date = Today();
  kv::IniGetString("PrintInformation", "CompanyName", c.company, folder / "KVSYSTEM.INI");
  return c;
}

// True when the hand-off file names an estimate.
bool HandOffPresent(const stdfs::path& folder) {
  std::string prnFile;
  kv::IniGetString("WinPrint", "PRNFILE", prnFile, folder / "Mp_Cover.Dat");
  return !prnFile.empty();
}

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return kv::ToSjis(s);
}

bool WriteCover(const std::string& workBase, const Cover& c) {
  const std::string text = "[Cover]\r\nTitle=" + OneLine(c.title) + "\r\nTo=" + OneLine(c.to) +
                           "\r\nDate=" + OneLine(c.date) + "\r\nCompany=" + OneLine(c.company) + "\r\n";
  std::error_code ec;
  return kv::fs::WriteFileAtomic(kv::fs::ResolveNoCase(workBase + ".WH2"), text, ec);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

int ShowWindow(int argc, char** argv, const std::string& workBase, const Cover& start) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("表紙"));
  auto* title = new QLineEdit(Q(start.title));
  auto* to = new QLineEdit(Q(start.to));
  auto* date = new QLineEdit(Q(start.date));
  auto* company = new QLineEdit(Q(start.company));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("件名"), title);
  form->addRow(QStringLiteral("宛先"), to);
  form->addRow(QStringLiteral("提出日"), date);
  form->addRow(QStringLiteral("会社名"), company);
  auto* save = new QPushButton(QStringLiteral("保存"));
  auto* close = new QPushButton(QStringLiteral("閉じる"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(&window);
  layout->addLayout(form);
  layout->addLayout(buttons);
  QObject::connect(save, &QPushButton::clicked, &window, [&] {
    const Cover c{title->text().toStdString(), to->text().toStdString(), date->text().toStdString(),
                  company->text().toStdString()};
    if (!WriteCover(workBase, c))
      QMessageBox::warning(&window, QStringLiteral("表紙"),
                           QStringLiteral("表紙ファイルを書き込めません。\n") + Q(workBase + ".WH2"));
  });
  QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
  window.resize(420, window.sizeHint().height());
  window.show();
  window.raise();
  window.activateWindow();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: Vorlet.exe <work base>\n";
    return 2;
  }
  const std::string workBase = argv[1];
  const stdfs::path folder = ProgramFolder(argv[0]);
  const char* modeEnv = std::getenv("KORVANE_TOOL_MODE");
  const std::string mode = modeEnv ? modeEnv : "";
  if (mode == "fail") return 1;
  if (mode == "keep") return 0;
  const Cover cover = CoverFromHandOff(folder, workBase);
  if (mode == "write") {
    if (!HandOffPresent(folder)) {
      std::cerr << "Vorlet.exe: no estimate in " << (folder / "Mp_Cover.Dat").string() << "\n";
      return 2;
    }
    return WriteCover(workBase, cover) ? 0 : 3;
  }
  return ShowWindow(argc, argv, workBase, cover);
}
