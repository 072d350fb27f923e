#pragma once
// How the system's message-box styles and file-dialog filters turn into what a
// window toolkit shows: which buttons in which order, the default and the
// escape answer, the icon, the button texts, and the name filters. Pure, so
// the Qt seam and the tests share one reading.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };

struct MsgBoxLayout {
  std::vector<int> buttons;         // answers (vbOK ...), left to right
  size_t defaultIndex = 0;          // into `buttons`
  std::optional<int> escapeAnswer;  // Esc and the title bar's close; none: refused
  MsgBoxIcon icon = MsgBoxIcon::None;
};

// The layout of a message box of `style` (buttons + icon + default button). An
// unknown button set shows OK alone; a default beyond the buttons is the first.
MsgBoxLayout MsgBoxLayoutFor(int style);

// The text of an answer's button as a Japanese desktop shows it: "OK",
// "キャンセル", "中止", "再試行", "無視", "はい", "いいえ".
std::string MsgBoxButtonText(int answer);

// Name filters ("description (pattern pattern)") from the system's filter
// "description|pattern|description|pattern", patterns separated by ";". A
// description that already ends with its patterns in parentheses is kept as it
// is. Pairs without a pattern, and a description without its pattern, are left out.
std::vector<std::string> NameFiltersFromFilter(std::string_view filter);

}  // namespace kv
