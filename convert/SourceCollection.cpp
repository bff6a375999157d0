#include "convert/SourceCollection.h"

#include "fc/FCFileEnumeration.h"
#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/WinError.h"

#include <filesystem>

FCString SourceCollection::folderPath(const FCString& folder)
{
    if (folder.isEmpty())
        return FCString();
    FCPathName path(folder);
    path.addSeparator();
    return path.string();
}

bool SourceCollection::folderExists(const FCString& folder)
{
    const FCString path = folderPath(folder);
    uint32_t attributes = 0;
    return !path.isEmpty() && fileExists(path.text(), &attributes) &&
           (attributes & FileSystem::AttributeDirectory) != 0;
}

bool SourceCollection::firstVisit(std::set<std::string>& visited, const FCString& folder)
{
    std::string native;
    if (NativePath::fromCp932(folder.view(), native) != WinError::Success)
        return true;
    std::error_code failed;
    const std::filesystem::path real = std::filesystem::canonical(native, failed);
    // A folder whose real path cannot be told is walked: it cannot be part
    // of a loop that canonical() could resolve either.
    if (failed)
        return true;
    return visited.insert(real.string()).second;
}

bool SourceCollection::collectSources(Sources& sources, const FCString& folder, const char* pattern,
                                      bool includeSubfolders)
{
    if (!folderExists(folder))
        return false;
    std::set<std::string> visited;
    walk(folderPath(folder), pattern, includeSubfolders, visited,
         [&sources](const FCString& path, const FCString&) { sources.insert(path); });
    return true;
}

void SourceCollection::walk(const FCString& folder, const char* pattern, bool includeSubfolders,
                            std::set<std::string>& visited, const FileVisit& file)
{
    if (folder.isEmpty() || !firstVisit(visited, folder))
        return;
    if (includeSubfolders) {
        // One listing serves the sub-folders and then the files, which come
        // in the order a listing of the pattern alone gives them.
        FCString all(folder);
        all << "*";
        FCFileEnumeration entries(all.text());
        while (entries.nextFolder())
            walk(entries.currentPath(), pattern, true, visited, file);
        entries.rewind();
        while (entries.next()) {
            if (!entries.isFolder() &&
                DirectoryLister::matches(pattern, entries.currentName().view()))
                file(entries.currentPath(), entries.currentName());
        }
        return;
    }
    FCString wanted(folder);
    wanted << pattern;
    FCFileEnumeration files(wanted.text());
    while (files.next()) {
        // A folder named like a source is no source.
        if (!files.isFolder())
            file(files.currentPath(), files.currentName());
    }
}
