#pragma once
// The Insert menu (`ObjectMenuSub`) of the editor window and its hidden Pack
// item. The sheet's embedded objects are the grid's items: pictures (drawn)
// and other files (kept byte for byte). A change of their number is flagged
// here; the storage writes the sheet's object file when the sheet is left or
// the estimate saved.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct EditorGrids;
struct ProgramState;
class GridModel;

// Item indexes of the Insert menu.
inline constexpr int kObjectCreateItem = 0;
inline constexpr int kObjectPasteItem = 1;
inline constexpr int kObjectFromFileItem = 2;
inline constexpr int kObjectDeleteItem = 4;
inline constexpr int kObjectMenuItems[] = {kObjectCreateItem, kObjectPasteItem, kObjectFromFileItem,
                                           kObjectDeleteItem};

inline constexpr const char* kTotalsLineObjectRefusal = "合計行にはオブジェクトを挿入することが出来ません。";
inline constexpr const char* kSheetObjectLimitMessage = "もうこれ以上 OLE Data を挿入することが出来ません。";
inline constexpr const char* kObjectFileUnreadable = "ファイルを読み込めません。";
// The open dialogs of the create (pictures) and create-from-file items.
inline constexpr const char* kPictureDialogTitle = "オブジェクトの作成";
inline constexpr const char* kPictureFilter =
    "画像ファイル (*.png;*.jpg;*.jpeg;*.bmp;*.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.gif";
inline constexpr const char* kObjectFileDialogTitle = "挿入オブジェクトを開く";
// A file larger than this is not taken into a sheet (it would be held in
// memory and in every save of the estimate).
inline constexpr std::uintmax_t kMaxObjectFileBytes = 20u * 1024 * 1024;

// The Insert menu's command `index`: the sheet grid takes the focus and the
// non-print marking modes end. The creating items 0..2 are refused on the
// totals line, when [OLE] OleFileCnt of the estimate settings file has
// reached `OleFileMax`, and when the sheet holds `OleFilePicMax` objects.
//  0: a picture file chosen in an open dialog (PNG, JPEG, BMP, GIF);
//  1: the picture on the clipboard, else the file the clipboard's text
//     names (a path or a file URL), else nothing;
//  2: any file chosen in the "挿入オブジェクトを開く" dialog (in `KVData`);
//  4: the selected object deleted (nothing when none is selected).
// A new object sits at the cursor cell: a picture at its own size (15 twips
// a pixel) made smaller, in proportion, to fit the visible part of the
// sheet; another file covers the cell. A file that cannot be read, is empty
// or larger than kMaxObjectFileBytes, or a picture that cannot be decoded,
// gives "ファイルを読み込めません。" with the file's name and creates nothing.
// When the number of objects changed: `SheetObjectCount`, `SheetModified`,
// `OleObjectsChanged`.
void ObjectMenuSub_Click(EditorGrids& g, int index);

// The hidden Pack item: compacts the work files of the open estimate.
void Pack_Click(ProgramState& st);

// The file a clipboard text names: its first line as a path, or a "file:"
// URL decoded; nullopt when the text names no existing file.
std::optional<std::string> ClipboardFilePath(std::string_view text);

// The size, in twips, a picture of this pixel size is placed at: 15 twips a
// pixel, scaled down in proportion to fit within maxWidth × maxHeight twips
// (no limit where a maximum is 0 or less); at least 1 twip each way.
void PictureTwips(int64_t widthPx, int64_t heightPx, int maxWidth, int maxHeight, int& width,
                  int& height);

}  // namespace kv
