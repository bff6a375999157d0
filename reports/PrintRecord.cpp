#include "reports/PrintRecord.h"

#include "fc/FileBytes.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view TemporarySuffix = ".part";

bool writeAll(int handle, const std::string& bytes)
{
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        uint32_t done = 0;
        const uint32_t piece = uint32_t(std::min<std::size_t>(bytes.size() - offset, 1u << 30));
        if (FileSystem::write(handle, bytes.data() + offset, piece, done) != WinError::Success ||
            done == 0)
            return false;
        offset += done;
    }
    return true;
}

} // namespace

std::string PrintRecord::folderOf(std::string_view scenarioFolder)
{
    std::string folder(scenarioFolder);
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder + ".quillon/printed/";
}

PrintRecord::PrintRecord(std::string_view scenarioFolder)
    : m_scenarioFolder(scenarioFolder), m_folder(folderOf(scenarioFolder))
{
    if (!m_scenarioFolder.empty() && m_scenarioFolder.back() != '/')
        m_scenarioFolder.push_back('/');
}

bool PrintRecord::stampOf(const std::string& path, Stamp& stamp)
{
    std::string native;
    struct stat status;
    if (NativePath::fromCp932(path, native) != WinError::Success ||
        ::stat(native.c_str(), &status) != 0)
        return false;
    stamp.size = int64_t(status.st_size);
    stamp.changed = int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return true;
}

void PrintRecord::noteRead(const std::string& fileName)
{
    Stamp stamp;
    if (stampOf(m_scenarioFolder + fileName, stamp))
        m_noted[fileName] = stamp;
    else
        m_noted.erase(fileName);
}

bool PrintRecord::prepare()
{
    if (m_prepared)
        return m_usable;
    m_prepared = true;
    for (const std::string& folder : {m_scenarioFolder + ".quillon/", m_folder}) {
        const uint32_t error = FileSystem::createDirectory(folder);
        if (error != WinError::Success && error != WinError::AlreadyExists) {
            Trace::write("PrintRecord: cannot make " + folder + "\n");
            return false;
        }
    }
    // A run cut short leaves its temporary file; nothing else ends so.
    std::vector<DirectoryEntry> entries;
    (void)DirectoryLister::list(m_folder, "*.part", entries);
    for (const DirectoryEntry& entry : entries) {
        if (entry.kind == FileSystem::EntryKind::File &&
            FileSystem::deleteFile(m_folder + entry.name) != WinError::Success)
            Trace::write("PrintRecord: cannot remove " + m_folder + entry.name + "\n");
    }
    m_usable = true;
    return true;
}

bool PrintRecord::write(const std::string& target, const std::string& bytes)
{
    const std::string temporary =
        target + "." + std::to_string(::getpid()) + std::string(TemporarySuffix);
    int handle = FileSystem::InvalidHandle;
    if (FileSystem::open(temporary, FileSystem::CreateAlways,
                         FileSystem::GenericRead | FileSystem::GenericWrite, FileSystem::ShareRead,
                         FileSystem::AttributeNormal, handle) != WinError::Success)
        return false;
    // On the disk before it takes the copy's name, so that a crash leaves
    // the old copy or the new one, never a part of it.
    bool written = writeAll(handle, bytes) && ::fsync(handle) == 0;
    FileSystem::close(handle);
    std::string nativeTemporary, nativeTarget;
    written = written && NativePath::fromCp932(temporary, nativeTemporary) == WinError::Success &&
              NativePath::fromCp932(target, nativeTarget) == WinError::Success &&
              std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) == 0;
    if (!written && FileSystem::deleteFile(temporary) != WinError::Success)
        Trace::write("PrintRecord: cannot remove " + temporary + "\n");
    return written;
}

bool PrintRecord::keep(const std::string& fileName)
{
    const std::string source = m_scenarioFolder + fileName;
    std::string bytes;
    Stamp before, after;
    auto noted = m_noted.find(fileName);
    const bool same = noted != m_noted.end() &&
                      FileBytes::read(source, bytes) == WinError::Success &&
                      stampOf(source, after) && after.size == noted->second.size &&
                      after.changed == noted->second.changed && int64_t(bytes.size()) == after.size;
    if (!same) {
        Trace::write("PrintRecord: " + source + " changed while it was printed; not kept\n");
        ++m_failures;
        return false;
    }
    if (!prepare() || !write(m_folder + fileName, bytes)) {
        Trace::write("PrintRecord: cannot keep " + fileName + " in " + m_folder + "\n");
        ++m_failures;
        return false;
    }
    return true;
}

void PrintRecord::keepOnly(const std::vector<std::string>& fileNames)
{
    if (!prepare())
        return;
    const std::set<std::string> listed(fileNames.begin(), fileNames.end());
    std::vector<DirectoryEntry> entries;
    (void)DirectoryLister::list(m_folder, "*.screenplay.txt", entries);
    for (const DirectoryEntry& entry : entries) {
        if (entry.kind == FileSystem::EntryKind::File && !listed.count(entry.name) &&
            FileSystem::deleteFile(m_folder + entry.name) != WinError::Success)
            Trace::write("PrintRecord: cannot remove " + m_folder + entry.name + "\n");
    }
}
