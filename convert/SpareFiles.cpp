#include "convert/SpareFiles.h"

#include "convert/QuickFile.h"
#include "platform/Trace.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <system_error>
#include <thread>
#include <utility>

SpareFiles::SpareFiles() = default;

SpareFiles::~SpareFiles()
{
    std::vector<Spare> left = std::move(m_settled);
    left.insert(left.end(), std::make_move_iterator(m_given.begin()),
                std::make_move_iterator(m_given.end()));
    // Each removal may wait for the disk to release the file's blocks; a few
    // threads wait side by side.
    const std::size_t threads = std::min<std::size_t>(4, left.size() / 8);
    std::atomic<std::size_t> next{0};
    const auto dropLeft = [&] {
        for (std::size_t i = next++; i < left.size(); i = next++)
            drop(left[i].path);
    };
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(dropLeft);
        } catch (const std::system_error&) {
            break;
        }
    }
    dropLeft();
    for (std::thread& helper : helpers)
        helper.join();
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

off_t SpareFiles::blocksOf(off_t size) const
{
    const off_t block = m_fresh.st_blksize > 0 ? m_fresh.st_blksize : 4096;
    return (size + block - 1) / block;
}

bool SpareFiles::take(std::string& path, std::size_t size)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_settled.empty())
        return false;
    const off_t wanted = blocksOf(off_t(size));
    std::size_t best = 0;
    for (std::size_t i = 1; i < m_settled.size(); ++i) {
        const off_t blocks = m_settled[i].blocks;
        const off_t bestBlocks = m_settled[best].blocks;
        const bool fitsBest = bestBlocks <= wanted;
        if (blocks <= wanted ? !fitsBest || blocks > bestBlocks : !fitsBest && blocks < bestBlocks)
            best = i;
    }
    path = std::move(m_settled[best].path);
    m_settled[best] = std::move(m_settled.back());
    m_settled.pop_back();
    return true;
}

void SpareFiles::give(std::string path, off_t size)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_given.push_back({std::move(path), blocksOf(size)});
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
