// Feeds arbitrary bytes to the classification master's readers: the first
// bytes become the [仕訳画面] values (ROWSMAX, ITEMCNT, item widths), the rest
// the master file. Whatever the bytes, the settings are either refused with
// a key or usable (widths of at least 1 summing to at most 236), the lookup
// table holds at most 1001 entries in code order, and every record read,
// written back and read again gives the same items.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../../bench/quiet_ui.h"
#include "classify/siwake_master.h"
#include "core/sjis_text.h"
#include "state/program_state.h"
#include "state/siwake_code.h"

namespace {

std::filesystem::path Folder() {
  static const std::filesystem::path dir = [] {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvfuzz-siwake-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    return std::filesystem::path(tmpl);
  }();
  return dir;
}

std::string Number(const uint8_t* p) { return std::to_string(static_cast<int>(p[0]) - 16); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const std::filesystem::path dir = Folder();
  {
    std::ofstream ini(dir / "KVSSYS.INI", std::ios::binary | std::ios::trunc);
    ini << "[仕訳画面]\r\nSIWAKE1=M.DAT\r\nROWSMAX=" << (static_cast<int>(data[0]) * 5 - 10) << "\r\nITEMCNT="
        << Number(data + 1) << "\r\nITEM1=" << Number(data + 2) << "\r\nITEM2=" << Number(data + 3)
        << "\r\nITEM3=" << Number(data + 4) << "\r\nITEM4=" << Number(data + 5) << "\r\n";
  }
  const std::string file(reinterpret_cast<const char*>(data + 6), size - 6);
  std::ofstream(dir / "M.DAT", std::ios::binary | std::ios::trunc) << file;

  kv::SiwakeLayout layout;
  const std::string bad = kv::SiwakeLayoutRead(dir / "KVSSYS.INI", 1, layout);
  if (bad.empty()) {
    int sum = 0;
    for (int w : layout.itemWidth) {
      if (w < 1) std::abort();
      sum += w;
    }
    if (sum > kv::kMasterItemBytes || layout.rowsMax < 1 || layout.rowsMax > 1001) std::abort();
    const int count = kv::MasterRecordCount(static_cast<std::int64_t>(file.size()));
    for (int i = 0; i < count && i < 50; ++i) {
      const std::string rec = kv::MasterRecordAt(file, i);
      const auto items = kv::MasterRecordItems(rec, layout.itemWidth);
      for (const std::string& item : items) (void)kv::ToUnicodeStr(item);
      const std::string again = kv::MasterRecordBuild(i + 1, 0, items, layout.itemWidth);
      if (again.size() != 256) std::abort();
      const auto back = kv::MasterRecordItems(again, layout.itemWidth);
      for (size_t k = 0; k < items.size(); ++k)
        if (kv::MasterItemField(items[k], layout.itemWidth[k]) != back[k]) std::abort();
    }
  }

  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  st.AppPath = dir.string();
  kv::SiwakeItemRead(st, (dir / "M.DAT").string(), 1);
  const int n = st.CodeTableCounts[1];
  if (n < 0 || n > 1001 || static_cast<size_t>(n) > st.CodeTables[1].size()) std::abort();
  for (int i = 1; i < n; ++i)
    if (kv::SiwakeCodeCompare(st.CodeTables[1][size_t(i - 1)].code, st.CodeTables[1][size_t(i)].code) > 0)
      std::abort();
  return 0;
}
