#pragma once
// A program folder with left-over jobs in WORK, built record by record, for
// the recovery tests; and the restored estimate read back out of DATA.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/packing.h"
#include "state/program_state.h"
#include "storage/level_fixture.h"
#include "storage/recovery_context.h"
#include "storage/recovery_engine.h"
#include "storage/row_record.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

namespace rfs = std::filesystem;

// Every file below a folder with its bytes.
inline std::map<std::string, std::string> FolderFiles(const rfs::path& folder) {
  std::map<std::string, std::string> files;
  if (!rfs::exists(folder)) return files;
  for (const auto& e : rfs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files[rfs::relative(e.path(), folder).string()] = ReadAll(e.path());
  return files;
}

// Writes UTF-8 settings text as the program keeps it (Shift-JIS, CR LF).
inline void WriteSettings(const rfs::path& p, const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::ofstream(p, std::ios::binary) << ToSjis(crlf);
}

class RecoveryFixture : public ::testing::Test {
 protected:
  TempFolder app;
  ScriptedUi ui;
  ProgramState st{ui};
  RecoveryContext ctx;
  std::vector<std::string> steps;
  std::vector<int> progress;

  void SetUp() override {
    rfs::create_directories(Work());
    WriteSettings(app / "KVUTL.INI",
                  "[DOS版見積DATA]\n構成ファイル数=11\n1=Y1\n2=Y2\n3=Y3\n4=Y4\n5=Y5\n6=Y6\n7=Y7\n8=Y8\n9=Y$\n"
                  "10=INI\n11=YT\n[WIN版見積DATA]\n構成ファイル数=1\n1=YZH\n[WIN版OLEDATA]\nOLEDATA=OPD\n");
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
    st.PackedExt = ".YZH";
    st.OleDataExt = "OPD";
    st.SystemKind = 2;
    // The current settings differ from the jobs' own on purpose: the engine
    // must read each job with its own record length and number base.
    st.DataLen = 512;
    st.H_Link = "16";
    ctx.Pause = [](int) {};
    ctx.ShowStep = [this](const std::string& s) { steps.push_back(s); };
    ctx.ShowProgress = [this](int p) { progress.push_back(p); };
  }

  rfs::path Work() const { return app / "WORK"; }
  rfs::path Data() const { return app / "DATA"; }

  // --- A job in WORK ---
  struct Job {
    std::string name;
    int dataLen = 256;
    bool hex = false;
  };

  std::string Make(const Job& job, const Rec& r) const {
    std::string rec(static_cast<size_t>(job.dataLen), ' ');
    rec[0] = r.mark;
    rec[2] = r.kind;
    SetLinkField(rec, kOwnPos, r.own, job.hex);
    SetLinkField(rec, kNextPos, r.next, job.hex);
    SetLinkField(rec, kChildPos, r.child, job.hex);
    rec.replace(19, r.text.size(), r.text);
    return rec;
  }

  // The job's settings file with its record length and number base.
  void WriteJobIni(const Job& job) const {
    WriteSettings(Work() / (job.name + ".INI"), "[Boot]\nDataLen=" + std::to_string(job.dataLen) +
                                                    "\nImax=200\nH_Link=" + (job.hex ? "16" : "10") + "\n");
  }

  // A level file of the job: record i is recs[i - 1]; own 0 = its position.
  void WriteJobLevel(const Job& job, int level, std::vector<Rec> recs) const {
    rfs::path p = Work() / (job.name + ".Y" + std::to_string(level));
    rfs::remove(p);
    RecordFile f(p, job.dataLen);
    for (size_t i = 0; i < recs.size(); ++i) {
      if (recs[i].own == 0) recs[i].own = static_cast<int>(i) + 1;
      f.PutRecordText(static_cast<int>(i) + 1, Make(job, recs[i]));
    }
    f.Close();
  }

  // A level-1 sheet of rows with texts, the closing record last; row i's
  // child is children[i] (kNoRecord when none or missing).
  std::vector<Rec> TopSheet(const std::vector<std::string>& texts, const std::vector<int>& children = {}) const {
    std::vector<Rec> recs;
    const int n = static_cast<int>(texts.size());
    for (int i = 0; i < n; ++i)
      recs.push_back({' ', 0, i + 2, i < static_cast<int>(children.size()) ? children[i] : kNoRecord, texts[i]});
    recs.push_back({'G', 0, kNoRecord, kNoRecord, "total"});
    return recs;
  }

  // A job with a settings file, a layout file and a level-1 sheet.
  Job SimpleJob(const std::string& name, const std::vector<std::string>& rows = {"row1", "row2"}) const {
    Job job{name};
    WriteJobIni(job);
    WriteFile(name + ".Y$", "DM=1\r\n");
    WriteJobLevel(job, 1, TopSheet(rows));
    return job;
  }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(Work() / name, std::ios::binary) << bytes;
  }

  // Runs the engine on a job.
  void Recover(const std::string& name) {
    ctx.RecWorkFolder = st.AppPath + "/WORK/";
    ctx.RecJobName = name;
    RecoveryDriver(st, ctx);
  }

  // --- The restored estimate ---
  // Unpacks DATA/<name>.YZH (and its object pack) into a fresh folder.
  rfs::path Unpacked(const std::string& name = "FILE001") {
    rfs::path out = app / ("unpacked-" + name);
    rfs::create_directories(out);
    PackFileSet set;
    set.PackedExt = ".YZH";
    set.OleDataExt = "OPD";
    set.CompFileExt = {".Y1", ".Y2", ".Y3", ".Y4", ".Y5", ".Y6", ".Y7", ".Y8", ".Y$", ".INI", ".YT"};
    EXPECT_EQ(MMelt(Data(), out, name, app.path(), set), kPackOk);
    EXPECT_EQ(MMeltOLEData(Data(), out, name, app.path(), set), kPackOk);
    return out;
  }

  // The records of a restored level file.
  static std::vector<std::string> Records(const rfs::path& file, int dataLen) {
    std::vector<std::string> out;
    if (!rfs::exists(file)) return out;
    RecordFile f(file, dataLen, RecordFileMode::ReadOnly);
    std::string rec;
    for (int n = 1; f.GetRecordText(n, rec); ++n) out.push_back(rec);
    return out;
  }

  static int Field(const std::string& rec, int pos, bool hex) { return BaseStrToNum(LinkField(rec, pos), hex); }
  static std::string Text(const std::string& rec) {
    std::string t = rec.substr(19, 10);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
  }

  // The texts of the sheet whose chain begins at `first` in a level file,
  // checking that the chain is numbered consecutively from `first`.
  static std::vector<std::string> Chain(const std::vector<std::string>& recs, int first, bool hex) {
    std::vector<std::string> texts;
    int expect = first;
    for (int n = first; n >= 1 && n <= static_cast<int>(recs.size()) && texts.size() <= recs.size();) {
      const std::string& rec = recs[static_cast<size_t>(n - 1)];
      EXPECT_EQ(Field(rec, kOwnPos, hex), expect);
      texts.push_back(Text(rec));
      n = Field(rec, kNextPos, hex);
      if (n != kNoRecord) {
        EXPECT_EQ(n, ++expect);
      }
    }
    return texts;
  }

  using Texts = std::vector<std::string>;
};

}  // namespace kv::test
