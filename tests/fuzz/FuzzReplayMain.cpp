// The replay form of a fuzz target, built without libFuzzer: every file of
// the folders (or the files) named on the command line goes through the
// target's entry point once, in name order. A crash, a sanitizer report or a
// failed invariant ends the program as it would end the fuzzer; otherwise it
// prints how many inputs it replayed. A folder that does not exist is
// skipped, so that a target without saved crash reproducers needs none.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(given, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(given))
                if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                    inputs.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(given, error)) {
            inputs.push_back(given);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        // A copy of its own, so that a read past the end is caught.
        std::vector<uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("replayed %zu input(s)\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
