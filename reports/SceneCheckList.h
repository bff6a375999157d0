#pragma once

#include "fc/FCString.h"
#include "reports/CheckListFile.h"

#include <string>

struct ScenarioContext;
class UxListViewControl;

// The scene list: every scene of the main list, in display order, with its
// characters, the page count of one script and the character's word count,
// marked □ when the script would be printed. Scripts that would not be
// printed (■) and scenes without a speaking character (※) are listed only
// with listUnprinted. One file "@sceneCheckList." nnnnnnnn ".csv" or ".txt".
class SceneCheckList {
public:
    // Builds the text in memory, row by row under a progress dialog, and
    // writes it whole; then the notice names the file. A cancel drops the
    // whole list without a message.
    static CheckListResult write(const ScenarioContext& context, const UxListViewControl& list,
                                 const FCString& folder, bool csv, bool listUnprinted);

    // The header lines of a format.
    static std::string header(const ScenarioContext& context, bool csv);
    // The lines of one row (nothing for a row without a record).
    static void appendRow(std::string& text, const ScenarioContext& context,
                          const UxListViewControl& list, int row, bool csv, bool listUnprinted);
};
