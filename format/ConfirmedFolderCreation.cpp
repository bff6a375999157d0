#include "format/ConfirmedFolderCreation.h"

#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "fc/Notices.h"
#include "platform/FileSystem.h"
#include "platform/Sjis.h"

#include <string>

bool ConfirmedFolderCreation::folderExists(std::string_view path)
{
    uint32_t attributes = 0;
    const std::string text(path);
    return fileExists(text.c_str(), &attributes) && (attributes & FileSystem::AttributeDirectory);
}

bool ConfirmedFolderCreation::run(std::string_view path, std::string_view caption, Notices& notices)
{
    FCPathName folder{FCString(path)};
    folder.addSeparator();
    const std::string text(folder.string().view());
    if (folderExists(text))
        return true;
    if (!notices.question(text + Sjis::of("\nを新規に作成します。よろしいですか？"), caption))
        return false;
    createDirectories(text.c_str());
    // Judged by the result, not by the call: a folder that someone else made
    // meanwhile serves as well.
    if (folderExists(text))
        return true;
    notices.notice(text + Sjis::of("\nを作成することが出来ません。\n"
                                   "書き込み禁止やドライブ間違い、ディスク残量等を確認して"
                                   "ください。"),
                   Sjis::of("フォルダが作成できません"));
    return false;
}
