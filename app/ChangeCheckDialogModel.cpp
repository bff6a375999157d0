#include "app/ChangeCheckDialogModel.h"

#include "app/InputHistory.h"
#include "app/Quillon.h"
#include "app/WindowOperation.h"
#include "changes/ChangeReport.h"
#include "platform/Sjis.h"
#include "render/LineSelection.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>

const char* ChangeCheckDialogModel::title()
{
    return Sjis::of("変更点の確認");
}

const char* ChangeCheckDialogModel::everyCharacter()
{
    return Sjis::of("すべて");
}

ChangeCheckDialogModel::ChangeCheckDialogModel(Quillon& app, ProgressView& progress)
    : m_app(app), m_progressView(progress)
{
    const std::vector<FCString>& history = historyEntries();
    if (!history.empty())
        source.folderText = history.back();
    m_filter.push_back(everyCharacter());
    fillTable();
}

ChangeCheckDialogModel::~ChangeCheckDialogModel() = default;

const std::vector<FCString>& ChangeCheckDialogModel::historyEntries() const
{
    return m_app.histories().entries(ChangeCheck::HistorySlot);
}

ChangeCheckDialogModel::Outcome ChangeCheckDialogModel::refuse(const std::string& cp932Message)
{
    m_message = FCString(std::string_view(cp932Message));
    return Outcome::Refused;
}

ChangeCheckDialogModel::Outcome ChangeCheckDialogModel::compare()
{
    m_message.clear();
    if (m_app.scenarioFolder().isEmpty())
        return refuse(Sjis::of("台本フォルダを読み込んでから比較してください。"));
    std::string oldFolder, why;
    if (!ChangeCheck::oldFolderOf(source, oldFolder, why))
        return refuse(why);
    if (!source.sincePrint)
        m_app.histories().add(ChangeCheck::HistorySlot, source.folderText);

    ChangeCheck::Outcome outcome;
    const bool ran = WindowOperation::completed([&] {
        UxProgressDialog progress(m_progressView);
        outcome = ChangeCheck::compare(m_app, oldFolder, progress);
    });
    if (!ran || outcome.cancelled)
        return Outcome::Cancelled;
    std::string notes = ChangeCheck::problem(outcome);
    if (!outcome.unlisted.empty())
        return refuse(notes);

    m_compared = true;
    m_sincePrint = source.sincePrint;
    m_changes = std::move(outcome.changes);
    m_recordable = std::move(outcome.recordable);
    m_filter.assign(1, everyCharacter());
    for (const ChangeReport::CharacterCount& count : ChangeReport::countsByCharacter(m_changes))
        m_filter.push_back(count.character);
    m_filterIndex = 0;
    fillTable();
    if (m_changes.empty() && notes.empty())
        notes = Sjis::of("変更はありません。");
    m_message = FCString(std::string_view(notes));
    return Outcome::Done;
}

void ChangeCheckDialogModel::chooseFilter(int index)
{
    m_filterIndex = index > 0 && index < int(m_filter.size()) ? index : 0;
    fillTable();
}

std::set<std::string> ChangeCheckDialogModel::shownCharacters() const
{
    if (m_filterIndex == 0)
        return {};
    return {m_filter[std::size_t(m_filterIndex)]};
}

bool ChangeCheckDialogModel::shown(const LineChange& change) const
{
    return m_filterIndex == 0 || change.character == m_filter[std::size_t(m_filterIndex)];
}

int ChangeCheckDialogModel::shownCount() const
{
    return int(std::count_if(m_changes.begin(), m_changes.end(),
                             [this](const LineChange& change) { return shown(change); }));
}

FCString ChangeCheckDialogModel::countText() const
{
    FCString text;
    text.setNumber(shownCount());
    return text;
}

void ChangeCheckDialogModel::fillTable()
{
    m_table.redrawOff();
    m_table.clear();
    const UxListViewControl::ColumnDescriptor columns[] = {
        {Sjis::of("種類"), 70},         {Sjis::of("番号"), 70},    {Sjis::of("シーン"), 100},
        {Sjis::of("キャラクター"), 90}, {Sjis::of("変更前"), 200}, {Sjis::of("変更後"), 200}};
    m_table.defineColumns(columns);
    for (const LineChange& change : m_changes) {
        if (!shown(change))
            continue;
        const int row = m_table.setCell(m_table.rowCount(), 0, LineChange::kindText(change.kind));
        if (row < 0)
            break;
        m_table.setText(row, 1, change.number);
        m_table.setText(row, 2, change.scene);
        m_table.setText(row, 3, change.character);
        m_table.setText(row, 4, change.oldText);
        m_table.setText(row, 5, change.newText);
    }
    m_table.redrawOn();
}

bool ChangeCheckDialogModel::canPrint() const
{
    return m_printer && std::any_of(m_changes.begin(), m_changes.end(), [this](const auto& c) {
               return c.needsRecording() && shown(c);
           });
}

bool ChangeCheckDialogModel::printPickup()
{
    m_message.clear();
    if (!canPrint())
        return false;
    const std::set<std::string> characters = shownCharacters();
    LineSelection selection;
    if (ChangeCheck::select(m_changes, selection, characters.empty() ? nullptr : &characters) == 0)
        return false;
    // Only the print record knows what the last print held: against another
    // folder the run keeps no scene in it.
    std::set<std::string> recorded;
    if (m_sincePrint)
        recorded = characters.empty()
                       ? m_recordable
                       : ChangeCheck::recordableFor(m_changes, m_recordable, characters);
    (void)WindowOperation::completed(
        [&] { m_printer(selection, m_sincePrint ? &recorded : nullptr); });
    return true;
}
