#include "convert/ConversionDialogModel.h"

#include "convert/ConversionState.h"
#include "convert/MessageIdReport.h"
#include "convert/ScreenplayWriter.h"
#include "convert/SourceCollection.h"
#include "convert/SourceSurvey.h"
#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "fc/FileReplacement.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>

const char* ConversionDialogModel::title()
{
    return "tavrelCPP->screenplay.txt";
}

const char* ConversionDialogModel::progressTitle()
{
    return Sjis::of("台本の出力");
}

const char* ConversionDialogModel::progressText()
{
    return Sjis::of("旧CPPからravcon形式の台本を出力しています");
}

const char* ConversionDialogModel::definitionsPickerTitle()
{
    return Sjis::of("名前定義ファイルの選択");
}

const char* ConversionDialogModel::definitionsPickerFilter()
{
    return Sjis::of("名前定義ファイル,*.txt,全てのファイル,*.*");
}

const char* ConversionDialogModel::overwriteTitle()
{
    return Sjis::of("ログファイル上書きの確認");
}

const char* ConversionDialogModel::cancelledLine()
{
    return Sjis::of("処理はキャンセルされました");
}

ConversionDialogModel::ConversionDialogModel(ConversionState& state) : m_state(state) {}

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

void ConversionDialogModel::setMessage(const FCString& text)
{
    m_message = text;
    if (m_listener)
        m_listener();
}

void ConversionDialogModel::refuse(const char* text)
{
    m_refusal = FCString(Sjis::of(text));
    UxDialogs::notice(m_refusal.view());
}

bool ConversionDialogModel::checkInputs()
{
    m_refusal.clear();
    if (sourceFolderText.isEmpty())
        setMessage(FCString(Sjis::of("入力するCPPのあるフォルダを指定して下さい")));
    else if (outputFolderText.isEmpty())
        setMessage(FCString(Sjis::of("台本を出力するフォルダを指定して下さい。")));
    else if (definitionsText.isEmpty())
        setMessage(FCString(Sjis::of("真の名前を定義したファイルを指定して下さい。"
                                     "真の名前,OBJECT名 の形で定義されています。")));
    else
        return true;
    return false;
}

bool ConversionDialogModel::loadInputs(bool forSurvey)
{
    if (!SourceCollection::folderExists(sourceFolderText)) {
        refuse("ソースフォルダが見つかりません");
        return false;
    }
    if (!SourceCollection::folderExists(outputFolderText)) {
        refuse("出力先フォルダが見つかりません");
        return false;
    }
    m_state.resetConversionState();
    if (!m_state.loadNameDefinitions(FCPathName(definitionsText).string())) {
        refuse("名前定義ファイルを登録できません");
        return false;
    }
    if (!forSurvey)
        m_state.header().loadNames(m_state.definitionsText());
    fillRows();
    return true;
}

void ConversionDialogModel::fillRows()
{
    m_rows.clear();
    for (const auto& [object, name] : m_state.nameDefinitions())
        m_rows.push_back({FCString(std::string_view(object)), name, name.id(), true});
    // The list shows the objects in the program's locale order.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) {
        return a.objectName.compare(b.objectName) < 0;
    });
}

ConversionDialogModel::Outcome ConversionDialogModel::preSurvey()
{
    if (!checkInputs())
        return Outcome::InputMissing;
    m_state.resetConversionState();
    if (!loadInputs(true))
        return Outcome::Refused;
    SourceSurvey::surveyFolder(m_state, sourceFolderText, includeSubfolders,
                               [this](const FCString& text) { setMessage(text); });
    m_report = MessageIdReport::text(m_state);
    UxDialogs::notice(m_report.view());
    return Outcome::Done;
}

ConversionDialogModel::Outcome ConversionDialogModel::convert()
{
    if (!checkInputs())
        return Outcome::InputMissing;
    if (!loadInputs(false))
        return Outcome::Refused;

    setMessage(FCString(Sjis::of("処理対象ファイル一覧の作成中...")));
    SourceCollection::Sources sources;
    (void)SourceCollection::collectSources(sources, sourceFolderText, "*.cpp", includeSubfolders);
    setMessage(FCString());

    UxProgressDialog progress;
    progress.setTitle(progressTitle());
    progress.setText(progressText());
    progress.setupBar(true, 0, 0, int32_t(sources.size()));
    progress.open(true);

    m_log.create(65536, "");
    m_logSave = LogSave::NotAsked;
    m_sourceCount = int(sources.size());
    m_writtenCount = 0;
    bool cancelled = false;
    // The screenplay files go into place a batch at a time, which makes them
    // durable with one flush per batch instead of one per file; every file
    // of the run is in place before the log shows the end or the cancel.
    ScreenplayWriter writer(m_state, ScreenplayWriter::RunBatch);
    for (const FCString& source : sources) {
        if (writer.convertSource(source, outputFolderText, m_log) ==
            ScreenplayWriter::Result::Written)
            ++m_writtenCount;
        FCString text = FCPathName(source).fileNamePart();
        text << Sjis::of("を出力中");
        progress.setText(text.view());
        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            m_writtenCount -= writer.finish(m_log);
            m_log << "\n" << cancelledLine() << "\n";
            cancelled = true;
            break;
        }
    }
    m_writtenCount -= writer.finish(m_log);
    // The progress line goes before the log appears, so that the two never
    // share the screen.
    progress.close();
    if (!m_log.isEmpty())
        UxDialogs::notice(m_log.view());
    if (!logFileText.isEmpty())
        saveLog();
    return cancelled ? Outcome::Cancelled : Outcome::Done;
}

void ConversionDialogModel::saveLog()
{
    const FCPathName path(logFileText);
    uint32_t attributes = 0;
    if (fileExists(path.text(), &attributes)) {
        FCString question(path.string());
        question << Sjis::of("\nが存在しています。上書きしても構いませんか？");
        if (!UxDialogs::question(question.view(), overwriteTitle())) {
            m_logSave = LogSave::KeptExisting;
            return;
        }
    }
    // A folder cannot take the log's place; the replacement refuses it.
    const bool saved = (attributes & FileSystem::AttributeDirectory) == 0 &&
                       FileReplacement::replace(path.string(), m_log.view());
    m_logSave = saved ? LogSave::Saved : LogSave::Failed;
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
