#include "support/recording_services.h"

#include <algorithm>

namespace kv::test {

bool CallLog::Has(const std::string& c) const {
  return std::find(calls.begin(), calls.end(), c) != calls.end();
}

int CallLog::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

namespace {
std::string Args(std::initializer_list<std::string> a) {
  std::string s = "(";
  bool first = true;
  for (const auto& x : a) {
    if (!first) s += ",";
    s += x;
    first = false;
  }
  return s + ")";
}
std::string N(int v) { return std::to_string(v); }
}  // namespace

bool RecordingCalc::IsEquipmentSiwakeFile(ProgramState&, const std::string& workBase) {
  Add("IsEquipmentSiwakeFile" + Args({workBase}));
  return equipmentFile;
}
void RecordingCalc::SbClearDefinitions(ProgramState&) { Add("SbClearDefinitions()"); }
void RecordingCalc::SbLoadDefinitions(ProgramState&, const std::string& path) {
  Add("SbLoadDefinitions" + Args({path}));
}
bool RecordingCalc::RowFormulaOrderBuild(ProgramState&, int level) {
  Add("RowFormulaOrderBuild" + Args({N(level)}));
  return orderOk;
}
bool RecordingCalc::TotalFormulaOrderBuild(ProgramState&, int level) {
  Add("TotalFormulaOrderBuild" + Args({N(level)}));
  return orderOk;
}
void RecordingCalc::LevelCalc(ProgramState&, int level, std::string&, int row, int usedRows) {
  Add("LevelCalc" + Args({N(level), N(row), N(usedRows)}));
}
void RecordingCalc::RowFormulaCalc(ProgramState&, const LevelContext& ctx, std::string&, int changedCol) {
  Add("RowFormulaCalc" + Args({N(ctx.level), N(changedCol)}));
}
void RecordingCalc::RecalcFromTopLevel(ProgramState&, const std::string& workBase) {
  Add("RecalcFromTopLevel" + Args({workBase}));
}

void RecordingSheet::SheetGridInit(ProgramState&, int level) { Add("SheetGridInit" + Args({N(level)})); }
void RecordingSheet::SheetRedisplay(ProgramState&, int firstRow, int lastRow) {
  Add("SheetRedisplay" + Args({N(firstRow), N(lastRow)}));
}
void RecordingSheet::PageLinesDraw(ProgramState&) { Add("PageLinesDraw()"); }
void RecordingSheet::EditTreeBuild(ProgramState&) { Add("EditTreeBuild()"); }
void RecordingSheet::DMButtonsLayout(ProgramState&) { Add("DMButtonsLayout()"); }
void RecordingSheet::EdtSheet_Pos(ProgramState&) { Add("EdtSheet_Pos()"); }
void RecordingSheet::ShowParentLevelPath(ProgramState&) { Add("ShowParentLevelPath()"); }
void RecordingSheet::StatusPanelSet(ProgramState&, int panel, const std::string& text) {
  Add("StatusPanelSet" + Args({N(panel), text}));
}
void RecordingSheet::StatusPanelClear(ProgramState&, int panel) { Add("StatusPanelClear" + Args({N(panel)})); }
void RecordingSheet::StatusPageShow(ProgramState&, int row) { Add("StatusPageShow" + Args({N(row)})); }
void RecordingSheet::UndoSave(ProgramState&) { Add("UndoSave()"); }
void RecordingSheet::LevelJump(ProgramState&, int level) { Add("LevelJump" + Args({N(level)})); }
bool RecordingSheet::LevelSheetRecord(ProgramState&) {
  Add("LevelSheetRecord()");
  return recordResult;
}

void RecordingEditor::ToolBar1Init(ProgramState&) { Add("ToolBar1Init()"); }
void RecordingEditor::ToolBar2Init(ProgramState&) { Add("ToolBar2Init()"); }
void RecordingEditor::ShowToolBar2(ProgramState&, bool visible) {
  Add("ShowToolBar2" + Args({visible ? "1" : "0"}));
}
void RecordingEditor::ToolBarStateSet(ProgramState&, bool busy) {
  Add("ToolBarStateSet" + Args({busy ? "1" : "0"}));
}
void RecordingEditor::PageNumbersWrite(ProgramState&) { Add("PageNumbersWrite()"); }
void RecordingEditor::SetCaption(ProgramState&, const std::string& caption) {
  Add("SetCaption" + Args({caption}));
}
void RecordingEditor::MaskMenuCaptionSet(ProgramState&) { Add("MaskMenuCaptionSet()"); }
void RecordingEditor::Form_Resize(ProgramState&) { Add("Form_Resize()"); }

void RecordingPrint::MPrintInfoWrite(ProgramState&) {
  Add("MPrintInfoWrite()");
}
void RecordingPrint::FillPaperCombo(ProgramState&) { Add("FillPaperCombo()"); }
void RecordingPrint::UpdatePaperMenu(ProgramState&) { Add("UpdatePaperMenu()"); }

void RecordingClassify::SiwakeItemRead(ProgramState&, const std::string& path, int number) {
  Add("SiwakeItemRead" + Args({path, N(number)}));
}

void RecordingReference::Unload(ProgramState&) { Add("Unload()"); }

}  // namespace kv::test
