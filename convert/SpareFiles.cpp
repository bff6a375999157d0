#include "convert/SpareFiles.h"

#include "convert/QuickFile.h"
#include "platform/Trace.h"

#include <iterator>
#include <utility>

SpareFiles::SpareFiles() = default;

SpareFiles::~SpareFiles()
{
    for (const std::string& path : m_settled)
        drop(path);
    for (const std::string& path : m_given)
        drop(path);
}

void SpareFiles::noteFresh(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_knowsFresh)
        return;
    m_fresh = info;
    m_knowsFresh = true;
}

bool SpareFiles::knowsFresh() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_knowsFresh;
}

bool SpareFiles::fits(const struct stat& info) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_knowsFresh && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
           info.st_uid == m_fresh.st_uid && info.st_gid == m_fresh.st_gid &&
           (info.st_mode & 07777) == (m_fresh.st_mode & 07777) && info.st_dev == m_fresh.st_dev;
}

bool SpareFiles::take(std::string& path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_settled.empty())
        return false;
    path = std::move(m_settled.back());
    m_settled.pop_back();
    return true;
}

void SpareFiles::give(std::string path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_given.push_back(std::move(path));
}

void SpareFiles::settle()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_settled.insert(m_settled.end(), std::make_move_iterator(m_given.begin()),
                     std::make_move_iterator(m_given.end()));
    m_given.clear();
}

void SpareFiles::drop(const std::string& path)
{
    if (!QuickFile::remove(path))
        Trace::write("SpareFiles: cannot remove " + path + "\n");
}
