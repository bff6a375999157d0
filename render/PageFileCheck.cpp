#include "render/PageFileCheck.h"

#include "platform/NativePath.h"
#include "platform/WinError.h"
#include "render/PageDevice.h"

#include <sys/stat.h>

PageFileCheck::PageFileCheck() = default;

PageFileCheck::~PageFileCheck() = default;

DeviceContext* PageFileCheck::pageOpened(const Page& page, DeviceContext* dc)
{
    ++m_pages;
    if (!page.path.empty())
        m_files.push_back({page.path, stateOf(page.path)});
    return previous() ? previous()->pageOpened(page, dc) : dc;
}

void PageFileCheck::pageClosed(const Page& page, const PageDevice& device)
{
    if (page.device == OutputDevice::Printer &&
        (!device.isPrinterOpen() || !device.printerSurface()))
        ++m_unprinted;
    if (previous())
        previous()->pageClosed(page, device);
}

int PageFileCheck::failed() const
{
    int failed = 0;
    for (const File& file : m_files) {
        const State after = stateOf(file.path);
        if (!after.exists || after == file.before)
            ++failed;
    }
    return failed;
}

PageFileCheck::State PageFileCheck::stateOf(const std::string& cp932)
{
    State state;
    std::string native;
    struct stat status {};
    if (cp932.empty() || NativePath::fromCp932(cp932, native) != WinError::Success ||
        ::stat(native.c_str(), &status) != 0)
        return state;
    state.exists = true;
    state.inode = status.st_ino;
    state.seconds = status.st_mtim.tv_sec;
    state.nanoseconds = status.st_mtim.tv_nsec;
    state.size = status.st_size;
    return state;
}
