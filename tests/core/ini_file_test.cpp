#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>

#include "platform/codepage.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using test::ReadAll;
using test::TempFolder;

// Display text with LF line ends -> the stored form: Shift-JIS, CR LF.
std::string Stored(const std::string& utf8) {
  std::string out;
  for (char c : ToSjis(utf8)) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string GetString(std::string_view section, std::string_view key, const std::filesystem::path& file) {
  std::string v = "not touched";
  EXPECT_TRUE(IniGetString(section, key, v, file));
  return v;
}

const char* const kReadFile =
    "; settings\n"
    "top=before any section\n"
    "[Boot]\n"
    "KVtext = BASE/KVTEXT\n"
    "Quoted=\"  two blanks  \"\n"
    "Unclosed=\"no end\n"
    "OnlyQuote=\"\n"
    "Empty=\n"
    "Blanks =  \t \n"
    "Lead=  42abc\n"
    "Neg=-17\n"
    "Plus=+5\n"
    "Word=abc\n"
    "Big=99999999999\n"
    "QuotedNum=\"12\"\n"
    "no equals sign here\n"
    "Sentinel=##_%@_None_@%_##\n"
    "  Indented Key  =  v  \n"
    "Dup=first\n"
    "Dup=second\n"
    ";Commented=1\n"
    "[ Spaced Section ]\n"
    "K=1\n"
    "[boot]\n"
    "Late=in the second section of the same name\n"
    "[見積設定]\n"
    "用紙サイズ=Ａ４\n"
    "陰=one\n"
    "餌=two\n"
    "[ゾーン]\n"
    "名前=表示\n";

struct ReadCase {
  const char* section;
  const char* key;
  const char* text;
  int number;
};

TEST(IniRead, PrivateProfileRules) {
  TempFolder t;
  auto file = t.Write("KVSSYS.INI", Stored(kReadFile));
  const ReadCase cases[] = {
      {"Boot", "KVtext", "BASE/KVTEXT", 0},
      {"boot", "kvTEXT", "BASE/KVTEXT", 0},        // names without letter case
      {" Boot ", " KVtext ", "BASE/KVTEXT", 0},    // ... and without blanks
      {"Boot", "Quoted", "  two blanks  ", 0},     // one pair of quotes removed
      {"Boot", "Unclosed", "\"no end", 0},         // an unclosed quote stays
      {"Boot", "OnlyQuote", "\"", 0},
      {"Boot", "Empty", "", -1},
      {"Boot", "Blanks", "", -1},
      {"Boot", "Lead", "42abc", 42},               // the number at the start
      {"Boot", "Neg", "-17", -17},
      {"Boot", "Plus", "+5", 5},
      {"Boot", "Word", "abc", 0},                  // no number: 0
      {"Boot", "Big", "99999999999", INT_MAX},
      {"Boot", "QuotedNum", "12", 12},
      {"Boot", "no equals sign here", "", -1},     // not a key line
      {"Boot", "Sentinel", "", 0},
      {"Boot", "Indented Key", "v", 0},
      {"Boot", "Dup", "first", 0},                 // the first key of a name
      {"Boot", ";Commented", "", -1},
      {"Boot", "Commented", "", -1},
      {"Boot", "Late", "", -1},                    // the first section of a name
      {"Boot", "Missing", "", -1},
      {"Boot", "top", "", -1},
      {"Spaced Section", "k", "1", 1},
      {"Missing", "K", "", -1},
      {"見積設定", "用紙サイズ", "Ａ４", 0},
      {"見積設定", "陰", "one", 0},                // second bytes 'A' / 'a' are not letters
      {"見積設定", "餌", "two", 0},
      {"ゾーン", "名前", "表示", 0},                // "]" and "[" as second bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " / " + c.key);
    EXPECT_EQ(GetString(c.section, c.key, file), c.text);
    EXPECT_EQ(IniGetInt(c.section, c.key, file), c.number);
  }
}

TEST(IniRead, MissingAndUnreadableFiles) {
  TempFolder t;
  EXPECT_EQ(GetString("Boot", "KVtext", t / "none.ini"), "");
  EXPECT_EQ(IniGetInt("Boot", "KVtext", t / "none.ini"), -1);
  EXPECT_EQ(IniGetInt("Boot", "KVtext", t / "no/folder/none.ini"), -1);
  std::filesystem::create_directory(t / "dir.ini");
  EXPECT_EQ(IniGetInt("Boot", "KVtext", t / "dir.ini"), 0);  // a read that fails
  EXPECT_EQ(GetString("Boot", "KVtext", t / "dir.ini"), "");
}

TEST(IniRead, SectionPresenceWithoutLetterCaseOrKeys) {
  TempFolder t;
  auto file = t.Write("s.ini", Stored("[Boot]\nK=1\n[ 見積設定 ]\n[Empty]\n; [Commented]\n"));
  EXPECT_TRUE(IniHasSection("boot", file));
  EXPECT_TRUE(IniHasSection("見積設定", file));
  EXPECT_TRUE(IniHasSection("Empty", file));
  EXPECT_FALSE(IniHasSection("Commented", file));
  EXPECT_FALSE(IniHasSection("K", file));
  EXPECT_FALSE(IniHasSection("Boot", t / "none.ini"));
  std::filesystem::create_directory(t / "dir.ini");
  EXPECT_FALSE(IniHasSection("Boot", t / "dir.ini"));  // a read that fails
}

TEST(IniRead, FileNameWithoutLetterCase) {
  TempFolder t;
  t.Write("N.INI", Stored("[S]\nK=upper file\n"));
  EXPECT_EQ(GetString("S", "K", t / "n.ini"), "upper file");
}

TEST(IniRead, LongValuesAreCutTo254BytesWithoutHalfCharacters) {
  TempFolder t;
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "漢";
  auto file = t.Write("a.ini", Stored("[S]\nA=" + std::string(300, 'x') + "\nJ=a" + kanji + "\n"));
  EXPECT_EQ(GetString("S", "A", file), std::string(254, 'x'));
  std::string j = GetString("S", "J", file);
  EXPECT_EQ(ToSjis(j).size(), 253u);  // "a" and 126 characters; the 127th would not fit
  EXPECT_EQ(j, "a" + kanji.substr(0, 126 * 3));
}

TEST(IniWrite, ChangesOnlyTheKeysLine) {
  TempFolder t;
  const std::string before = "; top comment\r\n[A]\r\nX = old\r\nY=2\r\n\r\n; about B\r\n[B]\r\nZ=3";
  auto file = t.Write("a.ini", before);
  ASSERT_TRUE(IniPutString("a", "x", "new value", file));
  EXPECT_EQ(ReadAll(file), "; top comment\r\n[A]\r\nX = new value\r\nY=2\r\n\r\n; about B\r\n[B]\r\nZ=3");
  EXPECT_EQ(GetString("A", "X", file), "new value");
}

TEST(IniWrite, NewKeyAtTheEndOfItsSectionNewSectionAtTheEndOfTheFile) {
  TempFolder t;
  auto file = t.Write("a.ini", "[A]\r\nX=1\r\n\r\n; about B\r\n[B]\r\nZ=3\r\n");
  ASSERT_TRUE(IniPutString("A", "New", "n", file));
  ASSERT_TRUE(IniPutString("B", "Last", "l", file));
  ASSERT_TRUE(IniPutString("C", "K", "c", file));
  EXPECT_EQ(ReadAll(file),
            "[A]\r\nX=1\r\nNew=n\r\n\r\n; about B\r\n[B]\r\nZ=3\r\nLast=l\r\n\r\n[C]\r\nK=c\r\n");
}

TEST(IniWrite, LineEndsOfUntouchedLinesAreKept) {
  TempFolder t;
  auto file = t.Write("a.ini", "[A]\nX=1\n[B]\nY=2");  // LF lines, no line end at the end
  ASSERT_TRUE(IniPutString("B", "Z", "3", file));
  ASSERT_TRUE(IniPutString("A", "X", "9", file));
  EXPECT_EQ(ReadAll(file), "[A]\nX=9\n[B]\nY=2\r\nZ=3\r\n");
}

TEST(IniWrite, NewFileIsShiftJisWithCrLf) {
  TempFolder t;
  auto file = t / "見積.INI";
  ASSERT_TRUE(IniPutString("特殊仕様印刷", "表題", "見積書 ｱｲｳ", file));
  ASSERT_TRUE(IniPutString("特殊仕様印刷", "Count", "3", file));
  EXPECT_EQ(ReadAll(file), Stored("[特殊仕様印刷]\n表題=見積書 ｱｲｳ\nCount=3\n"));
  EXPECT_EQ(GetString("特殊仕様印刷", "表題", file), "見積書 ｱｲｳ");
  EXPECT_EQ(IniGetInt("特殊仕様印刷", "count", file), 3);
}

TEST(IniWrite, QuotedValueKeepsItsBlanks) {
  TempFolder t;
  auto file = t / "a.ini";
  ASSERT_TRUE(IniPutString("S", "Title", "\"  見積 \"", file));
  EXPECT_EQ(GetString("S", "Title", file), "  見積 ");
}

TEST(IniWrite, WritesTheFileFoundWithoutLetterCase) {
  TempFolder t;
  t.Write("KVUTL.INI", "[S]\r\nK=1\r\n");
  ASSERT_TRUE(IniPutString("S", "K", "2", t / "kvutl.ini"));
  EXPECT_EQ(ReadAll(t / "KVUTL.INI"), "[S]\r\nK=2\r\n");
  EXPECT_FALSE(std::filesystem::exists(t / "kvutl.ini"));
}

TEST(IniWrite, UnwritableFileIsReportedAndLeftAsItWas) {
  TempFolder t;
  auto file = t.Write("ro.ini", "[S]\r\nK=1\r\n");
  std::filesystem::permissions(file, std::filesystem::perms(0444));
  EXPECT_FALSE(IniPutString("S", "K", "2", file));
  EXPECT_FALSE(IniDeleteSection("S", file));
  EXPECT_EQ(ReadAll(file), "[S]\r\nK=1\r\n");
  EXPECT_EQ(GetString("S", "K", file), "1");

  EXPECT_FALSE(IniPutString("S", "K", "2", t / "no/folder/a.ini"));
  EXPECT_FALSE(std::filesystem::exists(t / "no"));

  std::filesystem::create_directory(t / "dir.ini");
  EXPECT_FALSE(IniPutString("S", "K", "2", t / "dir.ini"));
}

TEST(IniWrite, RefusesWhatCannotBeStored) {
  TempFolder t;
  auto file = t.Write("a.ini", "[S]\r\nK=1\r\n");
  EXPECT_FALSE(IniPutString("S", "A=B", "x", file));
  EXPECT_FALSE(IniPutString("S", "K", "two\r\nlines", file));
  EXPECT_FALSE(IniPutString("S", "", "x", file));
  EXPECT_FALSE(IniPutString("", "K", "x", file));
  EXPECT_FALSE(IniPutString("S", "[T]", "x", file));
  EXPECT_EQ(ReadAll(file), "[S]\r\nK=1\r\n");
}

TEST(IniDelete, RemovesTheSectionWithItsKeys) {
  TempFolder t;
  auto file = t.Write("a.ini",
                      "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n\r\n; about C\r\n[C]\r\nZ=3\r\n[b]\r\nW=4\r\n");
  ASSERT_TRUE(IniDeleteSection("B", file));
  EXPECT_EQ(ReadAll(file), "[A]\r\nX=1\r\n\r\n; about C\r\n[C]\r\nZ=3\r\n");
  EXPECT_EQ(IniGetInt("B", "Y", file), -1);
  EXPECT_EQ(IniGetInt("B", "W", file), -1);

  ASSERT_TRUE(IniDeleteSection("C", file));
  EXPECT_EQ(ReadAll(file), "[A]\r\nX=1\r\n\r\n; about C\r\n");
  EXPECT_TRUE(IniDeleteSection("Missing", file));
  EXPECT_TRUE(IniDeleteSection("A", t / "none.ini"));
  EXPECT_FALSE(std::filesystem::exists(t / "none.ini"));
}

TEST(IniCache, ChangesMadeByOthersAreSeen) {
  TempFolder t;
  auto file = t.Write("a.ini", "[S]\r\nK=1\r\n");
  EXPECT_EQ(IniGetInt("S", "K", file), 1);
  // Same size, same file, at once: the time stamp may not move.
  t.Write("a.ini", "[S]\r\nK=2\r\n");
  EXPECT_EQ(IniGetInt("S", "K", file), 2);
  ASSERT_TRUE(IniPutString("S", "K", "3", file));
  EXPECT_EQ(IniGetInt("S", "K", file), 3);
  std::filesystem::remove(file);
  EXPECT_EQ(IniGetInt("S", "K", file), -1);
}

}  // namespace
}  // namespace kv
