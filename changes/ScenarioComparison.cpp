#include "changes/ScenarioComparison.h"

#include "changes/SceneComparison.h"
#include "changes/SceneVersion.h"
#include "document/ScreenplayScanner.h"
#include "document/ScreenplaySource.h"
#include "fc/Diagnostic.h"
#include "fc/FileBytes.h"
#include "fc/Progress.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "platform/WinError.h"

#include <optional>
#include <unordered_set>

namespace {

constexpr std::string_view Suffix = ".screenplay.txt";

std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder;
}

std::optional<SceneVersion> versionOf(std::string_view bytes)
{
    SceneVersion version;
    try {
        // Decoded as a file would be: a UTF-8 text reads as its Shift-JIS twin.
        ScreenplaySource source;
        source.openBytes(bytes);
        ScreenplayScanner scanner(
            [&source](char* buffer, std::size_t capacity) { return source.read(buffer, capacity); },
            ScreenplaySource::PieceSize);
        version = SceneVersion::fromScanner(scanner);
    } catch (const Diagnostic&) {
        return std::nullopt;
    }
    return version;
}

class FolderComparer {
public:
    FolderComparer(const ScenarioComparison::Input& input, ScenarioComparison::Result& result)
        : m_input(input), m_result(result), m_oldFolder(withSlash(input.oldFolder)),
          m_newFolder(withSlash(input.newFolder))
    {
    }

    void run()
    {
        std::vector<std::string> oldNames, newNames;
        if (!ScenarioComparison::listScenes(m_oldFolder, oldNames) && !m_input.oldMayBeMissing) {
            m_result.unlisted = m_oldFolder;
            return;
        }
        if (m_input.newFiles.empty() && !ScenarioComparison::listScenes(m_newFolder, newNames)) {
            m_result.unlisted = m_newFolder;
            return;
        }
        const std::vector<std::string>& chosen =
            m_input.newFiles.empty() ? newNames : m_input.newFiles;
        const std::unordered_set<std::string> olds(oldNames.begin(), oldNames.end());
        std::unordered_set<std::string> news;
        Progress* progress = m_input.progress;
        if (progress) {
            progress->setupBar(true, 0, 0, int32_t(chosen.size()));
            progress->setStepSize(1);
        }
        for (const std::string& name : chosen) {
            news.insert(name);
            compareScene(name, olds.count(name) > 0, true);
            if (progress) {
                progress->step();
                progress->pump();
                if (progress->cancelled()) {
                    m_result.cancelled = true;
                    return;
                }
            }
        }
        if (!m_input.removedScenes)
            return;
        for (const std::string& name : oldNames) {
            if (!news.count(name) && !(m_input.newFiles.empty() ? false : inNewFolder(name)))
                compareScene(name, true, false);
        }
    }

private:
    // With a choice of scenes, an old scene the new folder still has but
    // that was not chosen is not a removed one.
    bool inNewFolder(const std::string& name)
    {
        if (!m_newListed) {
            m_newListed = true;
            (void)ScenarioComparison::listScenes(m_newFolder, m_newNames);
            m_newSet.insert(m_newNames.begin(), m_newNames.end());
        }
        return m_newSet.count(name) > 0;
    }

    bool read(const std::string& path, std::string& bytes)
    {
        if (ScenarioComparison::readFile(path, bytes))
            return true;
        m_result.unreadable.push_back(path);
        return false;
    }

    void compareScene(const std::string& name, bool inOld, bool inNew)
    {
        std::string oldBytes, newBytes;
        if (inOld && !read(m_oldFolder + name, oldBytes))
            return;
        if (inNew && !read(m_newFolder + name, newBytes))
            return;
        ++m_result.scenes;
        // The same bytes are the same scene, whatever they hold.
        if (inOld && inNew && oldBytes == newBytes)
            return;
        std::optional<SceneVersion> before, after;
        if (inOld && !(before = versionOf(oldBytes))) {
            m_result.unreadable.push_back(m_oldFolder + name);
            return;
        }
        if (inNew && !(after = versionOf(newBytes))) {
            m_result.unreadable.push_back(m_newFolder + name);
            return;
        }
        std::string sceneName = after ? after->sceneName : before->sceneName;
        if (sceneName.empty())
            sceneName = ScenarioComparison::fallbackSceneName(name);
        SceneComparison::compare(
            {before ? &*before : nullptr, after ? &*after : nullptr, name, sceneName},
            m_input.notes, m_result.changes);
    }

    const ScenarioComparison::Input& m_input;
    ScenarioComparison::Result& m_result;
    std::string m_oldFolder;
    std::string m_newFolder;
    bool m_newListed = false;
    std::vector<std::string> m_newNames;
    std::unordered_set<std::string> m_newSet;
};

} // namespace

ScenarioComparison::Result ScenarioComparison::compare(const Input& input)
{
    Result result;
    FolderComparer(input, result).run();
    return result;
}

bool ScenarioComparison::listScenes(const std::string& folder, std::vector<std::string>& names)
{
    std::vector<DirectoryEntry> entries;
    const uint32_t error = DirectoryLister::list(folder, "*.screenplay.txt", entries);
    if (error != WinError::Success && error != WinError::FileNotFound)
        return false;
    for (const DirectoryEntry& entry : entries) {
        if (entry.kind == FileSystem::EntryKind::File)
            names.push_back(entry.name);
    }
    return true;
}

std::string ScenarioComparison::fallbackSceneName(const std::string& fileName)
{
    if (fileName.size() > Suffix.size() &&
        std::string_view(fileName).substr(fileName.size() - Suffix.size()) == Suffix)
        return fileName.substr(0, fileName.size() - Suffix.size());
    return fileName;
}

bool ScenarioComparison::readFile(const std::string& path, std::string& bytes)
{
    return FileBytes::read(path, bytes) == WinError::Success;
}
