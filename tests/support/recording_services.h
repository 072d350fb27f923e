#pragma once
// Recording fakes of the neighbouring subsystems for tests: every call is
// appended to `calls` as "Name(args)" so a test can check what was asked and
// in which order.
#include <string>
#include <vector>

#include "state/calc_services.h"
#include "state/classify_services.h"
#include "state/editor_services.h"
#include "state/print_services.h"
#include "state/reference_services.h"
#include "state/sheet_services.h"

namespace kv::test {

struct CallLog {
  std::vector<std::string> calls;
  void Add(std::string c) { calls.push_back(std::move(c)); }
  bool Has(const std::string& c) const;
  int Count(const std::string& prefix) const;
};

class RecordingCalc : public CalcServices, public CallLog {
 public:
  bool equipmentFile = false;
  bool orderOk = true;
  bool IsEquipmentSiwakeFile(ProgramState&, const std::string& workBase) override;
  void SbClearDefinitions(ProgramState&) override;
  void SbLoadDefinitions(ProgramState&, const std::string& path) override;
  bool RowFormulaOrderBuild(ProgramState&, int level) override;
  bool TotalFormulaOrderBuild(ProgramState&, int level) override;
  void LevelCalc(ProgramState&, int level, std::string& closingRecord, int row, int usedRows) override;
  void RowFormulaCalc(ProgramState&, const LevelContext& ctx, std::string& rowRecord, int changedCol) override;
  void RecalcFromTopLevel(ProgramState&, const std::string& workBase) override;
};

class RecordingSheet : public SheetServices, public CallLog {
 public:
  bool recordResult = true;
  void SheetGridInit(ProgramState&, int level) override;
  void SheetRedisplay(ProgramState&, int firstRow, int lastRow) override;
  void PageLinesDraw(ProgramState&) override;
  void EditTreeBuild(ProgramState&) override;
  void DMButtonsLayout(ProgramState&) override;
  void EdtSheet_Pos(ProgramState&) override;
  void ShowParentLevelPath(ProgramState&) override;
  void StatusPanelSet(ProgramState&, int panel, const std::string& text) override;
  void StatusPanelClear(ProgramState&, int panel) override;
  void StatusPageShow(ProgramState&, int row) override;
  void UndoSave(ProgramState&) override;
  void LevelJump(ProgramState&, int level) override;
  bool LevelSheetRecord(ProgramState&) override;
};

class RecordingEditor : public EditorServices, public CallLog {
 public:
  void ToolBar1Init(ProgramState&) override;
  void ToolBar2Init(ProgramState&) override;
  void ShowToolBar2(ProgramState&, bool visible) override;
  void ToolBarStateSet(ProgramState&, bool busy) override;
  void PageNumbersWrite(ProgramState&) override;
  void SetCaption(ProgramState&, const std::string& caption) override;
  void MaskMenuCaptionSet(ProgramState&) override;
  void Form_Resize(ProgramState&) override;
};

class RecordingPrint : public PrintServices, public CallLog {
 public:
  void MPrintInfoWrite(ProgramState&) override;
  void FillPaperCombo(ProgramState&) override;
  void UpdatePaperMenu(ProgramState&) override;
};

class RecordingClassify : public ClassifyServices, public CallLog {
 public:
  void SiwakeItemRead(ProgramState&, const std::string& path, int number) override;
};

class RecordingReference : public ReferenceServices, public CallLog {
 public:
  std::string refFilePath;
  std::string RefFilePath(ProgramState&) override { return refFilePath; }
  void Unload(ProgramState&) override;
};

}  // namespace kv::test
