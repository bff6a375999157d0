#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

TempFolder::TempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-platform-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    char* made = ::mkdtemp(buffer.data());
    EXPECT_NE(made, nullptr) << "mkdtemp failed for " << pattern;
    m_path = made ? made : "";
}

TempFolder::~TempFolder()
{
    if (m_path.empty())
        return;
    std::error_code error;
    // Give every entry its write permission back first, so that read-only
    // entries left by a test do not survive it.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

void TempFolder::write(const std::string& name, const std::string& text) const
{
    std::ofstream out(*this / name, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << "cannot write " << name;
}
