// The stored arrangement of a toolbar: read back against the table whatever
// the stored value holds, applied to the button model, and the customise
// dialog's list edited by its buttons.
#include "editor/toolbars/toolbar_arrangement.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "editor/toolbars/toolbar_customize.h"
#include "editor/toolbars/toolbar_model.h"
#include "platform/registry_store.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

// The keys in order, a hidden one written "-KEY".
std::string Keys(const ToolbarArrangement& a) { return FormatArrangement(a); }

const std::string kTableOrder =
    "CUT,COPY,PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,S,T,D,TAX,TANI,SANKOU,HYOUSI,KOUZI,HIINSATU,MEMO,RENZOK,"
    "SEARCH,TREE,DIVID,RTN";

TEST(ToolbarArrangement, StoredValuesAreReadAgainstTheTable) {
  const auto table = ExtendedToolbarTable();
  EXPECT_EQ(Keys(DefaultArrangement(table)), kTableOrder);
  struct Case {
    const char* stored;
    std::string expected;
  } cases[] = {
      // Empty, blank: the table's order.
      {"", kTableOrder},
      {"  ", kTableOrder},
      // A full arrangement round-trips, hidden keys kept hidden.
      {"RTN,CUT,COPY,-PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,S,T,D,TAX,TANI,SANKOU,HYOUSI,KOUZI,-HIINSATU,MEMO,"
       "RENZOK,SEARCH,TREE,DIVID",
       "RTN,CUT,COPY,-PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,S,T,D,TAX,TANI,SANKOU,HYOUSI,KOUZI,-HIINSATU,MEMO,"
       "RENZOK,SEARCH,TREE,DIVID"},
      // Unknown keys (the basic toolbar's among them), a lower-case key and
      // separators of other spellings are ignored; blanks around keys too.
      {"NEW, DIVID ,bogus,cut,,ZOOM,-", "CUT,COPY,PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,S,T,D,TAX,TANI,SANKOU,HYOUSI,"
                                       "KOUZI,HIINSATU,MEMO,RENZOK,SEARCH,TREE,DIVID,RTN"},
      // A repeated key counts where it first stands.
      {"DIVID,-CUT,DIVID,CUT", "DIVID,RTN,-CUT,COPY,PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,S,T,D,TAX,TANI,SANKOU,"
                              "HYOUSI,KOUZI,HIINSATU,MEMO,RENZOK,SEARCH,TREE"},
      // Missing keys come back shown after their table predecessor.
      {"RTN,TREE,-S", "CUT,COPY,PASTE,GDEL,GIN,GCOPY,GPASTE,YKEISAN,RTN,TREE,DIVID,-S,T,D,TAX,TANI,SANKOU,HYOUSI,"
                      "KOUZI,HIINSATU,MEMO,RENZOK,SEARCH"},
  };
  for (const Case& c : cases) {
    const ToolbarArrangement a = ParseArrangement(table, c.stored);
    EXPECT_EQ(Keys(a), c.expected) << "stored: " << c.stored;
    EXPECT_EQ(a.size(), 23u) << "every button once: " << c.stored;
  }
}

TEST(ToolbarArrangement, SeparatorsKeepTheirPlacesBetweenTheArrangedButtons) {
  const auto table = ExtendedToolbarTable();
  // RTN moved to the front.
  ToolbarArrangement a = DefaultArrangement(table);
  std::rotate(a.begin(), a.end() - 1, a.end());
  const std::vector<size_t> entries = ArrangedEntries(table, a);
  ASSERT_EQ(entries.size(), table.size());
  std::string shown;
  for (size_t i : entries) shown += table[i].style == ToolButtonStyle::Separator ? "|" : std::string(table[i].key) + " ";
  EXPECT_EQ(shown, "|RTN CUT COPY |PASTE GDEL GIN GCOPY |GPASTE YKEISAN S T |D |TAX |TANI SANKOU HYOUSI |"
                   "KOUZI |HIINSATU MEMO RENZOK |SEARCH TREE DIVID ");
  // The table's order gives the table.
  const std::vector<size_t> plain = ArrangedEntries(table, DefaultArrangement(table));
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(plain[i], i);
}

TEST(ToolbarArrangement, SavedAndRestoredOnTheButtonModel) {
  test::TempFolder dir;
  RegistryStore store(dir.path());
  ToolbarModel model(ExtendedToolbarTable());
  ApplyArrangement(model, ParseArrangement(model.Table(), "TREE,-CUT,-SEARCH"));
  EXPECT_FALSE(model.Visible("CUT"));
  EXPECT_FALSE(model.Visible("SEARCH"));
  EXPECT_TRUE(model.Visible("TREE"));
  EXPECT_EQ(model.Order().front(), "TREE");
  ASSERT_TRUE(ArrangementSave(store, kExtendedArrangement, model));
  EXPECT_EQ(store.GetSetting("2", "KV32Tbar2", "True"), FormatArrangement(ArrangementOf(model)));

  // Another model restores it; an empty store gives the table back, all shown.
  ToolbarModel other(ExtendedToolbarTable());
  ArrangementRestore(store, kExtendedArrangement, other);
  EXPECT_EQ(ArrangementOf(other), ArrangementOf(model));
  ArrangementRestore(RegistryStore(dir.path() / "none"), kExtendedArrangement, other);
  EXPECT_EQ(ArrangementOf(other), DefaultArrangement(ExtendedToolbarTable()));

  // The basic toolbar is kept under names of its own.
  ToolbarModel basic(BasicToolbarTable());
  ASSERT_TRUE(ArrangementSave(store, kBasicArrangement, basic));
  EXPECT_EQ(store.GetSetting("1", "KV32Tbar1", "True"), "NEW,OPEN,SAVE,PRINT,UNDO,UNDER,RIGHT,NOT,RTN,ZOOM,YOSI");
}

TEST(ToolbarCustomizeList, ButtonsEditTheListAndChangeIsSeen) {
  const auto table = ExtendedToolbarTable();
  ToolbarCustomizeList list(table, ParseArrangement(table, "COPY,CUT,PASTE"));
  EXPECT_FALSE(list.Changed());
  EXPECT_EQ(list.Caption(0), "コピー");
  EXPECT_EQ(list.Caption(99), "");

  // Up at the top and down at the bottom change nothing.
  list.SetCurrent(0);
  EXPECT_FALSE(list.MoveUp());
  list.SetCurrent(22);
  EXPECT_FALSE(list.MoveDown());
  EXPECT_EQ(list.Current(), 22);
  list.SetCurrent(40);  // outside: ignored
  EXPECT_EQ(list.Current(), 22);
  EXPECT_FALSE(list.Changed());

  // The chosen item moves and stays chosen.
  list.SetCurrent(1);
  EXPECT_TRUE(list.MoveUp());
  EXPECT_EQ(list.Current(), 0);
  EXPECT_EQ(list.Items()[0].key, "CUT");
  EXPECT_TRUE(list.Changed());
  EXPECT_TRUE(list.MoveDown());
  EXPECT_FALSE(list.Changed()) << "back to where it started";
  EXPECT_TRUE(list.MoveDown());
  EXPECT_EQ(list.Items()[2].key, "CUT");
  EXPECT_TRUE(list.Changed());

  list.SetVisible(5, false);
  EXPECT_FALSE(list.Items()[5].visible);

  // Reset: the table's order, all shown.
  list.Reset();
  EXPECT_EQ(list.Items(), DefaultArrangement(table));
  EXPECT_TRUE(list.Changed()) << "the start had COPY before CUT";
}

}  // namespace
}  // namespace kv
