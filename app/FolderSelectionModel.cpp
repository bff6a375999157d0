#include "app/FolderSelectionModel.h"

#include "app/InputHistory.h"
#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "fc/Notices.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"

#include <cstdint>
#include <string>

FolderSelectionModel::FolderSelectionModel(InputHistory& history, const FCString& currentFolder,
                                           Notices& notices)
    : m_history(history), m_notices(notices),
      m_request(Sjis::of("印刷するフォルダの入力"),
                Sjis::of("指定されたフォルダの下にある *.screenplay.txt が印刷されます。"),
                currentFolder.view(), HistorySlot),
      m_initialText(currentFolder)
{
}

FolderSelectionModel::~FolderSelectionModel() = default;

const char* FolderSelectionModel::keepWordTotalsLabel()
{
    return Sjis::of("ワード数データベースをを初期化しない");
}

const char* FolderSelectionModel::browserInstruction()
{
    return Sjis::of("フォルダの選択");
}

const std::vector<FCString>& FolderSelectionModel::historyEntries() const
{
    return m_history.entries(m_request.historySlot());
}

const FCString& FolderSelectionModel::promptAreaText() const
{
    return m_message.isEmpty() ? m_request.text() : m_message;
}

bool FolderSelectionModel::accept(std::string_view text, bool keepTicked)
{
    if (text.empty()) {
        m_message = FCString(Sjis::of("フォルダを指定してください"));
        return false;
    }
    m_message.clear();
    m_request.setValue(text);
    m_history.add(m_request.historySlot(), m_request.value());
    if (keepTicked)
        m_keepWordTotals = true;
    return true;
}

bool FolderSelectionModel::resolve(FCString& folderOut) const
{
    FCPathName path(m_request.value());
    path.addSeparator();
    // An empty value (resolve without an accepted OK) would otherwise stand
    // for the current directory, and a path left unresolved (an optical
    // drive that is not there) for a name inside it. The directory attribute
    // is checked, so a file's path with a "/" behind it is as absent as a
    // missing folder, whatever the platform makes of such a name.
    const bool given = !m_request.value().isEmpty();
    uint32_t attributes = 0;
    if (given && path.isAbsolute() && fileExists(path.text(), &attributes) &&
        (attributes & FileSystem::AttributeDirectory)) {
        folderOut = path.string();
        return true;
    }
    std::string text = Sjis::of("パスが見つかりません。\n");
    if (given)
        text += path.string().view();
    text += Sjis::of("台本ファイルがあるファイルを指定してください。");
    m_notices.notice(text, NotFoundTitle);
    return false;
}

FCString FolderSelectionModel::browserStartFolder(std::string_view text)
{
    if (text.empty())
        return FCString(std::string_view(ProgramFolders::programFolder()));
    return FCPathName(FCString(text)).string();
}
