#include "reports/PrintRun.h"

#include "app/Quillon.h"
#include "app/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "fc/FCXListIterator.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/PngWriter.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "render/ScriptPrinter.h"
#include "reports/PageCountEstimate.h"
#include "ui/UxListViewControl.h"
#include "ui/UxProgressDialog.h"

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// The log is built in memory and written once at the end; this covers the
// log of a few thousand scenes without growing.
constexpr int32_t InitialLogCapacity = 65536;

// Runs step; false when the foundation raised. File errors have been put to
// the user by the file layer before they were raised; anything else is
// shown here, as nobody above would.
template <typename Step> bool guarded(Step step)
{
    try {
        step();
    } catch (const CannotOpenException&) {
        return false;
    } catch (const CannotReadException&) {
        return false;
    } catch (const CannotWriteException&) {
        return false;
    } catch (const Diagnostic& failure) {
        failure.show();
        return false;
    }
    return true;
}

} // namespace

PrintRun::PrintRun(Quillon& app) : m_app(app) {}

PrintRun::~PrintRun() = default;

const char* PrintRun::openingLine()
{
    return Sjis::of("; 印刷を開始します\n");
}

const char* PrintRun::printedSuffix()
{
    return Sjis::of("; 印刷されました\n");
}

FCString PrintRun::countLine(int printed)
{
    FCString line(Sjis::of("; 印刷されたファイル数："));
    line.appendNumber(printed);
    line.append(Sjis::of(" ファイル\n"));
    return line;
}

const char* PrintRun::completedLine()
{
    return Sjis::of("; 印刷処理は正常に終了しました。\n");
}

const char* PrintRun::cancelledLine()
{
    return Sjis::of("; 印刷処理は中断されました。直前のファイルまでは、印刷が終了しています。\n");
}

void PrintRun::configure(const Quillon& app, ScriptPrinter& printer)
{
    // A scene is set up for printing exactly as for counting its pages.
    PageCountEstimate::configurePrinter(app, printer);
}

void PrintRun::excludeUnprinted(ScriptPrinter& printer, const ScriptInfo& record) const
{
    FCXListIterator<FCString> suppressed(m_app.suppressedCharacters());
    while (const FCString* name = suppressed.next()) {
        if (!printer.exclude(*name))
            Trace::write("PrintRun: no exclusion slot left for a suppressed character\n");
    }
    if (record.printTargetCount() >= record.characterCount())
        return;
    FCXListIterator<FCIdString> characters(record.characters());
    while (const FCIdString* character = characters.next()) {
        if (record.isPrintTarget(character->view()))
            continue;
        if (!printer.exclude(FCString(character->view())))
            Trace::write("PrintRun: no exclusion slot left for a character\n");
    }
}

bool PrintRun::printScene(const FCString& fileName, const ScriptInfo& record)
{
    ScriptPrinter printer;
    configure(m_app, printer);

    std::string path(m_app.scenarioFolder().view());
    path.append(fileName.view());
    if (!guarded([&] { printer.load(path.c_str()); }))
        return false;

    // Every device above the printer writes page files, so each of them
    // gets the destination; none may write relative to the working folder.
    const int device = m_app.outputDevice();
    if (device > ScriptPrinter::OutputPrinter) {
        FCString destination = m_app.destinationOrScenarioFolder();
        // Page folders are put directly behind the destination.
        if (!destination.isEmpty() && destination.view().back() != '/')
            destination.append("/");
        printer.setDestinationFolder(destination);
    }
    // Exclusion works on the loaded character table, so it comes after load.
    excludeUnprinted(printer, record);
    // PNG pages are encoded side by side in the background; the scene is
    // printed once the last of its files is in place.
    std::optional<PngWriter::Pipeline> pages;
    if (device == ScriptPrinter::OutputPng)
        pages.emplace();
    // A scene stopped half-way by a failure does not count as printed.
    return guarded([&] { printer.printAll(device); });
}

PrintRun::Outcome PrintRun::printAll(const UxListViewControl& list)
{
    Outcome outcome;
    const int rows = list.rowCount();
    UxProgressDialog progress;
    progress.setTitle(Sjis::of("台本の印刷"));
    progress.setText(Sjis::of("台本を印刷しています。"));
    progress.setupBar(true, 0, 0, rows);
    progress.setStepSize(1);
    progress.open(true);

    m_log.clear();
    m_log.reserve(InitialLogCapacity);
    m_log.append(openingLine());

    const char* printing = Sjis::of("を印刷しています...");
    std::string text;
    for (int row = 0; row < rows; ++row) {
        const UxListViewControl::Cell* name = list.cell(row, ScriptCatalogue::ColumnFileName);
        const std::string fileName = name ? name->text : std::string();
        text.assign(fileName);
        text.append(printing);
        progress.setText(text);

        if (list.isChecked(row)) {
            const ScriptInfo* record = m_app.catalogue().recordOfRow(list, row);
            if (record && printScene(FCString(std::string_view(fileName)), *record)) {
                ++outcome.printed;
                m_log.append(fileName);
                m_log.append(printedSuffix());
            } else {
                ++outcome.unreadable;
            }
        }

        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            outcome.cancelled = true;
            break;
        }
    }

    m_log << countLine(outcome.printed);
    m_log.append(outcome.cancelled ? cancelledLine() : completedLine());

    if (m_app.printLog()) {
        outcome.logWritten = replaceFile(m_app.logPath(), m_log.view());
        outcome.logFailed = !outcome.logWritten;
        if (outcome.logWritten && m_opener)
            outcome.logOpened = m_opener(m_app.logPath());
    }
    progress.close();
    return outcome;
}

bool PrintRun::replaceFile(const FCString& path, std::string_view text)
{
    const FCPathName target(path);
    if (!target.isAbsolute())
        return false;
    static std::atomic<unsigned> counter{0};
    // Beside the log, so that the rename stays within one file system; the
    // name says whose it is should the box of the file layer show it.
    const std::string temporary = std::string(target.string().view()) + "." +
                                  std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                                  ".part";
    FCFile file;
    try {
        file.open(temporary.c_str(), FileSystem::CreateAlways, FCFile::WriteAccess, FCFile::Share,
                  FCFile::Attributes);
    } catch (const Diagnostic&) {
        return false;
    }
    if (!file.isOpen())
        return false;

    bool written = true;
    try {
        FCString(text).writeText(file);
    } catch (const Diagnostic&) {
        written = false;
    }
    // On disk before it takes the log's name, so that a crash cannot leave
    // an empty log where the old one was.
    if (written && ::fsync(file.handle()) != 0) {
        Trace::write("PrintRun: cannot flush " + temporary + "\n");
        written = false;
    }
    file.close();

    std::string nativeTemporary, nativeTarget;
    if (written &&
        (NativePath::fromCp932(temporary, nativeTemporary) != WinError::Success ||
         NativePath::fromCp932(target.string().view(), nativeTarget) != WinError::Success ||
         std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0)) {
        Trace::write("PrintRun: cannot put the log in place: " + std::string(path.view()) + "\n");
        written = false;
    }
    if (!written && FileSystem::deleteFile(temporary) != WinError::Success)
        Trace::write("PrintRun: cannot remove " + temporary + "\n");
    return written;
}
