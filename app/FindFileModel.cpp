#include "app/FindFileModel.h"

#include "app/InputHistory.h"
#include "platform/Sjis.h"
#include "platform/TextCollator.h"
#include "platform/TextMapper.h"
#include "ui/UxListViewControl.h"

#include <string>

namespace {

// The column of the main list that holds the file name.
constexpr int FileNameColumn = 2;

} // namespace

FindFileModel::FindFileModel(InputHistory& history)
    : m_history(history),
      m_request(Sjis::of("シナリオ名の入力"),
                Sjis::of("*.screenplay.txt の * の部分を指定してください"), {}, HistorySlot)
{
}

FindFileModel::~FindFileModel() = default;

const std::vector<FCString>& FindFileModel::historyEntries() const
{
    return m_history.entries(m_request.historySlot());
}

const FCString& FindFileModel::promptAreaText() const
{
    return m_message.isEmpty() ? m_request.text() : m_message;
}

bool FindFileModel::accept(std::string_view text)
{
    if (text.empty()) {
        m_message = FCString(Sjis::of("検索文字列を入力してください。"));
        return false;
    }
    m_message.clear();
    m_request.setValue(text);
    m_history.add(m_request.historySlot(), m_request.value());
    return true;
}

int FindFileModel::findRow(const UxListViewControl& list, const FCString& value)
{
    std::string target(value.view());
    target += Suffix;
    TextMapper::toLowerAscii(target);
    FCString cell;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.textOfCell(cell, row, FileNameColumn))
            continue;
        std::string name(cell.view());
        TextMapper::toLowerAscii(name);
        if (TextCollator::compare(name, target) == 0)
            return row;
    }
    return -1;
}

int FindFileModel::run(UxListViewControl& list, const FCString& value)
{
    int row = findRow(list, value);
    if (row >= 0)
        list.selectRow(row);
    return row;
}
