#include "app/ConversionDialogModel.h"

#include "convert/SourceCollection.h"
#include "fc/Notices.h"
#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>

const char* ConversionDialogModel::title()
{
    return "tavrelCPP->screenplay.txt";
}

const char* ConversionDialogModel::definitionsPickerTitle()
{
    return Sjis::of("名前定義ファイルの選択");
}

const char* ConversionDialogModel::definitionsPickerFilter()
{
    return Sjis::of("名前定義ファイル,*.txt,全てのファイル,*.*");
}

ConversionDialogModel::ConversionDialogModel(ConversionState& state, Notices& notices,
                                             ProgressView& progress)
    : m_service(state), m_notices(notices), m_progress(progress)
{
}

ConversionDialogModel::~ConversionDialogModel() = default;

FCString ConversionDialogModel::pickedFolder(const FCString& chosen)
{
    return SourceCollection::folderPath(chosen);
}

FCString ConversionDialogModel::definitionsPickerStart() const
{
    if (!definitionsText.isEmpty())
        return definitionsText;
    return FCString(std::string_view(ProgramFolders::programFolder()));
}

ConversionService::Inputs ConversionDialogModel::inputs() const
{
    return {sourceFolderText, outputFolderText, definitionsText, includeSubfolders, jobs};
}

ConversionService::Message ConversionDialogModel::messageArea()
{
    return [this](const FCString& text) { setMessage(text); };
}

void ConversionDialogModel::setMessage(const FCString& text)
{
    m_message = text;
    if (m_listener)
        m_listener();
}

bool ConversionDialogModel::stopped(const ConversionService::Result& result)
{
    switch (result.outcome) {
    case Outcome::InputMissing:
        setMessage(result.message);
        return true;
    case Outcome::Refused:
        m_refusal = result.message;
        m_notices.notice(m_refusal.view());
        return true;
    case Outcome::Done:
    case Outcome::Cancelled:
        break;
    }
    fillRows(result.definitions);
    return false;
}

void ConversionDialogModel::fillRows(const ConversionState::Definitions& definitions)
{
    m_rows.clear();
    for (const auto& [object, name] : definitions)
        m_rows.push_back({FCString(std::string_view(object)), name, name.id(), true});
    // The list shows the objects in the program's locale order.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) {
        return a.objectName.compare(b.objectName) < 0;
    });
}

ConversionDialogModel::Outcome ConversionDialogModel::preSurvey()
{
    m_refusal.clear();
    const ConversionService::Result result = m_service.survey(inputs(), messageArea());
    if (stopped(result))
        return result.outcome;
    m_report = result.text;
    m_notices.notice(m_report.view());
    return result.outcome;
}

ConversionDialogModel::Outcome ConversionDialogModel::convert()
{
    m_refusal.clear();
    UxProgressDialog progress(m_progress);
    const ConversionService::Result result = m_service.convert(inputs(), progress, messageArea());
    if (stopped(result))
        return result.outcome;
    m_log = result.text;
    m_logSave = LogSave::NotAsked;
    m_sourceCount = result.sourceCount;
    m_writtenCount = result.writtenCount;
    if (!m_log.isEmpty())
        m_notices.notice(m_log.view());
    if (!logFileText.isEmpty())
        m_logSave = ConversionService::saveLog(logFileText, m_log, m_notices);
    return result.outcome;
}

void ConversionDialogModel::close()
{
    m_rows.clear();
}

void ConversionDialogModel::toggleRow(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows[size_t(row)].checked = !m_rows[size_t(row)].checked;
}
