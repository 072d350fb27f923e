#pragma once
// A work set in a temporary program folder, with level files built record by
// record, for the tests of the level work files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "state/program_state.h"
#include "storage/row_record.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

// One record of a fixture: its kind, links and text (columns from byte 20).
struct Rec {
  char kind = ' ';
  int own = 0;
  int next = kNoRecord;
  int child = kNoRecord;
  std::string text;
  char mark = ' ';
};

class LevelFixture : public ::testing::Test {
 protected:
  TempFolder app;
  ScriptedUi ui;
  ProgramState st{ui};

  void SetUp() override { Configure(256, "10", 3); }

  // The program folder, its work folder and a named estimate "EST".
  void Configure(int dataLen, const std::string& hLink, int levelCount) {
    std::filesystem::create_directories(app.path() / "WORK");
    app.Write("DAVIROV.INI", "[Boot]\r\nDataLen=" + std::to_string(dataLen) + "\r\n");
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
    st.WorkFileBase = st.AppPath + "/WORK/EST";
    st.CurrentFilePath = st.AppPath + "/DATA/EST.YZH";
    st.DataLen = dataLen;
    st.Imax = 200;
    st.H_Link = hLink;
    st.LevelCount = levelCount;
    for (int i = 1; i <= 8; ++i) st.LevelExt[i] = ".Y" + std::to_string(i);
    st.PackedExt = ".YZH";
    // Two columns on every level: A at 20 (10 bytes), B at 30 (12 bytes).
    for (int l = 1; l <= 8; ++l) {
      st.ColCount[l] = 2;
      st.ColStart[l][1] = 20;
      st.ColWidth[l][1] = 10;
      st.ColStart[l][2] = 30;
      st.ColWidth[l][2] = 12;
      st.ColType[l][1] = "C";
      st.ColType[l][2] = "0";
    }
  }

  bool Hex() const { return IsHexBase(st.H_Link); }

  std::string Make(const Rec& r) const {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[0] = r.mark;
    rec[2] = r.kind;
    SetLinkField(rec, kOwnPos, r.own, Hex());
    SetLinkField(rec, kNextPos, r.next, Hex());
    SetLinkField(rec, kChildPos, r.child, Hex());
    rec.replace(19, r.text.size(), r.text);
    return rec;
  }

  std::filesystem::path LevelPath(int level, const std::string& base = "EST") const {
    return app.path() / "WORK" / (base + st.LevelExt[level]);
  }

  // Writes a level file: record i of the file is recs[i - 1]; a record with
  // own 0 gets its position as own number.
  void WriteLevel(int level, std::vector<Rec> recs, const std::string& base = "EST") const {
    std::filesystem::remove(LevelPath(level, base));
    RecordFile f(LevelPath(level, base), st.DataLen);
    for (size_t i = 0; i < recs.size(); ++i) {
      if (recs[i].own == 0) recs[i].own = static_cast<int>(i) + 1;
      f.PutRecordText(static_cast<int>(i) + 1, Make(recs[i]));
    }
    f.Close();
  }

  // `count` filler records that no chain reaches.
  std::vector<Rec> Filler(int count, const std::string& text = "old") const {
    std::vector<Rec> v(static_cast<size_t>(count));
    for (auto& r : v) r.text = text;
    return v;
  }

  std::vector<std::string> ReadLevel(int level, const std::string& base = "EST") const {
    std::vector<std::string> out;
    if (!std::filesystem::exists(LevelPath(level, base))) return out;
    RecordFile f(LevelPath(level, base), st.DataLen, RecordFileMode::ReadOnly);
    std::string rec;
    for (int n = 1; f.GetRecordText(n, rec); ++n) out.push_back(rec);
    return out;
  }

  // Stored-number fields of a record read back.
  int Own(const std::string& rec) const { return BaseStrToNum(LinkField(rec, kOwnPos), Hex()); }
  int Next(const std::string& rec) const { return BaseStrToNum(LinkField(rec, kNextPos), Hex()); }
  int Child(const std::string& rec) const { return BaseStrToNum(LinkField(rec, kChildPos), Hex()); }
  static std::string Text(const std::string& rec, int width = 10) { return rec.substr(19, width); }
  static std::string Pad(const std::string& s, int width = 10) {
    return s + std::string(static_cast<size_t>(width) - s.size(), ' ');
  }

  // Makes the parent path: ParentRows[level - 1] = record `record` of the
  // level above, read from its file.
  void SetParent(int level, int record) {
    st.ParentRows[level - 1] = ReadLevel(level - 1).at(static_cast<size_t>(record - 1));
  }

  // A row of the sheet in memory with text in column A.
  void SetRow(int row, const std::string& text, char kind = ' ') {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    rec.replace(19, text.size(), text);
    st.SheetRows[row] = rec;
  }
};

}  // namespace kv::test
