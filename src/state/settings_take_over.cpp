#include "state/settings_take_over.h"

#include <array>
#include <optional>
#include <system_error>
#include <utility>

#include "core/ini_parse.h"
#include "platform/fs.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/settings_files.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

// Keys of the estimate's settings file that are the estimate's own.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kOwnKeys{{
    {"OLE", "OleFileNo"},
    {"OLE", "OleFileCnt"},
    {"VEZ_File", "FileType"},
}};

}  // namespace

bool TakeCurrentSettings(ProgramState& st, const std::string& workBase) {
  bool ok = true;

  // The settings file: the current settings with the estimate's own keys.
  const std::string templatePath = st.AppPath + "/DAVIROV.INI";
  const auto estimatePath = fs::ResolveNoCase(workBase + ".INI");
  std::error_code ec;
  const auto current = fs::ReadFileBytes(fs::ResolveNoCase(templatePath), ec);
  if (!current) {
    WarnMsgBox(st, templatePath + " を読み込めません。\n" + ec.message());
    ok = false;
  } else {
    IniDocument merged(*current);
    std::error_code readEc;
    if (const auto own = fs::ReadFileBytes(estimatePath, readEc)) {
      const IniDocument estimate(*own);
      for (const auto& [section, key] : kOwnKeys)
        if (const auto value = estimate.Find(section, key)) merged.Set(section, key, *value);
    }
    if (!fs::WriteFileAtomic(estimatePath, merged.Bytes(), ec)) {
      WarnMsgBox(st, estimatePath.string() + " を作れません。\n" + ec.message());
      ok = false;
    }
  }

  // The layout file: the untitled estimate's.
  const std::string untitled = LayoutFilePath(st, st.AppPath + st.WorkFolderName + "/無題");
  if (!CopySettingsFile(st, untitled, LayoutFilePath(st, workBase))) ok = false;
  return ok;
}

}  // namespace kv
