#include "app/PrintSettingsDialogModel.h"

#include "app/PrintSettingsHelp.h"
#include "format/ConfirmedFolderCreation.h"
#include "format/RunSettings.h"
#include "platform/ProgramFolders.h"
#include "platform/Sjis.h"
#include "ui/UxListViewControl.h"

#include <algorithm>
#include <cassert>

namespace {

int32_t numberOf(const FCString& text)
{
    return FCString::parseInteger(text.view());
}

FCString decimal(int32_t value)
{
    FCString text;
    text.setNumber(value);
    return text;
}

// Modes other than custom and the two larger presets print as PRESET-14p,
// and so the dialog shows them.
int shownMode(int mode)
{
    switch (mode) {
    case PrintFormat::ModeCustom:
    case PrintFormat::ModePreset16:
    case PrintFormat::ModePreset18:
        return mode;
    default:
        return PrintFormat::ModePreset14;
    }
}

} // namespace

PrintSettingsDialogModel::PrintSettingsDialogModel(Notices& notices, Purpose purpose,
                                                   const PrintFormat& format, RunSettings& run,
                                                   const FCString& scenarioFolder,
                                                   const std::vector<FCString>& suppressedNames,
                                                   const std::vector<FCString>& characters,
                                                   std::vector<std::string> faces,
                                                   FaceChoices::PrintedBy printedBy)
    : m_notices(notices), m_purpose(purpose), m_working(format), m_run(run), m_device(run.device),
      // The faces "カスタム" proposes or shows are the effective ones.
      m_faceChoices(std::move(faces),
                    {format.targetFace().toStdString(), format.generalFace().toStdString(),
                     format.commentFace().toStdString()},
                    std::move(printedBy))
{
    for (const FCString& name : characters) {
        const bool suppressed =
            std::any_of(suppressedNames.begin(), suppressedNames.end(),
                        [&](const FCString& entry) { return entry.view() == name.view(); });
        m_rows.push_back({name, suppressed});
    }

    m_message = FCString(Sjis::of("HTMLへの出力は、nolvikで直接行ってください\n"
                                  "OKを押すと印刷を開始します。"));

    // The run settings, not the record, say where the last confirmed run
    // went: they follow the running program, the record follows the file.
    m_destinationText = run.destinationOr(scenarioFolder);
    m_bundleByActor = run.bundleByActor;
    m_generic = run.genericScript();
    m_emphasis = run.commentEmphasis();
    m_logTicked = run.printLog();
    if (m_logTicked)
        m_logText = run.logPath;

    m_mode = shownMode(m_working.mode());
    if (m_mode == PrintFormat::ModeCustom) {
        fillCustom();
        m_customFilled = true;
    }

    m_typesetting = m_working.typesetting();
    m_greyText = decimal(m_working.customColEmphasis());
    const int background = m_working.customModeEmphasis();
    m_background = background >= 0 && background < BackgroundCount ? background : -1;
}

PrintSettingsDialogModel::~PrintSettingsDialogModel() = default;

const char* PrintSettingsDialogModel::title() const
{
    return m_purpose == PrintStart ? Sjis::of("印刷の実行") : Sjis::of("印刷設定");
}

const char* PrintSettingsDialogModel::okCaption() const
{
    return m_purpose == PrintStart ? Sjis::of("印刷開始") : Sjis::of("設定する");
}

int PrintSettingsDialogModel::checked(int face)
{
    assert(face >= 0 && face < PrintFormat::FaceCount && "the dialog has faces 0, 1 and 2");
    return face;
}

void PrintSettingsDialogModel::chooseLineBreaking(int index)
{
    // The combo's entries in the order of the stored numbers.
    if (index >= 0 && index <= static_cast<int>(TypesettingOptions::LineBreaking::Loose))
        m_typesetting.lineBreaking = TypesettingOptions::lineBreakingOf(index);
}

void PrintSettingsDialogModel::chooseDevice(OutputDevice device)
{
    m_device = device;
}

void PrintSettingsDialogModel::setBundleByActor(bool ticked)
{
    if (bundleEnabled())
        m_bundleByActor = ticked;
}

void PrintSettingsDialogModel::setDestinationText(std::string_view text)
{
    if (destinationEnabled())
        m_destinationText = FCString(text);
}

void PrintSettingsDialogModel::setLog(bool ticked)
{
    m_logTicked = ticked;
}

void PrintSettingsDialogModel::setLogText(std::string_view text)
{
    if (logEnabled())
        m_logText = FCString(text);
}

void PrintSettingsDialogModel::offerChanges(std::vector<FCString> folderHistory)
{
    // The settings form prints nothing, so it has no lines to choose.
    if (m_purpose != PrintStart)
        return;
    m_changesOffered = true;
    m_compareHistory = std::move(folderHistory);
    if (!m_compareHistory.empty())
        m_source.folderText = m_compareHistory.back();
}

void PrintSettingsDialogModel::setChangesOnly(bool ticked)
{
    if (m_changesOffered)
        m_changesOnly = ticked;
}

void PrintSettingsDialogModel::chooseSincePrint(bool sincePrint)
{
    if (changesSourceEnabled())
        m_source.sincePrint = sincePrint;
}

void PrintSettingsDialogModel::setCompareFolderText(std::string_view text)
{
    if (compareFolderEnabled())
        m_source.folderText = FCString(text);
}

void PrintSettingsDialogModel::chooseMode(int mode)
{
    m_mode = shownMode(mode);
    // The proposal is made once: choosing a preset and then "カスタム" again
    // keeps what the user has typed into the custom controls meanwhile.
    if (m_mode == PrintFormat::ModeCustom && !m_customFilled) {
        fillCustom();
        m_customFilled = true;
    }
}

void PrintSettingsDialogModel::fillCustom()
{
    // The effective values: in a preset mode, the preset's faces, the
    // weights 700/400/700 and the preset's sizes.
    const FCString* faces[PrintFormat::FaceCount] = {
        &m_working.targetFace(), &m_working.generalFace(), &m_working.commentFace()};
    const int weights[PrintFormat::FaceCount] = {
        m_working.targetWeight(), m_working.generalWeight(), m_working.commentWeight()};
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        m_faceIndex[size_t(face)] = m_faceChoices.indexOf(faces[face]->view());
        m_weightText[size_t(face)] = decimal(weights[face]);
    }
    m_fontSizeText = decimal(m_working.fontSize());
    m_lineWidthText = decimal(m_working.lineWidth());
    m_linesPerPageText = decimal(m_working.linesPerPage());
    m_charsPerLineText = decimal(m_working.charsPerLine());
    m_autoCalc = m_working.hasFlag(PrintFormat::FlagAutoCalc);
    if (m_autoCalc) {
        m_sizesReadOnly = true;
        recalculate();
    }
}

void PrintSettingsDialogModel::selectFace(int face, int index)
{
    checked(face);
    if (!customEnabled())
        return;
    m_faceIndex[size_t(face)] = index >= 0 && index < m_faceChoices.size() ? index : -1;
}

void PrintSettingsDialogModel::setWeightText(int face, std::string_view text)
{
    checked(face);
    if (customEnabled())
        m_weightText[size_t(face)] = FCString(text);
}

void PrintSettingsDialogModel::editFontHeight(std::string_view text)
{
    if (!customEnabled())
        return;
    m_fontSizeText = FCString(text);
    if (m_autoCalc)
        recalculate();
}

void PrintSettingsDialogModel::editLineWidth(std::string_view text)
{
    if (!customEnabled())
        return;
    m_lineWidthText = FCString(text);
    if (m_autoCalc)
        recalculate();
}

void PrintSettingsDialogModel::editLinesPerPage(std::string_view text)
{
    if (customEnabled() && !m_sizesReadOnly)
        m_linesPerPageText = FCString(text);
}

void PrintSettingsDialogModel::editCharsPerLine(std::string_view text)
{
    if (customEnabled() && !m_sizesReadOnly)
        m_charsPerLineText = FCString(text);
}

void PrintSettingsDialogModel::setAutoCalc(bool ticked)
{
    if (!customEnabled())
        return;
    m_autoCalc = ticked;
    m_sizesReadOnly = ticked;
    if (ticked)
        recalculate();
}

void PrintSettingsDialogModel::recalculate()
{
    const int fontSize = numberOf(m_fontSizeText);
    const int lineWidth = numberOf(m_lineWidthText);
    // Below 1 the calculation changes nothing, and the fields keep their
    // texts as they are.
    if (fontSize < 1 || lineWidth < 1)
        return;
    int lines = 0;
    int chars = 0;
    PrintFormat::autoCalculate(fontSize, lineWidth, lines, chars);
    m_linesPerPageText = decimal(lines);
    m_charsPerLineText = decimal(chars);
}

void PrintSettingsDialogModel::chooseBackground(int background)
{
    m_background = background >= 0 && background < BackgroundCount ? background : -1;
}

void PrintSettingsDialogModel::setGreyText(std::string_view text)
{
    m_greyText = FCString(text);
}

bool PrintSettingsDialogModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount())
        return false;
    m_rows[size_t(row)].ticked = ticked;
    return true;
}

bool PrintSettingsDialogModel::toggle(int row)
{
    return row >= 0 && row < rowCount() && setTicked(row, !m_rows[size_t(row)].ticked);
}

void PrintSettingsDialogModel::selectAll()
{
    for (Row& row : m_rows)
        row.ticked = true;
}

void PrintSettingsDialogModel::clearAll()
{
    for (Row& row : m_rows)
        row.ticked = false;
}

int PrintSettingsDialogModel::suppressedCount() const
{
    return int(
        std::count_if(m_rows.begin(), m_rows.end(), [](const Row& row) { return row.ticked; }));
}

FCString PrintSettingsDialogModel::countText() const
{
    return decimal(suppressedCount());
}

void PrintSettingsDialogModel::defineColumns(UxListViewControl& list)
{
    const UxListViewControl::ColumnDescriptor columns[] = {{"", 24}, {Sjis::of("キャラ名"), 300}};
    list.defineColumns(columns);
}

void PrintSettingsDialogModel::fillList(UxListViewControl& list) const
{
    for (const Row& row : m_rows) {
        const int at = list.setCell(list.rowCount(), 0, {});
        if (at < 0)
            return;
        list.setCell(at, 1, row.name.view());
    }
    showTicks(list);
}

void PrintSettingsDialogModel::showTicks(UxListViewControl& list) const
{
    for (int row = 0; row < rowCount() && row < list.rowCount(); ++row) {
        if (m_rows[size_t(row)].ticked)
            list.check(row);
        else
            list.uncheck(row);
    }
}

const char* PrintSettingsDialogModel::helpText(int controlId)
{
    return PrintSettingsHelp::textFor(controlId);
}

void PrintSettingsDialogModel::showHelp(int controlId)
{
    m_message = FCString(helpText(controlId));
    m_messageIsHelp = true;
}

std::string PrintSettingsDialogModel::fieldLabel(int controlId)
{
    const char* const faceLabels[PrintFormat::FaceCount] = {
        "対象キャラ台詞用フォント名", "通常台詞用フォント名", "解説等用フォント名"};
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        if (controlId == FaceIds[face])
            return Sjis::of(faceLabels[face]);
        // Three weights share their label; the face they belong to tells
        // them apart.
        if (controlId == WeightIds[face])
            return std::string(Sjis::of(faceLabels[face])) + Sjis::of("」の「太さ(0-1000)");
    }
    switch (controlId) {
    case FontSizeId:
        return Sjis::of("ﾌｫﾝﾄ高");
    case LineWidthId:
        return Sjis::of("改行幅");
    case LinesPerPageId:
        return Sjis::of("行/Page");
    case CharsPerLineId:
        return Sjis::of("文字/行");
    default:
        return {};
    }
}

int PrintSettingsDialogModel::firstEmptyCustomField() const
{
    // Row by row, as the form shows them: each face with its weight, then
    // the sizes.
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        if (m_faceIndex[size_t(face)] < 0)
            return FaceIds[face];
        if (m_weightText[size_t(face)].isEmpty())
            return WeightIds[face];
    }
    const std::pair<int, const FCString*> sizes[] = {{FontSizeId, &m_fontSizeText},
                                                     {LineWidthId, &m_lineWidthText},
                                                     {LinesPerPageId, &m_linesPerPageText},
                                                     {CharsPerLineId, &m_charsPerLineText}};
    for (const auto& [id, text] : sizes) {
        if (text->isEmpty())
            return id;
    }
    return 0;
}

bool PrintSettingsDialogModel::accept()
{
    std::string refusal;
    const int emptyField = customEnabled() ? firstEmptyCustomField() : 0;
    if (writesFiles(m_device) && m_destinationText.isEmpty()) {
        refusal = Sjis::of("出力先フォルダを指定してください");
    } else if (m_logTicked && m_logText.isEmpty()) {
        refusal = Sjis::of("印刷ログファイルを選択してください。\n通常は、カレントフォルダの "
                           "quillon.log.txtです。");
    } else if (compareFolderEnabled() && m_source.folderText.isEmpty()) {
        refusal = Sjis::of("比較する台本フォルダを指定してください。");
    } else if (emptyField != 0) {
        // The message alone leaves the user searching ten fields; the second
        // line names the one to fill first.
        refusal = Sjis::of("フォーマット設定が不完全です。すべての項目を入力して下さい。");
        refusal += Sjis::of("\n「");
        refusal += fieldLabel(emptyField);
        refusal += Sjis::of("」が空です。");
    }
    if (!refusal.empty()) {
        m_message = FCString(refusal);
        m_messageIsHelp = false;
        return false;
    }

    storeInput();
    if (!writesFiles(m_device)) {
        m_accepted = true;
        return true;
    }

    // The page writer appends the scene's folder name directly to the
    // destination, so it must end with a separator.
    FCString folder = m_destinationText;
    if (folder.view().back() != '/')
        folder.append("/");
    // The application's destination changes here, even when the folder is
    // then not created and the dialog stays open.
    m_run.destinationFolder = folder;
    if (!ConfirmedFolderCreation::run(folder.view(), Sjis::of(FolderCreationCaption), m_notices))
        return false;
    m_working.setDestFolder(m_run.destinationFolder);
    m_accepted = true;
    return true;
}

void PrintSettingsDialogModel::storeInput()
{
    m_working.setDevice(m_device);
    m_working.setBundleByActor(m_bundleByActor);
    m_working.setMode(m_mode);
    if (customEnabled()) {
        for (int face = 0; face < PrintFormat::FaceCount; ++face)
            m_working.setCustomFont(face, FCString(faces()[size_t(m_faceIndex[size_t(face)])]),
                                    numberOf(m_weightText[size_t(face)]));
        m_working.setCustomFontSize(numberOf(m_fontSizeText));
        m_working.setCustomLineWidth(numberOf(m_lineWidthText));
        m_working.setCustomLinesPerPage(numberOf(m_linesPerPageText));
        m_working.setCustomCharsPerLine(numberOf(m_charsPerLineText));
        m_working.setFlag(PrintFormat::FlagAutoCalc, m_autoCalc);
    }

    std::vector<FCString> suppressed;
    for (const Row& row : m_rows) {
        if (row.ticked)
            suppressed.push_back(row.name);
    }
    m_working.rebuildSuppressed(suppressed);

    m_working.setFlag(PrintFormat::FlagGeneric, m_generic);
    m_working.setFlag(PrintFormat::FlagCommentEmphasis, m_emphasis);
    m_working.setLog(m_logTicked, m_logText.text());
    m_working.setTypesetting(m_typesetting);
    m_working.setCustomModeEmphasis(m_background);
    m_working.setCustomColEmphasis(numberOf(m_greyText));
}

bool PrintSettingsDialogModel::apply(PrintFormat& format, RunSettings& run) const
{
    if (!m_accepted)
        return false;
    format = m_working;
    run.setSwitches(RunSettings::switchesOfFormatFlags(m_working.flags()));
    run.logPath = m_working.logName();
    run.device = m_working.device();
    run.bundleByActor = m_working.bundleByActor();
    return true;
}

std::string PrintSettingsDialogModel::logBrowserStart(std::string_view text)
{
    return text.empty() ? ProgramFolders::programFolder() : std::string(text);
}
