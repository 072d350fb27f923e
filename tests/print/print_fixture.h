#pragma once
// A program folder for the print tests: DAVIROV.INI with the print sections
// of seven forms, the limits file MTMPRNW.INI, a named estimate "EST" whose
// settings file is a copy of DAVIROV.INI, the printer "Test Printer" current
// (its settings file made at first use), and stand-in print programs that
// record how they were started.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "storage/level_fixture.h"

namespace kv::test {

// One print form of the fixture's settings.
struct FixtureForm {
  const char* name;
  const char* display;
  int columns, rows, left, top, spacing;
  const char* pageFormat;
};

inline const FixtureForm kFixtureForms[7] = {
    {"A4縦", "Ａ４縦", 96, 2, 4, 4, 2, "A4縦"},     {"A4横", "Ａ４横", 136, 3, 4, 4, 2, "A4横"},
    {"B4縦", "Ｂ４縦", 116, 30, 4, 4, 2, "B4縦"},   {"B4横", "Ｂ４横", 164, 20, 4, 4, 2, "B4横"},
    {"A3縦", "Ａ３縦", 136, 36, 4, 4, 2, "A3縦"},   {"連続用紙", "連続", 136, 24, 4, 4, 2, "A3横"},
    {"B5縦", "Ｂ５縦", 80, 20, 4, 4, 2, "B5縦"}};

// The print sections of a settings file over these forms.
inline std::string PrintSettingsText(const std::string& companyName = "本社") {
  std::string t = "[Boot]\r\nDataLen=256\r\n";
  t += "[PrintInformation]\r\nCompanyNameFlag=-1\r\nPrnPageNoFlag=-1\r\nKoujiNameFlag=0\r\nKoujiNamePos=左\r\n";
  t += "CompanyName=" + companyName + "\r\nPageFormat=No.&P\r\nNamePosition=右\r\n";
  t += "[枠線スタイル]\r\n項目欄隔線非描画=0\r\n項目欄下線幅=1\r\n合計行上線幅=1\r\nSp999w=0\r\nTop=2\r\nBottom=2\r\n"
       "Left=2\r\nRight=2\r\n";
  t += "[印刷タイプ]\r\nPrnTypeNo=1\r\n";
  t += "[印刷書式]\r\n";
  for (int n = 1; n <= 7; ++n) t += std::to_string(n) + "=" + kFixtureForms[n - 1].name + "\r\n";
  auto table = [&t](const char* section, auto value) {
    t += std::string("[") + section + "]\r\n";
    for (const FixtureForm& f : kFixtureForms) t += std::string(f.name) + "=" + value(f) + "\r\n";
  };
  table("印刷名称", [](const FixtureForm& f) { return std::string(f.display); });
  table("印刷桁数", [](const FixtureForm& f) { return std::to_string(f.columns); });
  table("印刷件数", [](const FixtureForm& f) { return std::to_string(f.rows); });
  table("左マージン", [](const FixtureForm& f) { return std::to_string(f.left); });
  table("上マージン", [](const FixtureForm& f) { return std::to_string(f.top); });
  table("最左スペーシング", [](const FixtureForm& f) { return std::to_string(f.spacing); });
  table("ページフォーマット", [](const FixtureForm& f) { return std::string(f.pageFormat); });
  t += "[特殊仕様印刷]\r\nOrviKenPrn=0\r\nOrviSUU=2\r\nOrviTANKA=2\r\n";
  return ToSjis(t);
}

class PrintFixture : public LevelFixture {
 protected:
  void SetUp() override {
    LevelFixture::SetUp();
    std::filesystem::create_directories(app.path() / "DATA");
    app.Write("DAVIROV.INI", PrintSettingsText());
    app.Write("WORK/EST.INI", PrintSettingsText());
    app.Write("MTMPRNW.INI", ToSjis("[A4縦]\r\n桁=100\r\n行=70\r\n[A4横]\r\n桁=140\r\n行=50\r\n"));
    st.CurrentPrinterName = "Test Printer";
    st.FontName = "ＭＳ 明朝";
    LoadRecord();
  }

  // The record as DataIniLoad would have it from DAVIROV.INI.
  void LoadRecord() {
    st.PrnTypeNo = 1;
    st.CompanyNameFlag = st.PrnPageNoFlag = -1;
    st.KoujiNameFlag = 0;
    st.KoujiNamePos = "左";
    st.CompanyName = "本社";
    st.PageFormat = "No.&P";
    st.NamePosition = "右";
    st.ItemSepLineOff = 0;
    st.ItemUnderlineWidth = st.TotalOverlineWidth = 1;
    st.Sp999w = 0;
    st.FrameWidth = 2;
    for (size_t n = 1; n <= 7; ++n) {
      const FixtureForm& f = kFixtureForms[n - 1];
      st.PrintFormSections[n] = f.name;
      st.PrintFormNames[n] = f.display;
      st.PrintColumns[n] = f.columns;
      st.PrintRows[n] = f.rows;
      st.LeftMargins[n] = f.left;
      st.TopMargins[n] = f.top;
      st.LeftSpacings[n] = f.spacing;
      st.PageFormats[n] = f.pageFormat;
    }
  }

  std::string EstimateIni() const { return st.WorkFileBase + ".INI"; }
  std::string PrinterIni() const { return st.AppPath + "/Test Printer.INI"; }
  std::string TemplateIni() const { return st.AppPath + "/DAVIROV.INI"; }

  static std::string Get(const std::string& file, const std::string& section, const std::string& key) {
    std::string value;
    IniGetString(section, key, value, file);
    return value;
  }

  std::string FileText(const std::string& name) const {
    std::ifstream in(app.path() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // An executable stand-in in the program folder: a shell script that runs
  // `body` in the folder it was started in (its first argument in $1).
  void StandIn(const std::string& name, const std::string& body) const {
    const std::filesystem::path p = app.Write(name, "#!/bin/sh\n" + body + "\n");
    ::chmod(p.c_str(), 0755);
  }

  // A three-level estimate: level 1 rows 1..5 (row 1 owns a breakdown of two
  // rows), a closing record; the page numbers written for the current form.
  void ThreeRowsEstimate() {
    WriteLevel(1, {{' ', 0, 2, 1, "T1"}, {' ', 0, 3, kNoRecord, "T2"}, {' ', 0, 4, kNoRecord, "T3"},
                   {' ', 0, 5, kNoRecord, "T4"}, {' ', 0, 6, kNoRecord, "T5"}, {'G', 0, kNoRecord}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, "B1", '@'}, {' ', 0, 3, kNoRecord, "B2"}, {'G', 0, kNoRecord}});
    WriteLevel(3, {{'G', 0, kNoRecord}});
  }
};

}  // namespace kv::test
