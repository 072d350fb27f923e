#include "app/help_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {
namespace {

constexpr std::string_view kPlaceSection = "ヘルプ画面";

std::filesystem::path SysIniPath(const ProgramState& st) { return std::filesystem::path(st.AppPath) / "KVSSYS.INI"; }

// The window shown at `page`, or the message that the collection is missing.
void HelpShow(ProgramState& st, std::string_view page, bool index) {
  const std::string collection = HelpCollectionPath(st);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(collection, ec)) {
    WarnMsgBox(st, "ヘルプファイル [ " + collection + " ] がありません。");
    return;
  }
  if (st.help.Show) st.help.Show(std::string(page), index);
}

}  // namespace

std::string HelpCollectionPath(const ProgramState& st) {
  return fs::ResolveNoCase(std::filesystem::path(st.AppPath) / kHelpCollectionFile).string();
}

const std::vector<std::pair<std::string_view, std::string_view>>& HelpPageTable() {
  static const std::vector<std::pair<std::string_view, std::string_view>> table = {
      {"EDTSHEET_FRM", "index.html"},    {"SetOption", "options.html"},
      {"Font_Frm", "options.html"},      {"frmSelectFont", "options.html"},
      {"MskSheet_Frm", "options.html"},  {"UNIT2_Frm", "options.html"},
      {"frmKoujiSht", "files.html"},     {"frmP1SetUp", "print.html"},
      {"frmP2SetUp", "print.html"},      {"frmP3SetUp", "print.html"},
      {"RefSheet_Frm", "reference.html"}, {"RefLinkN", "reference.html"},
      {"SchSheet_Frm", "search.html"},   {"frmKensaku", "search.html"},
      {"KvSiwa_Frm", "classify.html"},
  };
  return table;
}

std::string_view HelpPageOf(std::string_view windowName) {
  for (const auto& [window, page] : HelpPageTable())
    if (window == windowName) return page;
  return kHelpContentsPage;
}

void HelpOpen(ProgramState& st) { HelpShow(st, kHelpContentsPage, false); }

void HelpOpen(ProgramState& st, std::string_view windowName) { HelpShow(st, HelpPageOf(windowName), false); }

void HelpIndexOpen(ProgramState& st) { HelpShow(st, kHelpContentsPage, true); }

void HelpClose(ProgramState& st) {
  if (st.ui.IsWindowLoaded(kHelpWindow)) st.ui.UnloadWindow(kHelpWindow);
}

std::optional<WindowRect> HelpWindowPlaceRead(const ProgramState& st, TextSize screen) {
  const std::filesystem::path ini = SysIniPath(st);
  WindowRect r{IniGetInt(kPlaceSection, "Left", ini), IniGetInt(kPlaceSection, "Top", ini),
               IniGetInt(kPlaceSection, "Width", ini), IniGetInt(kPlaceSection, "Height", ini)};
  // A missing key reads -1, a value that is no number 0.
  if (r.width <= 0 || r.height <= 0) return std::nullopt;
  if (screen.width > 0) r.width = std::min(r.width, screen.width);
  if (screen.height > 0) r.height = std::min(r.height, screen.height);
  const bool onScreen = (screen.width <= 0 || r.left < screen.width) && (screen.height <= 0 || r.top < screen.height) &&
                        std::int64_t{r.left} + r.width > 0 && std::int64_t{r.top} + r.height > 0;
  if (!onScreen) return std::nullopt;
  return r;
}

void HelpWindowPlaceSave(const ProgramState& st, const WindowRect& r) {
  const std::filesystem::path ini = SysIniPath(st);
  IniPutString(kPlaceSection, "Left", std::to_string(r.left), ini);
  IniPutString(kPlaceSection, "Top", std::to_string(r.top), ini);
  IniPutString(kPlaceSection, "Width", std::to_string(r.width), ini);
  IniPutString(kPlaceSection, "Height", std::to_string(r.height), ini);
}

}  // namespace kv
