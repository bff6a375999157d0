#include "voices/VoiceSorter.h"

#include "fc/FileErrorText.h"
#include "fc/Progress.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FileTransfer.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"

#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// No folder holds this many files of one name; beyond it something is
// wrong, and the sort of that file gives up instead of searching on.
constexpr int MaximumVariants = 1000;

bool stopsEverything(uint32_t error)
{
    return error == WinError::DiskFull || error == WinError::DiskQuotaExceeded;
}

std::string reason(uint32_t error)
{
    const char* text = FileErrorText::reason(error);
    std::string words = text ? TextCodec::toUtf8(text) : "error " + std::to_string(error);
    while (!words.empty() && words.front() == '\n')
        words.erase(0, 1);
    return words;
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat infoA, infoB;
    return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
           infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

} // namespace

VoiceSorter::VoiceSorter(std::string destination, bool move, const Clock& clock)
    : m_destination(std::move(destination)), m_move(move), m_clock(clock)
{
}

std::string VoiceSorter::variant(const std::string& name, int n)
{
    if (n <= 1)
        return name;
    const std::size_t dot = name.find_last_of('.');
    const std::string tag = "(" + std::to_string(n) + ")";
    if (dot == std::string::npos || dot == 0)
        return name + tag;
    return name.substr(0, dot) + tag + name.substr(dot);
}

VoiceSorter::Outcome VoiceSorter::run(const std::vector<SortItem>& items, Progress& progress)
{
    m_counts = Counts();
    m_errors.clear();
    if (uint32_t error = FileTransfer::makeFolders(m_destination)) {
        fail("cannot make the folder", m_destination, error);
        return Outcome::Failed;
    }
    if (!openLog())
        return Outcome::Failed;
    progress.setTitle(Sjis::of("納品音声の振り分け"));
    progress.setText(Sjis::of("音声ファイルを振り分けています。"));
    progress.setupBar(true, 0, 0, int32_t(items.size()));
    progress.open(true);
    Outcome outcome = Outcome::Done;
    for (const SortItem& item : items) {
        const ItemResult result = sortOne(item);
        if (result == ItemResult::Interrupted) {
            // As a kill would: the log and the progress stay as they are.
            ::close(m_log);
            m_log = -1;
            return Outcome::Interrupted;
        }
        if (result != ItemResult::Done)
            outcome = Outcome::Failed;
        if (result == ItemResult::Stop)
            break;
        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            if (outcome == Outcome::Done)
                outcome = Outcome::Cancelled;
            break;
        }
    }
    progress.close();
    closeLog(outcome == Outcome::Done ? Sjis::of("振り分け終了") : Sjis::of("振り分け中断"));
    return outcome;
}

VoiceSorter::ItemResult VoiceSorter::sortOne(const SortItem& item)
{
    bool sourceGone = false;
    for (std::size_t k = 0; k < item.folders.size(); ++k) {
        const ItemResult result =
            place(item, item.folders[k], k + 1 == item.folders.size(), sourceGone);
        if (result != ItemResult::Done)
            return result;
    }
    if (!m_move || sourceGone)
        return ItemResult::Done;
    // The source goes only once every copy is safe on the disk, names
    // included; a copy that is the source itself keeps it.
    for (const std::string& folder : item.folders) {
        if (uint32_t error = FileTransfer::syncFolder(folder))
            return fail("cannot flush the folder", folder, error);
        if (sameFile(item.source, folder + "/" + item.name))
            return ItemResult::Done;
    }
    if (interrupted(Step::FolderSynced))
        return ItemResult::Interrupted;
    if (uint32_t error = FileTransfer::remove(item.source))
        return fail("cannot remove the sorted source", item.source, error);
    if (interrupted(Step::SourceRemoved))
        return ItemResult::Interrupted;
    return log(Sjis::of("元を削除"), item.source, {}) ? ItemResult::Done : ItemResult::Stop;
}

VoiceSorter::ItemResult VoiceSorter::place(const SortItem& item, const std::string& folder,
                                           bool last, bool& sourceGone)
{
    if (m_readyFolders.count(folder) == 0) {
        if (uint32_t error = FileTransfer::makeFolders(folder))
            return fail("cannot make the folder", folder, error);
        // What an interrupted run left half written.
        if (uint32_t error = FileTransfer::removeStartingWith(folder, TemporaryPrefix))
            return fail("cannot remove a temporary file in", folder, error);
        m_readyFolders.insert(folder);
        if (interrupted(Step::FolderReady))
            return ItemResult::Interrupted;
    }
    int n = 1;
    // A name taken between the look and the rename is looked at again; the
    // attempts are bounded all the same, so a file system that keeps
    // answering "taken" for a name it does not show cannot keep us here.
    for (int attempt = 0; n <= MaximumVariants && attempt < 2 * MaximumVariants; ++attempt) {
        const std::string target = folder + "/" + variant(item.name, n);
        FileTransfer::Presence presence;
        if (uint32_t error = FileTransfer::compare(item.source, target, presence))
            return fail("cannot compare with", target, error);
        if (presence == FileTransfer::Presence::Same) {
            ++m_counts.alreadyThere;
            return log(Sjis::of("既にあります"), item.source, target) ? ItemResult::Done
                                                                      : ItemResult::Stop;
        }
        if (presence == FileTransfer::Presence::Different) {
            ++n;
            continue;
        }
        if (m_move && last && !item.viaLink) {
            const uint32_t error = FileTransfer::renameNoReplace(item.source, target);
            if (error == WinError::FileExists)
                continue; // Taken meanwhile: look at it again.
            if (error == WinError::Success) {
                sourceGone = true;
                ++m_counts.moved;
                m_counts.keptBeside += n > 1;
                if (interrupted(Step::Placed))
                    return ItemResult::Interrupted;
                return log(Sjis::of("移動"), item.source, target) ? ItemResult::Done
                                                                  : ItemResult::Stop;
            }
            if (error != WinError::NotSameDevice)
                return fail("cannot move to", target, error);
        }
        const std::string temporary = folder + "/" + TemporaryPrefix + std::to_string(::getpid()) +
                                      "-" + std::to_string(m_temporaries++);
        if (uint32_t error = FileTransfer::copyFlushed(item.source, temporary))
            return fail("cannot copy to", target, error);
        if (interrupted(Step::CopyWritten))
            return ItemResult::Interrupted;
        if (m_move) {
            FileTransfer::Presence copied;
            uint32_t error = FileTransfer::compare(item.source, temporary, copied);
            if (!error && copied != FileTransfer::Presence::Same)
                error = WinError::FileCorrupt;
            if (error) {
                FileTransfer::remove(temporary);
                return fail("the copy does not read back the same", target, error);
            }
            if (interrupted(Step::CopyVerified))
                return ItemResult::Interrupted;
        }
        const uint32_t error = FileTransfer::renameNoReplace(temporary, target);
        if (error != WinError::Success)
            FileTransfer::remove(temporary);
        if (error == WinError::FileExists)
            continue;
        if (error)
            return fail("cannot name the copy", target, error);
        if (interrupted(Step::Placed))
            return ItemResult::Interrupted;
        ++m_counts.copied;
        m_counts.keptBeside += n > 1;
        return log(Sjis::of("コピー"), item.source, target) ? ItemResult::Done : ItemResult::Stop;
    }
    return fail("too many files of that name in", folder, WinError::FileExists);
}

VoiceSorter::ItemResult VoiceSorter::fail(const std::string& what, const std::string& path,
                                          uint32_t error)
{
    ++m_counts.failed;
    m_errors.push_back(what + " " + path + ": " + reason(error));
    return stopsEverything(error) ? ItemResult::Stop : ItemResult::Failed;
}

bool VoiceSorter::openLog()
{
    const std::string path = TextCodec::fromUtf8(m_destination + "/" + LogFileName);
    int handle = FileSystem::InvalidHandle;
    uint32_t error = FileSystem::open(path, FileSystem::OpenAlways, FileSystem::GenericWrite,
                                      FileSystem::ShareRead, FileSystem::AttributeNormal, handle);
    int64_t end = 0;
    if (!error)
        error = FileSystem::seek(handle, 0, FileSystem::SeekEnd, end);
    if (error) {
        FileSystem::close(handle);
        fail("cannot open the log", m_destination + "/" + LogFileName, error);
        return false;
    }
    m_log = handle;
    char stamp[32];
    const std::time_t now = m_clock.now();
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    return writeLine(std::string(Sjis::of("振り分け開始\t")) + stamp + "\t" +
                     (m_move ? Sjis::of("移動") : Sjis::of("コピー")) + "\n");
}

bool VoiceSorter::log(std::string_view action, const std::string& from, const std::string& to)
{
    std::string line(action);
    line += '\t';
    line += TextCodec::fromUtf8(from);
    if (!to.empty()) {
        line += '\t';
        line += TextCodec::fromUtf8(to);
    }
    return writeLine(line + "\n");
}

bool VoiceSorter::writeLine(const std::string& line)
{
    // One write per line, so that a line is in the log whole or not at all
    // whatever stops the run.
    uint32_t done = 0;
    const uint32_t error = FileSystem::write(m_log, line.data(), uint32_t(line.size()), done);
    if (error == WinError::Success && done == line.size())
        return true;
    fail("cannot write the log", m_destination + "/" + LogFileName,
         error ? error : WinError::DiskFull);
    return false;
}

void VoiceSorter::closeLog(std::string_view closing)
{
    std::string line(closing);
    line += Sjis::of("\t済 ") + std::to_string(m_counts.copied + m_counts.moved);
    line += Sjis::of("\t既存 ") + std::to_string(m_counts.alreadyThere);
    line += Sjis::of("\t失敗 ") + std::to_string(m_counts.failed) + "\n";
    writeLine(line);
    if (::fsync(m_log) != 0)
        m_errors.push_back("cannot flush the log " + m_destination + "/" + LogFileName);
    FileSystem::close(m_log);
    m_log = -1;
}
