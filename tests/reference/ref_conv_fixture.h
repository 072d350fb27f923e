#pragma once
// A reference of another column layout beside the editor's estimate: layout
// files written line by line, a conversion rule between the two, and the
// reference's level files in WORK2.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "reference/ref_field_conv.h"
#include "reference/ref_fixture.h"

namespace kv::test {

struct LayoutCol {
  std::string heading;  // display text
  std::string type;     // type code
  int decimals = 0;
  int width = 0;
};

inline std::string FileBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

class RefConvFixture : public RefFixture {
 protected:
  // The editor's level-1 fields: 名称 C 20/7, 数量 N 27/8.2, 摘要 C 35/10,
  // 単価 N 45/6.0, 備考 C 51/5.
  const std::vector<LayoutCol> editCols = {
      {"名称", "C", 0, 7}, {"数量", "2", 2, 8}, {"摘要", "C", 0, 10}, {"単価", "0", 0, 6}, {"備考", "C", 0, 5}};
  // The reference's: 品名 C 20/8, 数量 N 28/10.0, 説明 C 38/15.
  const std::vector<LayoutCol> refCols = {{"品名", "C", 0, 8}, {"数量", "1", 0, 10}, {"説明", "C", 0, 15}};

  // A layout file whose every level has `cols`.
  static std::string LayoutOf(const std::vector<LayoutCol>& cols, int levels) {
    std::string text;
    for (int l = 1; l <= levels; ++l) {
      text += "DM=" + std::to_string(l) + "\r\n";
      for (const LayoutCol& c : cols)
        text += J(c.heading.c_str()) + "\t" + c.type + "\t" + std::to_string(c.decimals) + "\t" +
                std::to_string(c.width) + "\t\t\t\t\r\n";
    }
    return text;
  }
  void WriteText(const std::filesystem::path& p, const std::string& text) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
  }
  void WriteLayouts() {
    WriteText(st.WorkFileBase + ".Y$", LayoutOf(editCols, 3));
    WriteText(Work2() / "R.Y$", LayoutOf(refCols, 3));
    st.RefWorkFileBase = (Work2() / "R").string();
    st.RefFilePath = (app.path() / "DATA" / "R.YZH").string();
    st.RefWorkFolderName = "/WORK2";
  }

  static RefField F(const char* name, const char* type, int decimals, int offset, int width) {
    return RefField{name, type, decimals, offset, width};
  }
  RefConvRule Rule() const {
    RefConvRule rule;
    rule.m = {F("名称", "C", 0, 20, 7), F("数量", "N", 2, 27, 8), F("摘要", "C", 0, 35, 10), F("単価", "N", 0, 45, 6),
              F("備考", "C", 0, 51, 5)};
    rule.r = {F("品名", "C", 0, 20, 8), F("数量", "N", 0, 28, 10), F("説明", "C", 0, 38, 15)};
    rule.map = {0, 1, 2, -1, -1};
    return rule;
  }

  // A reference record in its own layout (bytes from 20: 品名 8, 数量 10, 説明 15).
  static std::string RefText(const std::string& name, const std::string& qty, const std::string& note) {
    std::string t = name;
    t.resize(8, ' ');
    std::string q = qty;
    q.insert(0, q.size() < 10 ? 10 - q.size() : 0, ' ');
    return t + q + note;
  }
};

}  // namespace kv::test
