#pragma once

#include "voices/VoiceCheck.h"

#include <string>
#include <vector>

// The check's results as the user reads them.
//
// The table (UTF-8, TAB-separated): a header row, one row per character
// (キャラ名, 台詞数, 収録済, 未収録, 重複, 破損, 収録時間 as h:mm:ss.s) and the
// row 総数 with the sums. 収録済 counts every line with a good file, the
// duplicated ones among them; lines whose label is no number count in 台詞数
// only (and each has a problem line). Then one line per problem:
//   未収録   number  scene  character
//   重複     number  file  file ...
//   破損     file  reason
//   無音     file  peak in dBFS        (with the content checked)
//   音割れ   file                      (with the content checked)
//   対応なし file
//   番号重複 number  scene  scene ...
//   番号なし label  scene  character
// Numbers are shown as the screenplay writes them; files by their path from
// the delivery folder.
//
// The CSV (CP932, CR LF): メッセージ番号,シーン,キャラ名,状態,ファイル,秒数 for
// every speaker line in scenario order, then a row per unmatched file with
// only 状態 and ファイル.
namespace VoiceReport {

struct Input {
    const std::vector<SpeakerLine>& lines;
    const std::vector<std::string>& sceneNames; // CP932, by scene index
    const Delivery& delivery;
    const VoiceCheck::Result& result;
};

std::string table(const Input& input);
std::string csv(const Input& input);

// "h:mm:ss.s", rounded to the tenth of a second.
std::string duration(double seconds);
// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);
// The state's word (CP932).
const char* stateText(VoiceCheck::State state);

} // namespace VoiceReport
