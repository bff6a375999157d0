#include "reports/CheckListDialogModel.h"

#include "fc/FCPathName.h"
#include "platform/Sjis.h"
#include "format/ConfirmedFolderCreation.h"
#include "ui/UxDialogs.h"

#include <string>

const char* CheckListDialogModel::title()
{
    return Sjis::of("台本チェックリストの出力");
}

CheckListDialogModel::CheckListDialogModel(const FCString& folder, CheckListOptions options)
    : folderText(folder), csv(options.csv()), sceneList(options.sceneList()),
      characterList(options.characterList()), listUnprinted(options.listUnprinted())
{
}

CheckListDialogModel::~CheckListDialogModel() = default;

CheckListOptions CheckListDialogModel::options() const
{
    return CheckListOptions::of(csv, sceneList, characterList, listUnprinted);
}

bool CheckListDialogModel::accept()
{
    m_message.clear();
    if (folderText.isEmpty()) {
        m_message = FCString(Sjis::of("出力先フォルダを指定してください"));
        return false;
    }
    // The notices name full paths, so a relative folder is taken against the
    // current directory here, once.
    FCPathName path(folderText);
    path.addSeparator();
    if (path.isEmpty())
        return false;
    const std::string folder(path.string().view());
    if (!ConfirmedFolderCreation::folderExists(folder)) {
        std::string question(Sjis::of("指定されたフォルダ、\n"));
        question += folder;
        question += Sjis::of("\nは存在しません。作成しても構いませんか？");
        if (!UxDialogs::question(question))
            return false;
        if (!ConfirmedFolderCreation::run(folder, Sjis::of("リスト出力先フォルダの作成"),
                                          UxDialogs::notices()))
            return false;
    }
    m_folder = path.string();
    return true;
}
