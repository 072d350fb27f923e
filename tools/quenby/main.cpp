// Quenby.exe: a stand-in of the outside project-information program. The
// editor starts it without arguments from the program folder and waits for
// it to end. It finds the open estimate's work set in WORK beside itself
// (the one work name, other than the untitled one, whose level-1 work file
// is there), shows the labels of SUBTITLE.DAT beside the values of
// "<work base>.YT" in a table, writes the values back with "保存" (50
// records of 40 bytes) and ends when its window closes.
//
// KORVANE_TOOL_MODE runs it without a window (for tests): "write" puts a
// fixed text into record 1 of the ".YT" and exits 0, "keep" exits 0 without
// writing, "fail" exits 1. Without a display it uses the offscreen platform.
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "editor/kouji_files.h"
#include "platform/fs.h"

namespace {

namespace stdfs = std::filesystem;

// What "write" puts into record 1.
constexpr const char* kWrittenText = "工事情報ツールで記入";

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.c_str()); }

// A fixed-width text as shown: without its trailing blanks (they are put
// back when the file is written).
QString Shown(const std::string& text) {
  const size_t end = text.find_last_not_of(' ');
  return Q(end == std::string::npos ? std::string() : text.substr(0, end + 1));
}

stdfs::path ProgramFolder() {
  std::error_code ec;
  stdfs::path self = stdfs::canonical("/proc/self/exe", ec);
  return ec ? stdfs::current_path() : self.parent_path();
}

// The level-1 extension of the work files: KVUTL.INI [階層表現拡張子] 1.
std::string LevelOneExt(const stdfs::path& folder) {
  std::string ext;
  kv::IniGetString("階層表現拡張子", "1", ext, kv::fs::ResolveNoCase(folder / "KVUTL.INI"));
  ext = std::string(kv::TrimBlanks(ext));
  return ext.empty() ? "Y1" : ext;
}

// The open estimate's work base (WORK/<work name>), or why there is none.
std::optional<std::string> FindWorkBase(const stdfs::path& folder, std::string& why) {
  const auto work = kv::fs::FindNoCase(folder, "WORK");
  const std::string ext = LevelOneExt(folder);
  std::set<std::string> names;
  if (work) {
    std::error_code ec;
    for (const stdfs::path& file : kv::fs::MatchingFiles(*work, "*." + ext, ec)) {
      std::string name = file.filename().string();
      name.erase(name.size() - ext.size() - 1);
      if (name.find("無題") == std::string::npos) names.insert(name);
    }
  }
  if (names.size() == 1) return (*work / *names.begin()).string();
  why = names.empty() ? "開いている見積の作業ファイルが WORK にありません。"
                      : "見積の作業ファイルが WORK に複数あります。どの見積か決められません。";
  return std::nullopt;
}

int WriteMode(const stdfs::path& folder) {
  std::string why;
  const auto base = FindWorkBase(folder, why);
  if (!base) {
    std::fprintf(stderr, "Quenby: %s\n", why.c_str());
    return 2;
  }
  kv::KoujiTexts values;
  kv::KoujiAsRead asRead;
  kv::YtRead(kv::YtPath(*base), values, &asRead);
  values[0] = kWrittenText;
  std::error_code ec;
  if (!kv::YtWrite(kv::YtPath(*base), values, ec, &asRead)) {
    std::fprintf(stderr, "Quenby: %s: %s\n", kv::YtPath(*base).c_str(), ec.message().c_str());
    return 1;
  }
  return 0;
}

class QuenbyWindow : public QWidget {
 public:
  QuenbyWindow(const stdfs::path& folder, std::string workBase) : workBase_(std::move(workBase)) {
    setWindowTitle(Q("工事情報"));
    kv::KoujiTexts labels;
    kv::SubtitleRead(kv::SubtitlePath(folder.string()), labels);
    kv::YtRead(kv::YtPath(workBase_), values_, &valuesRead_);

    table_ = new QTableWidget(kv::kKoujiRows, 2, this);
    table_->setHorizontalHeaderLabels({Q("項目名"), Q("内容")});
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < kv::kKoujiRows; ++r) {
      auto* label = new QTableWidgetItem(Shown(labels[size_t(r)]));
      label->setFlags(label->flags() & ~Qt::ItemIsEditable);
      table_->setItem(r, 0, label);
      table_->setItem(r, 1, new QTableWidgetItem(Shown(values_[size_t(r)])));
    }
    table_->resizeColumnToContents(0);

    auto* save = new QPushButton(Q("保存"), this);
    auto* close = new QPushButton(Q("閉じる"), this);
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(720, 560);
  }

 private:
  void Save() {
    // A row not edited keeps its text, and so its bytes as read.
    for (int r = 0; r < kv::kKoujiRows; ++r) {
      const QString text = table_->item(r, 1)->text();
      if (text != Shown(values_[size_t(r)])) values_[size_t(r)] = text.toUtf8().toStdString();
    }
    std::error_code ec;
    if (!kv::YtWrite(kv::YtPath(workBase_), values_, ec, &valuesRead_))
      QMessageBox::warning(this, Q("工事情報"),
                           Q("工事情報のファイル " + kv::YtPath(workBase_).string() + " に書き込めません。"));
  }

  std::string workBase_;
  kv::KoujiTexts values_;
  kv::KoujiAsRead valuesRead_;
  QTableWidget* table_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const char* modeEnv = std::getenv("KORVANE_TOOL_MODE");
  const std::string mode = modeEnv != nullptr ? modeEnv : "";
  if (mode == "fail") return 1;
  if (mode == "keep") return 0;
  const stdfs::path folder = ProgramFolder();
  if (mode == "write") return WriteMode(folder);

  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::string why;
  const auto base = FindWorkBase(folder, why);
  if (!base) {
    QMessageBox::warning(nullptr, Q("工事情報"), Q(why));
    return 2;
  }
  QuenbyWindow window(folder, *base);
  window.show();
  return app.exec();
}
