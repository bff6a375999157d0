#include "app/VoiceCheckDialogModel.h"

#include "app/DeliveryCheck.h"
#include "app/InputHistory.h"
#include "app/Quillon.h"
#include "app/WindowOperation.h"
#include "fc/FCPathName.h"
#include "fc/FileReplacement.h"
#include "platform/FileTransfer.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "render/LineSelection.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"
#include "voices/DeliveryScan.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoicePatternSetting.h"
#include "voices/VoiceSorter.h"

#include <cstring>
#include <filesystem>
#include <optional>

namespace {

std::string cp932(std::string_view utf8)
{
    return TextCodec::fromUtf8(utf8);
}

// A native folder path without the "/" at its end (the root keeps it).
std::string withoutSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Whether inner is folder itself or lies inside it, links resolved.
bool sameOrInside(const std::string& folder, const std::string& inner)
{
    std::error_code failed;
    const std::filesystem::path outer = std::filesystem::weakly_canonical(folder, failed);
    if (failed)
        return false;
    std::filesystem::path path = std::filesystem::weakly_canonical(inner, failed);
    if (failed)
        return false;
    for (;;) {
        if (path == outer)
            return true;
        if (!path.has_relative_path())
            return false;
        path = path.parent_path();
    }
}

std::string count(const char* utf8Label, int value)
{
    return cp932(utf8Label) + std::to_string(value) + Sjis::of("件");
}

} // namespace

const char* VoiceCheckDialogModel::title()
{
    return Sjis::of("納品音声の確認");
}

const char* VoiceCheckDialogModel::defaultPatternHint()
{
    return Sjis::of("空欄のときは、ファイル名の中の最初の6桁の数字が番号になります。");
}

const char* VoiceCheckDialogModel::csvChooserTitle()
{
    return Sjis::of("CSVファイルの保存");
}

const char* VoiceCheckDialogModel::csvChooserFilter()
{
    return Sjis::of("CSVファイル,*.csv,全てのファイル,*");
}

const char* VoiceCheckDialogModel::destinationChooserTitle()
{
    return Sjis::of("振り分け先フォルダの選択");
}

VoiceCheckDialogModel::VoiceCheckDialogModel(Quillon& app, Notices& notices, ProgressView& progress,
                                             const Clock& clock)
    : m_app(app), m_notices(notices), m_progressView(progress), m_clock(clock)
{
    const std::vector<FCString>& history = historyEntries();
    if (!history.empty())
        deliveryText = history.back();
    if (!m_app.scenarioFolder().isEmpty())
        patternText = FCString(std::string_view(
            cp932(VoicePatternSetting::load(std::string(m_app.scenarioFolder().view())))));
    fillLists();
}

VoiceCheckDialogModel::~VoiceCheckDialogModel() = default;

const std::vector<FCString>& VoiceCheckDialogModel::historyEntries() const
{
    return m_app.histories().entries(HistorySlot);
}

bool VoiceCheckDialogModel::complete() const
{
    return m_check && m_check->result().complete();
}

int VoiceCheckDialogModel::recordedLines() const
{
    return m_check ? m_check->result().total.recorded : 0;
}

int VoiceCheckDialogModel::missingLines() const
{
    return m_check ? m_check->result().total.missing : 0;
}

bool VoiceCheckDialogModel::refuse(const char* utf8Message)
{
    return refuse(std::string(Sjis::of(utf8Message)));
}

bool VoiceCheckDialogModel::refuse(const std::string& cp932Message)
{
    m_message = FCString(std::string_view(cp932Message));
    return false;
}

bool VoiceCheckDialogModel::deliveryFolder(std::string& native)
{
    if (deliveryText.isEmpty())
        return refuse("納品フォルダを指定してください。");
    // Relative to the current folder, as the scenario folder is.
    FCPathName path(deliveryText);
    std::string utf8;
    if (!TextCodec::toUtf8Exact(path.string().view(), utf8))
        return refuse("納品フォルダの名前に、扱えない文字が含まれています。");
    native = withoutSeparator(utf8);
    std::error_code failed;
    if (!std::filesystem::is_directory(native, failed))
        return refuse(Sjis::of("納品フォルダが見つかりません。\n") + cp932(native));
    return true;
}

VoiceCheckDialogModel::Outcome VoiceCheckDialogModel::check()
{
    m_message.clear();
    if (m_app.scenarioFolder().isEmpty()) {
        refuse("台本フォルダを読み込んでから確認してください。");
        return Outcome::Refused;
    }
    std::string delivery;
    if (!deliveryFolder(delivery))
        return Outcome::Refused;
    std::string pattern, error;
    if (!TextCodec::toUtf8Exact(patternText.view(), pattern)) {
        refuse("番号のパターンに、扱えない文字が含まれています。");
        return Outcome::Refused;
    }
    const std::optional<VoiceNumberPattern> compiled = VoiceNumberPattern::compile(pattern, error);
    if (!compiled) {
        // The reason is the pattern compiler's own, in English.
        refuse(Sjis::of("番号のパターンが正しくありません。\n") + cp932(error));
        return Outcome::Refused;
    }
    m_app.histories().add(HistorySlot, deliveryText);
    const std::string folder(m_app.scenarioFolder().view());
    std::string notes;
    if (!VoicePatternSetting::save(folder, pattern))
        notes += Sjis::of("番号のパターンを台本フォルダの設定ファイルに保存できませんでした。\n");

    auto check = std::make_unique<DeliveryCheck>(m_app);
    bool cancelled = false;
    int scanError = 0;
    const bool ran = WindowOperation::completed([&] {
        {
            UxProgressDialog progress(m_progressView);
            scanError = check->scan(delivery, *compiled, {}, progress, cancelled);
        }
        if (scanError == 0 && !cancelled) {
            UxProgressDialog progress(m_progressView);
            cancelled = !check->check(checkContent, progress);
        }
    });
    if (!ran)
        return Outcome::Cancelled;
    if (scanError != 0) {
        refuse(Sjis::of("納品フォルダを読めません。\n") + cp932(delivery) + "\n" +
               cp932(std::strerror(scanError)));
        return Outcome::Refused;
    }
    if (cancelled)
        return Outcome::Cancelled;

    for (int scene : check->unreadableScenes())
        notes += Sjis::of("読めなかった台本（台詞を確認していません）: ") +
                 check->scenes()[std::size_t(scene)].path + "\n";
    for (const DeliverySkip& skip : check->delivery().skipped)
        notes += Sjis::of("飛ばした項目: ") + cp932(skip.path) + " (" +
                 cp932(DeliveryScan::reasonText(skip)) + ")\n";
    m_check = std::move(check);
    m_moved = false;
    m_app.setRecordedLines(m_check->result().total.recorded);
    fillLists();
    if (complete())
        notes.insert(0, Sjis::of("全ての台詞が収録済みで、破損したファイルはありません。\n"));
    while (!notes.empty() && notes.back() == '\n')
        notes.pop_back();
    m_message = FCString(std::string_view(notes));
    return Outcome::Done;
}

void VoiceCheckDialogModel::fillLists()
{
    m_table.redrawOff();
    m_table.clear();
    const std::vector<std::string>& header = VoiceReport::tableHeader();
    std::vector<std::string> titles;
    std::vector<UxListViewControl::ColumnDescriptor> columns;
    for (std::size_t i = 0; i < header.size(); ++i)
        titles.push_back(cp932(header[i]));
    for (std::size_t i = 0; i < titles.size(); ++i)
        columns.push_back({titles[i].c_str(), i == 0 ? 120 : i + 1 == titles.size() ? 90 : 60});
    m_table.defineColumns(columns);

    m_problems.redrawOff();
    m_problems.clear();
    const UxListViewControl::ColumnDescriptor problemColumns[] = {
        {Sjis::of("種類"), 80}, {Sjis::of("対象"), 160}, {Sjis::of("詳細"), 260}};
    m_problems.defineColumns(problemColumns);

    if (m_check) {
        const VoiceReport::Input report = m_check->report();
        for (const std::vector<std::string>& cells : VoiceReport::characterRows(report)) {
            const int row = m_table.setCell(m_table.rowCount(), 0, cp932(cells[0]));
            for (std::size_t i = 1; i < cells.size() && row >= 0; ++i)
                m_table.setText(row, int(i), cp932(cells[i]));
        }
        for (const std::vector<std::string>& cells : VoiceReport::problems(report)) {
            const int row = m_problems.setCell(m_problems.rowCount(), 0, cp932(cells[0]));
            if (row < 0)
                break;
            m_problems.setText(row, 1, cp932(cells[1]));
            // The further fields (scenes, a character, more files, a reason)
            // side by side in one cell.
            std::string rest;
            for (std::size_t i = 2; i < cells.size(); ++i) {
                if (i > 2)
                    rest += Sjis::of("、");
                rest += cp932(cells[i]);
            }
            m_problems.setText(row, 2, rest);
        }
    }
    m_table.redrawOn();
    m_problems.redrawOn();
}

std::string VoiceCheckDialogModel::csvStart() const
{
    return TextCodec::toUtf8(m_app.scenarioFolder().view()) + "voices.csv";
}

bool VoiceCheckDialogModel::saveCsv(const std::string& nativePath)
{
    m_message.clear();
    if (!m_check)
        return refuse("先に確認してください。");
    std::string path;
    if (!TextCodec::fromUtf8Exact(nativePath, path))
        return refuse("CSVファイルの名前に、扱えない文字が含まれています。");
    bool written = false;
    (void)WindowOperation::completed([&] {
        written = FileReplacement::replace(FCString(std::string_view(path)),
                                           VoiceReport::csv(m_check->report()));
    });
    if (!written)
        return refuse(Sjis::of("CSVファイルを保存できませんでした。\n") + path);
    m_message = FCString(std::string_view(Sjis::of("CSVファイルに保存しました。\n") + path));
    return true;
}

VoiceCheckDialogModel::Outcome VoiceCheckDialogModel::sort(const std::string& nativeDestination)
{
    m_message.clear();
    if (!canSort()) {
        refuse("先に確認してください。");
        return Outcome::Refused;
    }
    std::string cp932Name;
    // The log names every file by its Shift-JIS name.
    if (!TextCodec::fromUtf8Exact(nativeDestination, cp932Name)) {
        refuse("振り分け先フォルダの名前に、扱えない文字が含まれています。");
        return Outcome::Refused;
    }
    const std::string destination = withoutSeparator(nativeDestination);
    if (sameOrInside(m_check->deliveryFolder(), destination)) {
        refuse("振り分け先に、納品フォルダやその中のフォルダは指定できません。");
        return Outcome::Refused;
    }
    if (uint32_t error = FileTransfer::makeFolders(destination)) {
        refuse(Sjis::of("振り分け先フォルダを作れません。\n") + cp932(destination) + " (" +
               std::to_string(error) + ")");
        return Outcome::Refused;
    }

    std::vector<int> unsortable;
    const std::vector<SortItem> items =
        VoiceSortPlan::make(m_check->sortPlan(destination, byScene), &unsortable);
    VoiceSorter sorter(destination, moveFiles, m_clock);
    VoiceSorter::Outcome outcome = VoiceSorter::Outcome::Failed;
    {
        UxProgressDialog progress(m_progressView);
        outcome = sorter.run(items, progress);
    }
    const VoiceSorter::Counts& counts = sorter.counts();
    if (counts.moved > 0)
        m_moved = true;

    std::string summary;
    switch (outcome) {
    case VoiceSorter::Outcome::Done:
        summary = Sjis::of("振り分けが終わりました。\n");
        break;
    case VoiceSorter::Outcome::Cancelled:
    case VoiceSorter::Outcome::Interrupted:
        summary =
            Sjis::of("振り分けを中断しました。もう一度確認して振り分けると、続きから終えます。\n");
        break;
    case VoiceSorter::Outcome::Failed:
        summary = Sjis::of("振り分けられなかったファイルがあります。\n");
        break;
    }
    summary += cp932Name + "\n";
    summary += count("コピー ", counts.copied) + Sjis::of("、") + count("移動 ", counts.moved) +
               Sjis::of("、") + count("同じファイルがあったもの ", counts.alreadyThere) +
               Sjis::of("、") + count("別の名前で置いたもの ", counts.keptBeside) + Sjis::of("、") +
               count("失敗 ", counts.failed);
    for (const std::string& error : sorter.errors())
        summary += "\n" + cp932(error);
    for (int line : unsortable)
        summary += "\n" +
                   std::string(Sjis::of("名前をフォルダ名にできないため振り分けなかった台詞: ")) +
                   m_check->lines()[std::size_t(line)].label;
    m_sortSummary = FCString(std::string_view(summary));
    m_notices.notice(m_sortSummary.view(), title());
    return outcome == VoiceSorter::Outcome::Done || outcome == VoiceSorter::Outcome::Failed
               ? Outcome::Done
               : Outcome::Cancelled;
}

bool VoiceCheckDialogModel::canPrintMissing() const
{
    if (!m_printer || !m_check)
        return false;
    const VoiceCheck::Totals& total = m_check->result().total;
    return total.missing + total.broken > 0;
}

bool VoiceCheckDialogModel::printMissing()
{
    m_message.clear();
    if (!canPrintMissing())
        return false;
    LineSelection selection;
    if (m_check->selectMissing(selection) == 0)
        return false;
    (void)WindowOperation::completed([&] { m_printer(selection); });
    return true;
}
