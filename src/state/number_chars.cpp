#include "state/number_chars.h"

namespace kv {

void NumberCharsInit(NumberCharSets& sets) {
  // The iroha sets stop after their 35th character, and their 25th is the
  // plain "い" again, as the series the users know runs.
  sets.NumberChars[1] = "ｲﾛﾊﾆﾎﾍﾄﾁﾘﾇﾙｦﾜｶﾖﾀﾚｿﾂﾈﾅﾗﾑｳｲﾉｵｸﾔﾏｹﾌｺｴﾃ";
  sets.NumberChars[2] = "イロハニホヘトチリヌルヲワカヨタレソツネナラムウイノオクヤマケフコエテ";
  sets.NumberChars[3] = "いろはにほへとちりぬるをわかよたれそつねならむういのおくやまけふこえて";
  sets.NumberChars[4] = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも";
  sets.NumberChars[5] = "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ";
  sets.NumberChars[6] = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
  sets.NumberChars[7] = "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ";
  sets.NumberChars[8] = "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ";
}

}  // namespace kv
