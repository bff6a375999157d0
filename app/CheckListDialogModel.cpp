#include "app/CheckListDialogModel.h"

#include "app/CheckListDestination.h"
#include "platform/Sjis.h"

const char* CheckListDialogModel::title()
{
    return Sjis::of("台本チェックリストの出力");
}

CheckListDialogModel::CheckListDialogModel(const FCString& folder, CheckListOptions options,
                                           Notices& notices)
    : folderText(folder), csv(options.csv()), sceneList(options.sceneList()),
      characterList(options.characterList()), listUnprinted(options.listUnprinted()),
      m_notices(&notices)
{
}

CheckListDialogModel::~CheckListDialogModel() = default;

CheckListOptions CheckListDialogModel::options() const
{
    return CheckListOptions::of(csv, sceneList, characterList, listUnprinted);
}

bool CheckListDialogModel::accept()
{
    return CheckListDestination::resolve(folderText, *m_notices, m_folder, m_message);
}
