#include "editor/object_menu.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/ini_file.h"
#include "editor/edit_menu.h"
#include "editor/grid_events.h"
#include "platform/fs.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/compact_work_files.h"
#include "storage/file_command_steps.h"
#include "storage/sheet_objects.h"

namespace kv {

namespace {

namespace stdfs = std::filesystem;

bool Creates(int index) {
  return index == kObjectCreateItem || index == kObjectPasteItem || index == kObjectFromFileItem;
}

// A creating command may run: not on the totals line, and within both object limits.
bool MayCreate(EditorGrids& g) {
  ProgramState& st = g.st;
  if (st.CurrentRow == st.Imax + 1) {
    WarnMsgBox(st, kTotalsLineObjectRefusal);
    return false;
  }
  // The storage keeps the count of object files in the settings file; it is
  // read afresh, as another command may have changed it.
  if (IniGetInt("OLE", "OleFileCnt", st.WorkFileBase + ".INI") >= st.OleFileMax) {
    AskUser(st, kObjectLimitMessage, vbOKOnly);
    return false;
  }
  if (g.sheet.ItemCount() >= st.OleFilePicMax) {
    AskUser(st, kSheetObjectLimitMessage, vbOKOnly);
    return false;
  }
  return true;
}

// The cell area the active pane shows, in twips; 0 where the grid has no view.
void VisibleTwips(const GridModel& sheet, int& width, int& height) {
  const int zoom = std::max(1, sheet.Zoom());
  const int64_t px = std::max(0, sheet.PaneRect(0).right - sheet.CellsLeft(0));
  const int64_t py = std::max(0, sheet.BodyBottom() - sheet.BodyTop());
  width = int(std::min<int64_t>(INT_MAX, px * 100 / zoom * kTwipsPerGridUnit));
  height = int(std::min<int64_t>(INT_MAX, py * 100 / zoom * kTwipsPerGridUnit));
}

// Puts `data` at the cursor cell: a picture at its size, another file over
// the cell. False when the data is a picture that cannot be decoded, or no
// picture where only a picture is taken.
bool PlaceObject(EditorGrids& g, std::string data, bool pictureOnly) {
  const bool picture = LooksLikePicture(data);
  if (pictureOnly && !picture) return false;
  int width = 0, height = 0;
  if (picture) {
    const std::optional<ImageSize> size = g.st.ui.ImagePixelSize(data);
    if (!size) return false;
    int maxWidth = 0, maxHeight = 0;
    VisibleTwips(g.sheet, maxWidth, maxHeight);
    PictureTwips(size->width, size->height, maxWidth, maxHeight, width, height);
  }
  return g.sheet.CreateItem(g.sheet.CurrentCol(), g.sheet.CurrentRow(), std::move(data), width, height) > 0;
}

// The whole file; nullopt when it cannot be read, is empty or too large.
std::optional<std::string> ReadObjectFile(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = stdfs::file_size(path, ec);
  if (ec || size == 0 || size > kMaxObjectFileBytes) return std::nullopt;
  std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
  if (!bytes || bytes->empty() || bytes->size() > kMaxObjectFileBytes) return std::nullopt;
  return bytes;
}

void PlaceFile(EditorGrids& g, const std::string& path, bool pictureOnly) {
  std::optional<std::string> bytes = ReadObjectFile(path);
  if (!bytes || !PlaceObject(g, std::move(*bytes), pictureOnly))
    WarnMsgBox(g.st, std::string(kObjectFileUnreadable) + "\n" + path);
}

// Shows an open dialog; the chosen file is placed. A cancel does nothing.
void PlaceChosenFile(EditorGrids& g, const FileDialogRequest& req, bool pictureOnly) {
  const std::optional<std::string> path = g.st.ui.OpenFileDialog(req);
  if (path && !path->empty()) PlaceFile(g, *path, pictureOnly);
}

void CreatePicture(EditorGrids& g) {
  FileDialogRequest req;
  req.title = kPictureDialogTitle;
  req.filter = kPictureFilter;
  req.initDir = g.st.KVData;
  req.flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
  PlaceChosenFile(g, req, true);
}

void CreateFromFile(EditorGrids& g) {
  FileDialogRequest req;
  req.title = kObjectFileDialogTitle;
  req.initDir = g.st.KVData;
  req.flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
  PlaceChosenFile(g, req, false);
}

// The clipboard's picture, else the file its text names. A picture from the
// clipboard that cannot be decoded is left alone, as an empty clipboard is.
void PasteObject(EditorGrids& g) {
  std::string image = g.st.ui.ClipboardImage();
  if (!image.empty()) {
    PlaceObject(g, std::move(image), true);
    return;
  }
  if (const std::optional<std::string> path = ClipboardFilePath(g.st.ui.ClipboardText()))
    PlaceFile(g, *path, false);
}

void DeleteSelected(EditorGrids& g) {
  ProgramState& st = g.st;
  if (st.SelectedObjectItem < 1) return;
  g.sheet.DeleteItem(st.SelectedObjectItem);
  // The numbers after the deleted item moved down: the selection is the
  // grid's own again (none when the deleted item was the selected one), so
  // that a second delete cannot take an item the user never selected.
  st.SelectedObjectItem = g.sheet.SelectedItem();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path of a "file:" URL ("file:///p", "file://localhost/p", "file:/p"),
// its escapes decoded; "" for another host or a bad escape.
std::string FileUrlPath(std::string_view url) {
  std::string_view rest = url.substr(5);
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return {};
    std::string host(rest.substr(0, slash));
    std::transform(host.begin(), host.end(), host.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (!host.empty() && host != "localhost") return {};
    rest.remove_prefix(slash);
  }
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      path += rest[i];
      continue;
    }
    const int hi = i + 2 < rest.size() ? HexDigit(rest[i + 1]) : -1;
    const int lo = i + 2 < rest.size() ? HexDigit(rest[i + 2]) : -1;
    if (hi < 0 || lo < 0) return {};
    path += char(hi * 16 + lo);
    i += 2;
  }
  return path;
}

}  // namespace

std::optional<std::string> ClipboardFilePath(std::string_view text) {
  std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  const size_t a = line.find_first_not_of(" \t");
  if (a == std::string_view::npos) return std::nullopt;
  line = line.substr(a, line.find_last_not_of(" \t") - a + 1);
  std::string lower(line.substr(0, 5));
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  const std::string path = lower == "file:" ? FileUrlPath(line) : std::string(line);
  std::error_code ec;
  if (path.empty() || !stdfs::is_regular_file(path, ec)) return std::nullopt;
  return path;
}

void PictureTwips(int64_t widthPx, int64_t heightPx, int maxWidth, int maxHeight, int& width,
                  int& height) {
  int64_t w = std::max<int64_t>(1, widthPx) * kTwipsPerGridUnit;
  int64_t h = std::max<int64_t>(1, heightPx) * kTwipsPerGridUnit;
  // Shrinks side `a` to `limit`, the other side `b` in proportion.
  auto fit = [](int64_t limit, int64_t& a, int64_t& b) {
    if (a <= limit) return;
    b = std::max<int64_t>(1, int64_t(double(b) * double(limit) / double(a)));
    a = limit;
  };
  fit(maxWidth > 0 ? maxWidth : INT_MAX, w, h);
  fit(maxHeight > 0 ? maxHeight : INT_MAX, h, w);
  width = int(w);
  height = int(h);
}

void ObjectMenuSub_Click(EditorGrids& g, int index) {
  ProgramState& st = g.st;
  g.port.SheetFocus();
  MarkingModesOff(st);
  if (Creates(index) && !MayCreate(g)) return;
  const int before = g.sheet.ItemCount();
  switch (index) {
    case kObjectCreateItem: CreatePicture(g); break;
    case kObjectPasteItem: PasteObject(g); break;
    case kObjectFromFileItem: CreateFromFile(g); break;
    case kObjectDeleteItem: DeleteSelected(g); break;
    default: break;
  }
  const int after = g.sheet.ItemCount();
  if (after == before) return;
  st.SheetObjectCount = after;
  st.SheetModified = true;
  st.OleObjectsChanged = true;
}

void Pack_Click(ProgramState& st) { CompactWorkFiles(st, st.WorkFileBase); }

}  // namespace kv
