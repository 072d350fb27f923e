#include "state/menu_model.h"

#include <stdexcept>
#include <utility>

namespace kv {

namespace {

MenuItem Item(std::string name, int index, std::string caption, std::string shortcut = {}) {
  MenuItem m;
  m.name = std::move(name);
  m.index = index;
  m.caption = std::move(caption);
  m.shortcut = std::move(shortcut);
  return m;
}

// Without a function: invisible and disabled, kept for its index.
MenuItem Hidden(std::string name, int index, std::string caption) {
  MenuItem m = Item(std::move(name), index, std::move(caption));
  m.visible = false;
  m.enabled = false;
  return m;
}

MenuItem Sub(MenuItem parent, std::vector<MenuItem> items) {
  parent.items = std::move(items);
  return parent;
}

// A top-level menu: its own click only hands the focus to the sheet grid.
MenuItem Top(std::string name, int index, std::string caption, std::vector<MenuItem> items) {
  MenuItem m = Item(std::move(name), index, std::move(caption));
  m.items = std::move(items);
  m.opensMenu = true;
  return m;
}

MenuItem FileMenu() {
  const char* s = "Menu_1Sub";
  std::vector<MenuItem> v{
      Item(s, 0, "新規作成(&N)"),
      Item(s, 1, "開く(&O)..."),
      Item(s, 2, "-"),
      Item(s, 3, "上書き保存(&S)"),
      Item(s, 4, "名前を変えて保存(&A)..."),
      Hidden(s, 5, "ﾌｧｲﾙ削除(&D)"),
      Item(s, 6, "-"),
      Item(s, 7, "参考ﾌｧｲﾙ呼出(&R)"),
      Hidden(s, 8, "-"),
      Hidden(s, 9, "出来高ﾌｧｲﾙ作成"),
      Item(s, 10, "表紙ﾌｧｲﾙ呼出(&C)"),
      Hidden(s, 11, "-"),
      Item(s, 12, "工事情報呼出(&K)"),
      Item(s, 13, "-"),
      Item(s, 14, "印刷設定(&U)..."),
      Item(s, 15, "印刷(&P)..."),
      Item(s, 16, "-"),
  };
  // The five recent estimates; the load puts their paths in.
  for (int i = 1; i <= 5; ++i) v.push_back(Item(s, 16 + i, std::to_string(i)));
  v.push_back(Item(s, 22, "-"));
  v.push_back(Item(s, 23, "Korvaneの終了(&X)"));
  return Top("Menu_1", -1, "ﾌｧｲﾙ(&F)", std::move(v));
}

MenuItem EditMenu() {
  const char* s = "Menu_2Sub";
  return Top("Menu_2", -1, "編集(&E)",
             {
                 Item(s, 0, "元に戻す(&U)  ", "Ctrl+Z"),
                 Item(s, 1, "切り取り(&T)", "Ctrl+X"),
                 Item(s, 2, "ｺﾋﾟｰ(&C)", "Ctrl+C"),
                 Item(s, 3, "貼り付け(&P) ", "Ctrl+V"),
                 Item(s, 4, "削除(&D)"),
                 Item(s, 5, "-"),
                 Item(s, 6, "行削除(&L)", "F7"),
                 Item(s, 7, "行挿入(&N)", "F8"),
                 Item(s, 8, "-"),
                 Item(s, 9, "行ｺﾋﾟｰ(&G)"),
                 Item(s, 10, "行貼り付け(&H)"),
                 Hidden(s, 12, "縦列複写"),
                 Hidden(s, 13, "未使用"),
             });
}

MenuItem CalcRowMenu() {
  const char* s = "Menu_3Sub";
  return Top("Menu_3", 3, "計算行(&C)",
             {
                 Item(s, 0, "合計表示 ON/OFF"),
                 Item(s, 1, "Ｙ計算(&Y)..."),
                 Item(s, 2, "小計行(&S)"),
                 Item(s, 3, "中計行(&M)"),
                 Item(s, 4, "大計行(&L)"),
                 Hidden(s, 5, "未使用"),
                 Hidden(s, 6, "定義 ①"),
                 Hidden(s, 7, "定義 ②"),
                 Hidden(s, 8, "定義 ③"),
                 Hidden(s, 9, "油脂雑品"),
                 Hidden(s, 10, "出張所経費"),
                 Hidden(s, 11, "配列ﾍｯﾀﾞｰ"),
                 Hidden(s, 12, "配列ﾃﾞｰﾀ"),
                 Item(s, 13, "大大    計(&X)"),
                 Item(s, 14, "大大大 計(&E)"),
                 Item(s, 15, "-"),
                 Item(s, 16, "消費税行(&T)"),
                 Item(s, 17, "諸経費計算行(&G)"),
                 Item(s, 18, "消耗品雑材行(&Z)"),
                 Item(s, 19, "経費行(&K)..."),
                 Item(s, 20, "集計再計算(&V)", "Shift+F2"),
                 Item(s, 21, "-"),
                 Item(s, 22, "全階層再計算(&R)", "Shift+F1"),
                 Hidden(s, 23, "構成比率計算(&H)"),
             });
}

MenuItem ObjectMenu() {
  const char* s = "ObjectMenuSub";
  return Top("ObjectMenu", -1, "挿入(&I)",
             {
                 Item(s, 0, "オブジェクトの作成(&O)..."),
                 Item(s, 1, "オブジェクトの貼り付け(&P)"),
                 Item(s, 2, "ファイルから作成(&F)..."),
                 Item(s, 3, "-"),
                 Item(s, 4, "オブジェクトの削除(&D)"),
             });
}

MenuItem ViewMenu() {
  const char* s = "Menu_7Sub";
  std::vector<MenuItem> papers;
  for (int i = 1; i <= 7; ++i) papers.push_back(Item("PeparSerect", i, std::to_string(i)));
  std::vector<MenuItem> masks;
  const char* maskNames[] = {"画面１", "画面２", "画面３", "画面４", "画面５", "画面６"};
  for (int i = 0; i < 6; ++i) masks.push_back(Item("MaskGamen", i, maskNames[i]));
  MenuItem zoom = Hidden(s, 3, "Zoom");
  zoom.items = {
      Hidden("ZoomSub", 0, "200%"),
      Item("ZoomSub", 1, "ｽﾞｰﾑ設定値"),
      Item("ZoomSub", 2, "ｽﾞｰﾑ倍率の入力"),
      Item("ZoomSub", 3, "140%"),
      Item("ZoomSub", 4, "120%"),
      Item("ZoomSub", 5, "100%標準"),
      Item("ZoomSub", 6, "90%"),
      Item("ZoomSub", 7, "80%"),
      Item("ZoomSub", 8, "70%"),
  };
  return Top("Menu_7", -1, "画面(&V)",
             {
                 Sub(Item("PeparTypeMenu", -1, "印刷用紙指定(&P)"), std::move(papers)),
                 Item("PeparTypeMenu_", -1, "-"),
                 Sub(Item(s, 0, "画面切換(&G)"), std::move(masks)),
                 Hidden(s, 1, "未使用"),
                 Item(s, 2, "文字ﾌｫﾝﾄ(&F)"),
                 std::move(zoom),
                 Hidden(s, 4, "未使用"),
                 Item(s, 5, "マスク設定(&M)..."),
                 Item(s, 6, "-"),
                 Sub(Item(s, 7, "階層表示設定"),
                     {
                         Item("DM_DISP", 1, "階層 (縦)/上階層(見出し) 表示"),
                         Item("DM_DISP", 2, "階層 (縦)/上階層(計) 表示"),
                         Item("DM_DISP", 3, "階層 (横) 表示"),
                     }),
                 Sub(Item(s, 8, "ﾍﾟｰｼﾞ区切り線"),
                     {
                         Item("Line_Style", 1, "点線"),
                         Item("Line_Style", 2, "太い点線"),
                         Item("Line_Style", 3, "実線"),
                         Item("Line_Style", 4, "太い実線"),
                     }),
                 Hidden(s, 10, "上階層(計)表示"),
                 Item(s, 11, "単位画面(&U)"),
                 Item(s, 12, "-"),
                 Item(s, 13, "ﾂｰﾙﾊﾞｰ設定(&T)..."),
                 Item(s, 14, "ｵﾌﾟｼｮﾝ(&O)..."),
                 Item(s, 15, "合計名称変更(&H)..."),
                 Item(s, 16, "-"),
                 Item(s, 17, "拡張ﾂｰﾙﾊﾞｰ"),
             });
}

MenuItem ExtendedMenu() {
  const char* s = "Tokusyusub";
  MenuItem autoDown = Hidden(s, 0, "自動改行指定 ");
  autoDown.items = {Item("AutoDownSub", 0, "移動無し"), Item("AutoDownSub", 1, "自動改行"),
                    Item("AutoDownSub", 2, "自動右移動")};
  MenuItem namePosition = Item("EnvMenu", 2, "会社名印刷位置");
  namePosition.items = {Item("CoPrinPos", 1, "左"), Item("CoPrinPos", 2, "中"),
                        Item("CoPrinPos", 3, "右")};
  MenuItem env = Hidden(s, 5, "環境設定");
  env.items = {Item("EnvMenu", 1, "印刷時会社名登録"), std::move(namePosition),
               Item("IME_Mode", -1, "MS_IMEの切替え")};
  MenuItem pages = Hidden(s, 6, "ﾍﾟｰｼﾞ番号の指定");
  pages.items = {Item("PageRemakeMenu", 1, "自動ﾍﾟｰｼﾞ設定"),
                 Item("PageRemakeMenu", 2, "手動ﾍﾟｰｼﾞ設定"), Hidden("PageRemakeMenu", 3, "予備")};
  return Top("Tokusyu", -1, "拡張機能(&T)",
             {
                 std::move(autoDown),
                 Item(s, 1, "非印刷行の設定／解除(&U)"),
                 Item(s, 2, "ﾒﾓ行指定(&M)"),
                 Item(s, 3, "特殊ﾒﾓ行指定(&T)"),
                 Hidden(s, 4, "未使用"),
                 std::move(env),
                 std::move(pages),
                 Hidden(s, 10, "未使用"),
                 Item(s, 11, "仕訳ﾌｧｲﾙ作成(&S)"),
                 Item(s, 12, "-"),
                 Item(s, 13, "簡易均等割付(&W)"),
                 Item(s, 14, "文字欄連続設定(&R)"),
                 Hidden(s, 15, "未使用"),
                 Hidden(s, 16, "外字の置換え"),
                 Hidden(s, 17, "予備"),
                 Item(s, 18, "文字検索(&K)"),
                 Item(s, 19, "-"),
                 Item(s, 20, "非印刷階層行の設定／解除(&I)"),
                 Item(s, 21, "非印刷階層行の全解除(&C)"),
                 Item(s, 22, "特殊印刷の設定(&P)..."),
             });
}

// A top-level item that is a command itself, hidden.
MenuItem HiddenTopCommand(std::string name, std::string caption) {
  return Hidden(std::move(name), -1, std::move(caption));
}

template <class Item>
Item* FindIn(std::vector<Item>& items, std::string_view name, int index) {
  for (Item& m : items) {
    if (m.name == name && m.index == index) return &m;
    if (Item* found = FindIn(m.items, name, index)) return found;
  }
  return nullptr;
}

int MarkReady(std::vector<MenuItem>& items, std::string_view name, int index, bool ready) {
  int n = 0;
  for (MenuItem& m : items) {
    if (m.name == name && (index == kAllItems || m.index == index)) {
      m.ready = ready;
      ++n;
    }
    n += MarkReady(m.items, name, index, ready);
  }
  return n;
}

void Collect(std::vector<MenuItem>& items, std::string_view name, std::vector<MenuItem*>& out) {
  for (MenuItem& m : items) {
    if (m.name == name) out.push_back(&m);
    Collect(m.items, name, out);
  }
}

}  // namespace

std::vector<MenuItem*> EditorMenus::Array(std::string_view name) {
  std::vector<MenuItem*> out;
  Collect(bar, name, out);
  return out;
}

MenuItem* EditorMenus::Find(std::string_view name, int index) { return FindIn(bar, name, index); }

const MenuItem* EditorMenus::Find(std::string_view name, int index) const {
  return const_cast<EditorMenus*>(this)->Find(name, index);
}

MenuItem& EditorMenus::At(std::string_view name, int index) {
  MenuItem* m = Find(name, index);
  if (!m)
    throw std::out_of_range("menu item " + std::string(name) + "(" + std::to_string(index) +
                            ") does not exist");
  return *m;
}

const MenuItem& EditorMenus::At(std::string_view name, int index) const {
  return const_cast<EditorMenus*>(this)->At(name, index);
}

bool EditorMenus::SetReady(std::string_view name, int index, bool ready) {
  return MarkReady(bar, name, index, ready) > 0;
}

EditorMenus EditorMenuTree() {
  EditorMenus m;
  m.bar = {
      FileMenu(),
      EditMenu(),
      CalcRowMenu(),
      ObjectMenu(),
      ViewMenu(),
      ExtendedMenu(),
      // Shown only in system kind 3; they carry no commands of their own.
      Top("OutPutMenu", -1, "出力表示(&O)", {}),
      Top("OrderMenu", -1, "発注書(&P)", {}),
      HiddenTopCommand("Pack", "Pack"),
      Top("MenuHelp", -1, "ﾍﾙﾌﾟ(&H)",
          {
              Item("HelpIndex", -1, "目次(&C)"),
              Item("HelpUsage", -1, "ｷｰﾜｰﾄﾞで検索(&S)..."),
              Item("MenuSepalator", -1, "-"),
              Item("HelpVersion", -1, "ﾊﾞｰｼﾞｮﾝ情報(&A)..."),
          }),
      HiddenTopCommand("TEST", "TEST"),
      HiddenTopCommand("TEST2", "TEST2"),
  };
  return m;
}

}  // namespace kv
