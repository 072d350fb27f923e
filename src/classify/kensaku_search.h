#pragma once
// The text search as the search window runs it: the condition file
// KENSAKU.INI written from the search box or the compound conditions, the
// search over the work set (storage/string_search.h), and the result file
// KRESULT.INI read back into the window's hit tables, hit by hit.
//
// Texts: the search text and the compound conditions are display text
// (UTF-8); a hit's record is handed on as its Shift-JIS bytes; the path lines
// are display text.
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/string_search.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kSearchTitle = "文字列検索";
inline constexpr std::string_view kRefSearchCaption = "< 参考文字列検索 >";
inline constexpr int kHitNumberCount = 9;  // entries 0..8 of a number line: a level-8 hit needs nine
inline constexpr int kHitPathChars = 256;  // characters kept of a path line

// The search window's result tables; hit 0 is never used, hits are 1..1000.
struct KensakuHits {
  int HitCount = 0;
  // HitNums[hit][entry]: the number line of each hit, entries 0..8, each
  // within 16 bits (a number above 32767 is read as 32767).
  std::vector<std::array<int, kHitNumberCount>> HitNums =
      std::vector<std::array<int, kHitNumberCount>>(kMaxSearchHits + 1);
  // HitPaths[hit]: the path line, cut or padded with blanks to exactly 256
  // characters; indexes 0..1001.
  std::vector<std::string> HitPaths =
      std::vector<std::string>(kMaxSearchHits + 2, std::string(kHitPathChars, ' '));

  // HitNums created anew (all zero) and HitCount 0, as every search begins.
  void NewSearch();
  // HitPaths blanked, as the window does once when it loads.
  void BlankPaths();
};

// What the reader tells the window while it reads.
struct KensakuReadHooks {
  // The count label's new caption: " 1", " 3", ... while reading (odd
  // counts), then the final count.
  std::function<void(const std::string& caption)> ShowCount;
  // Hit `count` is in the tables; `record` is its row record (Shift-JIS, the
  // lines of the record joined by CR LF). The window adds the result row and
  // lets pending events run; false stops the reading after this hit.
  std::function<bool(int count, const std::string& record)> Hit;
};

enum class KensakuReadEnd {
  Complete,   // the file read to its end
  Capped,     // the file holds more than 1000 hits: the first 1000 read
  Truncated,  // the file ends inside a hit record: the hits before it read
  Missing,    // no file, or it cannot be read: no hits
  Stopped,    // the hook asked to stop
};

struct KensakuReadResult {
  int count = 0;
  KensakuReadEnd end = KensakuReadEnd::Complete;
};

// The reader of KRESULT.INI over its bytes, without a window: fills HitCount,
// HitNums and HitPaths of hits 1 .. count and calls the hooks.
KensakuReadResult ReadKensakuResult(std::string_view bytes, KensakuHits& hits, const KensakuReadHooks& hooks);
// The same over the file KRESULT.INI in the program folder.
KensakuReadResult ZGetKensakuResult(const ProgramState& st, KensakuHits& hits, const KensakuReadHooks& hooks);

// Writes KENSAKU.INI [検索条件] in the program folder for a simple search of
// `text` (KensakuCond entry 0 empty) or for the compound conditions of
// KensakuCond, with the byte positions of `level`. False when a key could not
// be written (the search must then not run on what the file held before).
bool ZMakeKensakuINI(ProgramState& st, const std::string& text, int level);

enum class KensakuStatus {
  Done,        // the hits are listed
  TooMany,     // more than 1000 found: the first 1000 listed
  Failed,      // nothing searched or nothing written: no hits listed; `reason` says why
  Damaged,     // a level file is damaged: the hits before the fault listed
  Incomplete,  // the result file ended inside a hit: the hits before it listed
  Stopped,     // the reading was stopped by the window (it is closing)
};

struct KensakuOutcome {
  KensakuStatus status = KensakuStatus::Done;
  int hits = 0;                // HitCount
  std::string reason;          // Failed: why, in words for the user
  std::filesystem::path file;  // Damaged: the level file
  LevelFileProblem problem;    // Damaged: the fault and its record
};

// ZMakeKensakuINI, StringSearch2 over the work base `target`, and
// ZGetKensakuResult, for a search of `text` at `level`. The tables are
// started anew (NewSearch) first; when the search fails they stay empty.
KensakuOutcome RunStringSearch(ProgramState& st, const std::string& text, int level, const std::string& target,
                               KensakuHits& hits, const KensakuReadHooks& hooks);

// The message that ends a search ("検索が終了しました", with the note on a
// list cut at 1000 hits or a result file cut short), or the failure:
// "検索できませんでした。" + CR + the reason (title "文字列検索"), or the
// level-file message for a damaged file. The floating windows are lowered
// around the box. Nothing is shown for a stopped search.
void KensakuEndShow(ProgramState& st, const KensakuOutcome& outcome);

// A search text holding a character Shift-JIS cannot hold is refused with
// "検索できない文字が含まれています: 「c」" (title "文字列検索"); true when
// refused. Display text in.
bool SearchTextRefused(ProgramState& st, std::string_view text);
// The first character of `text` that Shift-JIS cannot hold; "" when none.
std::string FirstCharOutsideSjis(std::string_view text);

}  // namespace kv
