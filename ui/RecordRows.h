#pragma once

class ScriptInfo;
class UxListViewControl;

// Lists that show the characters of one record (a scene's, or the
// scenario totals), one row per character in the record's order.
namespace RecordRows {

// At the end of the list: column 0 empty, column 1 the name; checked when
// check is 1.
void fillCharacters(const ScriptInfo& record, UxListViewControl& list, int check);

// The word-count listing's columns: "キャラ名" (200 wide) and "ワード数" (100
// wide).
void defineWordCountColumns(UxListViewControl& list);
// One row per character: the name, the count in decimal.
void fillWordCounts(const ScriptInfo& record, UxListViewControl& list);

} // namespace RecordRows
