#include "convert/ScreenplayBatch.h"

#include "convert/QuickFile.h"
#include "convert/SpareFiles.h"
#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "platform/FileSystem.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Beside the target, so that the rename stays within one file system; the
// name says whose it is should the box of the file layer show it.
std::string temporaryName(std::string_view target)
{
    static std::atomic<unsigned> counter{0};
    static const std::string process = std::to_string(::getpid());
    return std::string(target) + "." + process + "-" + std::to_string(counter++) + ".part";
}

} // namespace

ScreenplayBatch::Temporary::Temporary() = default;

ScreenplayBatch::Temporary::Temporary(Temporary&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)),
      m_fd(std::exchange(other.m_fd, -1)), m_file(std::move(other.m_file))
{
}

ScreenplayBatch::Temporary& ScreenplayBatch::Temporary::operator=(Temporary&& other) noexcept
{
    if (this != &other) {
        discard();
        m_target = std::move(other.m_target);
        m_temporary = std::move(other.m_temporary);
        m_fd = std::exchange(other.m_fd, -1);
        m_file = std::move(other.m_file);
    }
    return *this;
}

ScreenplayBatch::Temporary::~Temporary()
{
    discard();
}

bool ScreenplayBatch::Temporary::write(const FCString& path, const FCString& text,
                                       SpareFiles* spares)
{
    discard();
    if (path.isEmpty() || path.view().front() != '/')
        return false;
    std::string spare;
    if (spares && spares->take(spare, text.view().size())) {
        // A spare keeps the temporary name it was given for another
        // target: all of them lie in the one output folder.
        const int fd = QuickFile::overwrite(
            spare, text.view(), [spares](const struct stat& info) { return spares->fits(info); });
        if (fd >= 0) {
            m_target = path;
            m_temporary = std::move(spare);
            m_fd = fd;
            return true;
        }
        SpareFiles::drop(spare);
    }
    std::string temporary = temporaryName(path.view());
    const int fd = QuickFile::create(temporary, text.view());
    if (fd < 0)
        return false;
    if (spares && !spares->knowsFresh())
        spares->noteFresh(fd);
    m_target = path;
    m_temporary = std::move(temporary);
    m_fd = fd;
    return true;
}

int ScreenplayBatch::Temporary::handle() const
{
    return m_file ? m_file->handle() : m_fd;
}

void ScreenplayBatch::Temporary::close()
{
    if (m_file)
        m_file->close();
    m_file.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void ScreenplayBatch::Temporary::discard()
{
    if (!isOpen())
        return;
    close();
    if (FileSystem::deleteFile(m_temporary) != WinError::Success)
        Trace::write("ScreenplayBatch: cannot remove " + m_temporary + "\n");
}

ScreenplayBatch::ScreenplayBatch(std::size_t capacity) : m_capacity(capacity < 1 ? 1 : capacity)
{
    m_pending.reserve(m_capacity);
}

ScreenplayBatch::~ScreenplayBatch()
{
    std::vector<FCString> failed;
    commit(failed);
    for (const FCString& path : failed)
        Trace::write("ScreenplayBatch: not written: " + path.toStdString() + "\n");
}

bool ScreenplayBatch::add(const FCString& path, const FCString& text)
{
    const FCPathName target(path);
    if (!target.isAbsolute())
        return false;
    Temporary pending;
    if (pending.write(target.string(), text)) {
        m_pending.push_back(std::move(pending));
        return true;
    }
    // The file layer's way: it asks the user about what goes wrong.
    pending.m_target = target.string();
    pending.m_temporary = temporaryName(target.string().view());
    pending.m_file = std::make_unique<FCFile>();
    try {
        pending.m_file->open(pending.m_temporary.c_str(), FileSystem::CreateAlways,
                             FCFile::WriteAccess, FCFile::Share, FCFile::Attributes);
    } catch (const Diagnostic&) {
        pending.m_file.reset();
        return false;
    }
    if (!pending.m_file->isOpen()) {
        pending.m_file.reset();
        return false;
    }
    try {
        text.writeText(*pending.m_file);
    } catch (const Diagnostic&) {
        // The temporary goes with pending.
        return false;
    }
    // The file stays open until the commit has made it durable.
    m_pending.push_back(std::move(pending));
    return true;
}

void ScreenplayBatch::adopt(Temporary temporary)
{
    if (temporary.isOpen())
        m_pending.push_back(std::move(temporary));
}

void ScreenplayBatch::commit(std::vector<FCString>& failed)
{
    if (m_pending.empty())
        return;
    // One file is flushed alone; more share one pass over the file system,
    // which writes their data, their inodes and the folder together rather
    // than waiting for the disk once per file.
    // The pass also puts the names traded at the last commit on the disk,
    // so that the files then moved aside may now be written over.
    const int first = m_pending.front().handle();
    const bool whole = m_pending.size() > 1 || m_spares;
    const bool durable = whole ? ::syncfs(first) == 0 : ::fdatasync(first) == 0;
    if (!durable)
        Trace::write("ScreenplayBatch: cannot flush the temporary files\n");
    else if (m_spares)
        m_spares->settle();
    for (Temporary& pending : m_pending) {
        if (!durable || !rename(pending)) {
            pending.discard();
            failed.push_back(pending.m_target);
            continue;
        }
        pending.close();
    }
    m_pending.clear();
}

bool ScreenplayBatch::rename(const Temporary& pending)
{
    std::string nativeTemporary, nativeTarget;
    if (!QuickFile::nativePath(pending.m_temporary, nativeTemporary) ||
        !QuickFile::nativePath(pending.m_target.view(), nativeTarget)) {
        Trace::write("ScreenplayBatch: cannot put the file in place: " +
                     pending.m_target.toStdString() + "\n");
        return false;
    }
    off_t oldSize = 0;
    if (m_spares && tradeNames(nativeTemporary, nativeTarget, oldSize)) {
        m_spares->give(pending.m_temporary, oldSize);
        return true;
    }
    if (std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0) {
        Trace::write("ScreenplayBatch: cannot put the file in place: " +
                     pending.m_target.toStdString() + "\n");
        return false;
    }
    return true;
}

bool ScreenplayBatch::tradeNames(const std::string& temporary, const std::string& target,
                                 off_t& oldSize) const
{
    // Only an old file that could be written over is kept: a link, a
    // folder or a file with another name goes the rename's way, which
    // leaves what it names alone.
    struct stat info;
    if (::lstat(target.c_str(), &info) != 0 || !m_spares->fits(info) ||
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0)
        return false;
    oldSize = info.st_size;
    return true;
}
