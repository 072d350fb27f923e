#pragma once
// frmVersion ("ﾊﾞｰｼﾞｮﾝ情報"): the about box with the version of the build;
// OK closes it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace kv {

class frmVersion : public QDialog {
 public:
  explicit frmVersion(QWidget* parent = nullptr);

  QLabel* Version() const { return version_; }
  QPushButton* Command1() const { return ok_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QLabel* version_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool firstShow_ = true;
};

}  // namespace kv
