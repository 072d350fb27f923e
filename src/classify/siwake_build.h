#pragma once
// The classification file build: every row of the open estimate that carries
// a code of the chosen classification, at whatever level, is gathered under
// its code into a new two-level estimate. Three steps, each true on success:
// CreateIndexDb makes a fresh index database (SYSIDX.MDB in the program
// folder), BuildSiwakeIndex walks the estimate's level work files and adds a
// row per coded row, MakeSiwakeFile reads the index in code order and writes
// the new estimate's level 1 and level 2 work files.
//
// Every refusal and failure tells the user why (the floating windows lowered
// around the box) and returns false; nothing of the open estimate is changed.
// The walk reads the level files with the checked chain reader; a damaged
// file stops it with the level-file message.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;
class IndexDbWriter;

// How the build reports progress and learns that it should stop.
struct SiwakeProgress {
  // The record being handled (its first 40 bytes, display text) for label 0
  // (rows walked, level-1 group rows) or label 1 (level-2 records).
  std::function<void(int label, const std::string& text)> Show;
  // Asked after every record: true stops the build, which returns false.
  std::function<bool()> StopAsked;
};

// The most index rows: 30000 with hexadecimal links, else 9800.
int SiwakeRowLimit(const ProgramState& st);

bool CreateIndexDb(ProgramState& st, int codeWidth, int nameWidth);
bool BuildSiwakeIndex(ProgramState& st, const std::string& sourceBase, int codeStart, int codeWidth, int nameStart,
                      int nameWidth, const SiwakeProgress& progress = {});
// Walks the sheet of `level` that begins at `record` (level 1: the whole
// file), adding the coded rows to `table` and descending into the breakdowns
// of uncoded rows. `record` becomes the last next link read.
bool AddIndexRecords(ProgramState& st, const std::string& sourceBase, int level, int& record, int codeStart,
                     int codeWidth, int nameStart, int nameWidth, IndexDbWriter& table,
                     const SiwakeProgress& progress = {});
bool MakeSiwakeFile(ProgramState& st, const std::string& targetBase, const std::string& sourceBase,
                    const SiwakeProgress& progress = {});

}  // namespace kv
