#include "storage/mask_info_save_sys.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "core/record_file.h"
#include "platform/fs.h"
#include "state/base_text.h"
#include "state/column_defs.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/mask_info_write.h"
#include "storage/split_path.h"

namespace kv {

std::string BaseTextColumnFile(const ProgramState& st) {
  const SplitPathResult parts = SplitPath(st, st.KvTextPath);
  const std::string set = parts.folder.empty() ? parts.name : parts.folder + "/" + parts.name;
  return fs::ResolveNoCase(set + st.LevelExt[2]).string();
}

bool MaskInfoSaveSys(ProgramState& st, int first, int last, const MaskMarks& marks) {
  if (first < 1 || last > kMaxLevels || first > last) return false;
  const std::string path = BaseTextColumnFile(st);
  const int screen = MaskScreenIndex(st.XMASK[std::clamp(st.CurrentLevel, 1, kMaxLevels)]);

  std::string bytes;
  std::vector<std::string> problems;
  try {
    const RecordFile file(path, kDefRecordLen, RecordFileMode::ReadOnly);
    std::error_code ec;
    std::optional<std::string> whole = fs::ReadFileBytes(path, ec);
    if (!whole) throw RecordFileError(ec.message());
    bytes = std::move(*whole);
    for (int L = first; L <= last; ++L) {
      st.XMASK[L] = screen;
      if (st.DefColumnMap[L] < 1) {
        problems.push_back("第" + std::to_string(L) + "階層の列定義がありません。");
        continue;
      }
      DefRecordTable records;
      std::vector<int> recordNos;
      const int count = ReadColumnChain(file, L, st.DefColumnMap[L], records, problems, &recordNos);
      for (int c = 1; c <= count; ++c) {
        const char code = MaskCodeOf(marks(c));
        st.MaskDef[L][c][screen] = code;
        const size_t at =
            static_cast<size_t>(recordNos[c - 1] - 1) * kDefRecordLen + kDefMaskPos - 1 + screen;
        if (at < bytes.size()) bytes[at] = code;  // a record read is a whole record of the file
      }
    }
  } catch (const RecordFileError&) {
    WarnMsgBox(st, "基本TEXTファイル " + path +
                       " を読み込めません。マスクは基本TEXTに保存されませんでした。");
    return false;
  }

  std::error_code ec;
  if (!fs::WriteFileAtomic(path, bytes, ec)) {
    WarnMsgBox(st, "基本TEXTファイル " + path +
                       " に書き込めません。マスクは基本TEXTに保存されませんでした。\n" +
                       ec.message());
    return false;
  }
  const bool keys = MaskKeysWrite(st, st.AppPath + "/DAVIROV.INI", first, last);
  if (!problems.empty()) {
    std::string text =
        "基本TEXTファイル " + path + " に誤りがあります。読めた列のマスクだけを保存しました。";
    for (const std::string& p : problems) text += "\n" + p;
    WarnMsgBox(st, text);
    return false;
  }
  return keys;
}

}  // namespace kv
