#pragma once
// The print-information record and its three settings files: the estimate's
// settings file (E, `WorkFileBase`.INI, also while untitled), the current
// printer's settings file (P, AppPath/<PrinterKey>.INI) and the template
// DAVIROV.INI (T). Which routine reads and writes which key where:
//
//   reader / writer        keys                                  files, in order
//   ReadPrintInfo          CompanyName, PageFormat, NamePosition,  E (P while untitled)
//                          the five [枠線スタイル] keys
//   ReadPrintInfo          the per-form tables of forms 1..7      P
//   SavePrintType          [印刷タイプ] PrnTypeNo                  E, P, T
//   MPrintInfoWrite        thirteen set-up keys                   E, P, T for each key
//   detail dialog OK       columns, rows, margins, display name   E (all), P (all), T (all)
//   print job              PrnTypeNo, CompanyName (when changed)  P, E, T
//   print job              PrnPageNoFlag                          T
//
// Settings writes are not checked: a failed write leaves its file as it was.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;
struct PrintInfo;

// The three files' paths.
std::string EstimateIniPath(const ProgramState& st);
std::string PrinterIniPath(ProgramState& st);
std::string TemplateIniPath(const ProgramState& st);

// Writes one key into each of the files, in the order given (a file "" is
// skipped).
void IniPutEach(std::string_view section, std::string_view key, std::string_view value,
                const std::vector<std::string>& files);

// Reloads the printer-dependent part of the record after the current printer
// changed: the printer's settings file is made from DAVIROV.INI when missing;
// the company name, page-number format, name position and the five line
// keys come from the estimate's settings file (the printer's while the
// estimate is untitled), the seven forms' tables from the printer's file.
// `PrnTypeNo`, the three flags and `KoujiNamePos` stay as they are.
void ReadPrintInfo(ProgramState& st);

// The backup of the set-up dialog: the ten fields copied into
// `MPrintInfoBackup`, and back.
void MPrintInfoSave(PrintInfo& info);
void MPrintInfoMotoni(PrintInfo& info);

// The thirteen set-up keys of the record, each into E, P and T in this
// order ([印刷タイプ] PrnTypeNo; [PrintInformation] CompanyNameFlag,
// NamePosition, KoujiNameFlag, KoujiNamePos; [枠線スタイル] 項目欄下線幅,
// 合計行上線幅, Sp999w, and the frame width as Top, Bottom, Left, Right;
// [PrintInformation] PageFormat). The printer's file is not made here.
void MPrintInfoWrite(ProgramState& st);

}  // namespace kv
