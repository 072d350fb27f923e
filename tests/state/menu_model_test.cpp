// The menu tree is addressed by control name and index from every command, the
// toolbars and the floating windows: an index that moves or a caption that
// differs by a blank breaks them. The edition rules decide what a customer
// sees at all, and the busy lock must free exactly what it locked.
#include "state/menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/menu_rules.h"

namespace kv {
namespace {

std::vector<int> Indexes(EditorMenus& m, const char* name) {
  std::vector<int> out;
  for (MenuItem* item : m.Array(name)) out.push_back(item->index);
  return out;
}

TEST(EditorMenuTree, MenuBarInItsFixedOrderWithHiddenItemsInPlace) {
  EditorMenus m = EditorMenuTree();
  std::vector<std::string> names, captions;
  std::vector<bool> visible;
  for (const MenuItem& top : m.bar) {
    names.push_back(top.name);
    captions.push_back(top.caption);
    visible.push_back(top.visible);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Menu_1", "Menu_2", "Menu_3", "ObjectMenu", "Menu_7",
                                             "Tokusyu", "OutPutMenu", "OrderMenu", "Pack",
                                             "MenuHelp", "TEST", "TEST2"}));
  EXPECT_EQ(captions,
            (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "編集(&E)", "計算行(&C)", "挿入(&I)", "画面(&V)",
                                      "拡張機能(&T)", "出力表示(&O)", "発注書(&P)", "Pack",
                                      "ﾍﾙﾌﾟ(&H)", "TEST", "TEST2"}));
  EXPECT_EQ(visible, (std::vector<bool>{true, true, true, true, true, true, true, true, false, true,
                                        false, false}));
  // The calculation menu is element 3 of its own control array.
  EXPECT_NE(m.Find("Menu_3", 3), nullptr);
  EXPECT_EQ(m.Find("Menu_3"), nullptr);
}

TEST(EditorMenuTree, ArraysKeepTheirIndexesAndGaps) {
  EditorMenus m = EditorMenuTree();
  std::vector<int> file;
  for (int i = 0; i <= 23; ++i) file.push_back(i);
  EXPECT_EQ(Indexes(m, "Menu_1Sub"), file);
  EXPECT_EQ(Indexes(m, "Menu_2Sub"), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}));
  EXPECT_EQ(Indexes(m, "Menu_7Sub"),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(Indexes(m, "Tokusyusub"), (std::vector<int>{0,  1,  2,  3,  4,  5,  6,  10, 11, 12,
                                                        13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
  EXPECT_EQ(Indexes(m, "MaskGamen"), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Indexes(m, "PeparSerect"), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Indexes(m, "ZoomSub"), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Indexes(m, "DM_DISP"), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Indexes(m, "Line_Style"), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Indexes(m, "CoPrinPos"), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Indexes(m, "Menu_3Sub").size(), 24u);
}

TEST(EditorMenuTree, CaptionsShortcutsAndDesignStates) {
  struct Case {
    const char* name;
    int index;
    const char* caption;
    const char* shortcut;
    bool visible;
  };
  const Case cases[] = {
      {"Menu_1Sub", 1, "開く(&O)...", "", true},
      {"Menu_1Sub", 5, "ﾌｧｲﾙ削除(&D)", "", false},
      {"Menu_1Sub", 8, "-", "", false},
      {"Menu_1Sub", 17, "1", "", true},
      {"Menu_1Sub", 23, "Korvaneの終了(&X)", "", true},
      {"Menu_2Sub", 0, "元に戻す(&U)  ", "Ctrl+Z", true},
      {"Menu_2Sub", 3, "貼り付け(&P) ", "Ctrl+V", true},
      {"Menu_2Sub", 6, "行削除(&L)", "F7", true},
      {"Menu_2Sub", 7, "行挿入(&N)", "F8", true},
      {"Menu_2Sub", 12, "縦列複写", "", false},
      {"Menu_3Sub", 0, "合計表示 ON/OFF", "", true},
      {"Menu_3Sub", 6, "定義 ①", "", false},
      {"Menu_3Sub", 13, "大大    計(&X)", "", true},
      {"Menu_3Sub", 14, "大大大 計(&E)", "", true},
      {"Menu_3Sub", 20, "集計再計算(&V)", "Shift+F2", true},
      {"Menu_3Sub", 22, "全階層再計算(&R)", "Shift+F1", true},
      {"Menu_3Sub", 23, "構成比率計算(&H)", "", false},
      {"ObjectMenuSub", 2, "ファイルから作成(&F)...", "", true},
      {"PeparTypeMenu", -1, "印刷用紙指定(&P)", "", true},
      {"MaskGamen", 5, "画面６", "", true},
      {"Menu_7Sub", 2, "文字ﾌｫﾝﾄ(&F)", "", true},
      {"Menu_7Sub", 3, "Zoom", "", false},
      {"ZoomSub", 0, "200%", "", false},
      {"ZoomSub", 5, "100%標準", "", true},
      {"DM_DISP", 1, "階層 (縦)/上階層(見出し) 表示", "", true},
      {"Line_Style", 4, "太い実線", "", true},
      {"Menu_7Sub", 10, "上階層(計)表示", "", false},
      {"Menu_7Sub", 17, "拡張ﾂｰﾙﾊﾞｰ", "", true},
      {"Tokusyusub", 0, "自動改行指定 ", "", false},
      {"Tokusyusub", 1, "非印刷行の設定／解除(&U)", "", true},
      {"Tokusyusub", 22, "特殊印刷の設定(&P)...", "", true},
      {"PageRemakeMenu", 3, "予備", "", false},
      {"IME_Mode", -1, "MS_IMEの切替え", "", true},
      {"HelpUsage", -1, "ｷｰﾜｰﾄﾞで検索(&S)...", "", true},
      {"HelpVersion", -1, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "", true},
  };
  EditorMenus m = EditorMenuTree();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
    const MenuItem* item = m.Find(c.name, c.index);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->caption, c.caption);
    EXPECT_EQ(item->shortcut, c.shortcut);
    EXPECT_EQ(item->visible, c.visible);
    // A hidden item is disabled as well: nothing can ever choose it.
    if (!c.visible) {
      EXPECT_FALSE(item->enabled);
    }
  }
}

TEST(EditorMenuTree, CommandsAreChoosableOnlyOnceWired) {
  EditorMenus m = EditorMenuTree();
  EXPECT_FALSE(m.At("Menu_1Sub", 0).Choosable());
  EXPECT_TRUE(m.At("Menu_1").Choosable());        // the menu itself opens
  EXPECT_TRUE(m.At("Menu_7Sub", 0).Choosable());  // a submenu opens
  EXPECT_FALSE(m.At("MaskGamen", 0).Choosable());

  EXPECT_TRUE(m.SetReady("Menu_1Sub", kAllItems));
  EXPECT_TRUE(m.At("Menu_1Sub", 0).Choosable());
  EXPECT_FALSE(m.At("Menu_1Sub", 5).Choosable());  // hidden and disabled stays so
  EXPECT_TRUE(m.SetReady("MaskGamen", 2));
  EXPECT_TRUE(m.At("MaskGamen", 2).Choosable());
  EXPECT_FALSE(m.At("MaskGamen", 3).Choosable());
  EXPECT_FALSE(m.SetReady("NoSuchMenu", 0));
  EXPECT_THROW(m.At("Menu_2Sub", 11), std::out_of_range);
}

// Visibility by edition: kind, SpecialPrintSpec -> the items that change.
struct EditionCase {
  int kind;
  bool special;
  bool object, output, order;
  bool calc17, calc18, calc19, calc20;
  bool ext19, ext20, ext21, ext22;
};

class EditionMenus : public ::testing::TestWithParam<EditionCase> {};

TEST_P(EditionMenus, ShowTheItemsOfTheEdition) {
  const EditionCase& c = GetParam();
  EditorMenus m = EditorMenuTree();
  ApplyEditionMenus(m, c.kind, c.special);
  EXPECT_EQ(m.At("ObjectMenu").visible, c.object);
  EXPECT_EQ(m.At("OutPutMenu").visible, c.output);
  EXPECT_EQ(m.At("OrderMenu").visible, c.order);
  EXPECT_EQ(m.At("Menu_3Sub", 17).visible, c.calc17);
  EXPECT_EQ(m.At("Menu_3Sub", 18).visible, c.calc18);
  EXPECT_EQ(m.At("Menu_3Sub", 19).visible, c.calc19);
  EXPECT_EQ(m.At("Menu_3Sub", 20).visible, c.calc20);
  EXPECT_EQ(m.At("Tokusyusub", 19).visible, c.ext19);
  EXPECT_EQ(m.At("Tokusyusub", 20).visible, c.ext20);
  EXPECT_EQ(m.At("Tokusyusub", 21).visible, c.ext21);
  EXPECT_EQ(m.At("Tokusyusub", 22).visible, c.ext22);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditionMenus,
    ::testing::Values(
        //          kind sp   obj    out    ord    c17    c18    c19    c20    e19    e20    e21 e22
        EditionCase{1, false, false, false, false, true, true, true, true, false, true, true,
                    false},
        EditionCase{2, false, true, false, false, false, false, false, false, false, false, false,
                    false},
        EditionCase{3, false, false, true, true, true, true, true, true, false, true, true, false},
        // Kind 4 shows the expense row alone of the equipment rows.
        EditionCase{4, false, true, false, false, false, false, true, false, false, false, false,
                    false},
        // The special print decides the separator whatever the kind.
        EditionCase{1, true, false, false, false, true, true, true, true, true, true, true, true},
        EditionCase{2, true, true, false, false, false, false, false, false, true, false, false,
                    true},
        EditionCase{4, true, true, false, false, false, false, true, false, true, false, false,
                    true}),
    [](const ::testing::TestParamInfo<EditionCase>& info) {
      return "Kind" + std::to_string(info.param.kind) + (info.param.special ? "SpecialPrint" : "");
    });

TEST(BusyLockMenus, LocksTheCommandMenusAndLeavesTheOthers) {
  EditorMenus m = EditorMenuTree();
  BusyLockMenus(m, 2, true);
  for (const char* name : {"Menu_1", "Menu_2", "ObjectMenu", "Menu_7", "Tokusyu", "MenuHelp"})
    EXPECT_FALSE(m.At(name).enabled) << name;
  EXPECT_FALSE(m.At("Menu_3", 3).enabled);
  EXPECT_TRUE(m.At("OutPutMenu").enabled);
  EXPECT_TRUE(m.At("OrderMenu").enabled);
  // Two locks, one release: everything is free again (a flag, not a count).
  BusyLockMenus(m, 2, true);
  BusyLockMenus(m, 2, false);
  for (const char* name : {"Menu_1", "Menu_2", "ObjectMenu", "Menu_7", "Tokusyu", "MenuHelp"})
    EXPECT_TRUE(m.At(name).enabled) << name;
  EXPECT_TRUE(m.At("Menu_3", 3).enabled);
}

TEST(BusyLockMenus, InsertMenuKeepsItsStateOutsideKindsTwoAndFour) {
  EditorMenus m = EditorMenuTree();
  m.At("ObjectMenu").enabled = false;
  BusyLockMenus(m, 1, false);
  EXPECT_FALSE(m.At("ObjectMenu").enabled);
  m.At("ObjectMenu").enabled = true;
  BusyLockMenus(m, 3, true);
  EXPECT_TRUE(m.At("ObjectMenu").enabled);
  EXPECT_FALSE(m.At("Menu_1").enabled);
}

TEST(MenuCaptions, RecentEstimatesShortenedAndEmptyEntriesShowTheirDigit) {
  EditorMenus m = EditorMenuTree();
  std::array<std::string, 6> recent;
  recent[1] = "1 /home/user/estimates/a.YZH";
  recent[2] = "2";
  recent[3] = "3 /home/user/very/long/folder/names/that/go/on/and/on/estimate.YZH";
  RecentMenuCaptions(m, recent);
  EXPECT_EQ(m.At("Menu_1Sub", 17).caption, "1 /home/user/estimates/a.YZH");
  EXPECT_EQ(m.At("Menu_1Sub", 18).caption, "2");
  const std::string& shortened = m.At("Menu_1Sub", 19).caption;
  EXPECT_LE(shortened.size(), 32u);
  EXPECT_NE(shortened.find("..."), std::string::npos);
  EXPECT_NE(shortened.find("estimate.YZH"), std::string::npos);
  EXPECT_EQ(m.At("Menu_1Sub", 20).caption, "4");
  EXPECT_EQ(m.At("Menu_1Sub", 21).caption, "5");
}

TEST(MenuCaptions, MaskScreensTakeTheirNamesAndTheFirstIsChecked) {
  EditorMenus m = EditorMenuTree();
  m.At("MaskGamen", 4).checked = true;
  MaskMenuCaptions(m, {"全項目", "金額", "数量", "単価", "備考", "予備"});
  EXPECT_EQ(m.At("MaskGamen", 0).caption, "全項目");
  EXPECT_EQ(m.At("MaskGamen", 5).caption, "予備");
  EXPECT_TRUE(m.At("MaskGamen", 0).checked);
  EXPECT_FALSE(m.At("MaskGamen", 4).checked);
}

TEST(MenuCaptions, ZoomFontAndLevelDisplay) {
  EXPECT_EQ(ZoomMenuCaption(100), "ｽﾞｰﾑ設定値= 100%");
  EXPECT_EQ(ZoomMenuCaption(70), "ｽﾞｰﾑ設定値= 70%");
  EXPECT_EQ(FontMenuCaption("ＭＳ 明朝"), "ﾌｫﾝﾄ=ＭＳ 明朝");
  EXPECT_EQ(LevelDisplayItem("縦"), 1);
  EXPECT_EQ(LevelDisplayItem("縦計"), 2);
  EXPECT_EQ(LevelDisplayItem("横"), 3);
  EXPECT_EQ(LevelDisplayItem("縦 "), 3);
}

TEST(FontChoice, NumbersTheFixedFacesThenTheScreenFonts) {
  const std::vector<std::string> screen{"@IPAMincho", "IPAMincho", "ＭＳ 明朝", "IPAGothic",
                                        "@Foo"};
  EXPECT_EQ(FontChoiceFor("標準明朝", screen).fontChoice, 0);
  EXPECT_EQ(FontChoiceFor("ＭＳ ゴシック", screen).fontChoice, 3);
  // "@" faces and the four fixed names do not count in the numbering.
  EXPECT_EQ(FontChoiceFor("IPAMincho", screen).fontChoice, 4);
  EXPECT_EQ(FontChoiceFor("IPAGothic", screen).fontChoice, 5);
  FontChoiceResult missing = FontChoiceFor("NoSuchFont", screen);
  EXPECT_EQ(missing.fontChoice, 2);
  EXPECT_EQ(missing.fontName, "ＭＳ 明朝");
  EXPECT_EQ(FontChoiceFor("", screen).fontName, "ＭＳ 明朝");
}

}  // namespace
}  // namespace kv
