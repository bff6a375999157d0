#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with
// everything in it (read-only entries included) when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8 (and, being ASCII, also CP932) path without a trailing "/".
    const std::string& path() const { return m_path; }
    // path() + "/" + name.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Creates a file holding text; name is UTF-8.
    void write(const std::string& name, const std::string& text) const;

private:
    std::string m_path;
};
