#include "reports/PrintRecord.h"

std::string PrintRecord::folderOf(std::string_view scenarioFolder)
{
    std::string folder(scenarioFolder);
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder + ".quillon/printed/";
}
