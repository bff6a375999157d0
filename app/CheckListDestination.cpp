#include "app/CheckListDestination.h"

#include "fc/FCPathName.h"
#include "fc/Notices.h"
#include "format/ConfirmedFolderCreation.h"
#include "platform/Sjis.h"

#include <string>

bool CheckListDestination::resolve(const FCString& text, Notices& notices, FCString& folder,
                                   FCString& message)
{
    message.clear();
    if (text.isEmpty()) {
        message = FCString(Sjis::of("出力先フォルダを指定してください"));
        return false;
    }
    FCPathName path(text);
    path.addSeparator();
    if (path.isEmpty())
        return false;
    const std::string absolute(path.string().view());
    if (!ConfirmedFolderCreation::folderExists(absolute)) {
        std::string question(Sjis::of("指定されたフォルダ、\n"));
        question += absolute;
        question += Sjis::of("\nは存在しません。作成しても構いませんか？");
        if (!notices.question(question))
            return false;
        if (!ConfirmedFolderCreation::run(absolute, Sjis::of("リスト出力先フォルダの作成"),
                                          notices))
            return false;
    }
    folder = path.string();
    return true;
}
