#pragma once

#include "platform/FileFaults.h"
#include "platform/ProgramFolders.h"
#include "platform/ScriptedPrompt.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>
#include <string>

// A fixture with a fresh temporary folder that also stands in for the
// program's folder, a scripted prompt that records every box, and file
// faults that are disarmed afterwards.
class AppTestFolder : public testing::Test {
protected:
    ~AppTestFolder() override
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_folder, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string at(const std::string& name) const { return m_folder + "/" + name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(at(name)); }
    std::string contentsOf(const std::string& name) const
    {
        std::ifstream in(at(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(at(name), std::ios::binary) << bytes;
    }

    static std::string makeFolder()
    {
        char pattern[] = "/tmp/quillon-app-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        return std::filesystem::canonical(pattern).string();
    }

    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
    FileFaults::Scope m_faults;
    std::string m_folder = makeFolder();
    ProgramFolders::Scope m_placement{m_folder};
};
