#include "convert/ScreenplayBatch.h"

#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <unistd.h>

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
    static std::atomic<unsigned> counter{0};
    static const std::string process = std::to_string(::getpid());
    // Beside the target, so that the rename stays within one file system; the
    // name says whose it is should the box of the file layer show it.
    Pending pending{target.string(),
                    std::string(target.string().view()) + "." + process + "-" +
                        std::to_string(counter++) + ".part",
                    std::make_unique<FCFile>()};
    try {
        pending.file->open(pending.temporary.c_str(), FileSystem::CreateAlways, FCFile::WriteAccess,
                           FCFile::Share, FCFile::Attributes);
    } catch (const Diagnostic&) {
        return false;
    }
    if (!pending.file->isOpen())
        return false;
    try {
        text.writeText(*pending.file);
    } catch (const Diagnostic&) {
        pending.file->close();
        discard(pending.temporary);
        return false;
    }
    // The file stays open until the commit has made it durable.
    m_pending.push_back(std::move(pending));
    return true;
}

void ScreenplayBatch::commit(std::vector<FCString>& failed)
{
    if (m_pending.empty())
        return;
    // One file is flushed alone; more share one pass over the file system,
    // which writes their data, their inodes and the folder together rather
    // than waiting for the disk once per file.
    const int first = m_pending.front().file->handle();
    const bool durable = m_pending.size() == 1 ? ::fdatasync(first) == 0 : ::syncfs(first) == 0;
    if (!durable)
        Trace::write("ScreenplayBatch: cannot flush the temporary files\n");
    for (Pending& pending : m_pending) {
        pending.file->close();
        if (!durable || !rename(pending)) {
            discard(pending.temporary);
            failed.push_back(pending.target);
        }
    }
    m_pending.clear();
}

namespace {

// An ASCII path reads the same in CP932 and UTF-8; only others need the
// converter.
uint32_t nativePath(std::string_view path, std::string& native)
{
    const bool ascii = std::all_of(path.begin(), path.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80 && byte != '\0';
    });
    if (!ascii || path.empty())
        return NativePath::fromCp932(path, native);
    native.assign(path);
    return WinError::Success;
}

} // namespace

bool ScreenplayBatch::rename(const Pending& pending)
{
    std::string nativeTemporary, nativeTarget;
    if (nativePath(pending.temporary, nativeTemporary) != WinError::Success ||
        nativePath(pending.target.view(), nativeTarget) != WinError::Success ||
        std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0) {
        Trace::write("ScreenplayBatch: cannot put the file in place: " +
                     pending.target.toStdString() + "\n");
        return false;
    }
    return true;
}

void ScreenplayBatch::discard(const std::string& temporary)
{
    if (FileSystem::deleteFile(temporary) != WinError::Success)
        Trace::write("ScreenplayBatch: cannot remove " + temporary + "\n");
}
