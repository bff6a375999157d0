#pragma once

#include <string>
#include <string_view>

// What the print runs of a scenario folder printed last: for each scene a
// copy of its screenplay file as it was printed, in the folder's
// ".quillon/printed/", under the file's own name. A print replaces the copy
// of each scene it printed; the next pickup starts from these copies.
class PrintRecord {
public:
    // The record's folder in a scenario folder (CP932; both end with "/").
    static std::string folderOf(std::string_view scenarioFolder);
};
