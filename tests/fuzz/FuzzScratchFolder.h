#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

// A private folder for the targets that read files: made once per process
// under $TMPDIR (or /tmp) and removed when the process ends, so that a fuzz
// run never touches the program's own files.
class FuzzScratchFolder {
public:
    // The folder with a trailing "/".
    static const std::string& path()
    {
        static FuzzScratchFolder folder;
        return folder.m_path;
    }

    static void write(const std::string& name, std::string_view bytes)
    {
        std::ofstream out(path() + name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static std::string read(const std::string& name)
    {
        std::ifstream in(path() + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static void remove(const std::string& name) { ::unlink((path() + name).c_str()); }

private:
    FuzzScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quillon-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern + "/";
    }
    ~FuzzScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string m_path;
};

// The bytes of a fuzz input as a text view.
inline std::string_view fuzzBytes(const uint8_t* data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Stops the run when an invariant fails, naming it on stderr, so that the
// fuzzer saves the input and the replay fails.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz invariant failed: %s (%s:%d)\n", #condition, __FILE__,      \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
