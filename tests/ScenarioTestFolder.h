#pragma once

#include "TestText.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>

// A temporary scenario folder for tests, removed with the object. Names and
// contents are given in UTF-8; contents are written as Shift-JIS.
class ScenarioTestFolder {
public:
    ScenarioTestFolder()
    {
        char pattern[] = "/tmp/quillon-scenario-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_path = std::filesystem::canonical(pattern).string() + "/";
    }
    ~ScenarioTestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScenarioTestFolder(const ScenarioTestFolder&) = delete;
    ScenarioTestFolder& operator=(const ScenarioTestFolder&) = delete;

    // With a trailing "/". The folder names are ASCII, so this is CP932 too.
    const std::string& path() const { return m_path; }

    void write(const std::string& name, const std::string& utf8Text) const
    {
        writeBytes(name, sj(utf8Text));
    }
    void writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(m_path + name, std::ios::binary);
        out << bytes;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(m_path + name); }
    void remove(const std::string& name) const { std::filesystem::remove(m_path + name); }

private:
    std::string m_path;
};
