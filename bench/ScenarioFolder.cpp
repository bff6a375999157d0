#include "ScenarioFolder.h"

#include "platform/TextCodec.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <stdlib.h>

namespace {

const char* const Names[] = {"ゆかり", "蓮",   "美咲",   "隼人",  "先生", "ナレーション",
                             "店員",   "母",   "アキラ", "少女A", "Mob",  "葵",
                             "翔太",   "香織", "執事",   "老人"};
constexpr int NameCount = sizeof Names / sizeof Names[0];

// A scene with a few characters and a short body, as the converter writes it.
std::string scene(int index)
{
    std::string text = ".scene\tscene" + std::to_string(index) + "\n.start\t" +
                       std::to_string(index * 100) + "\n.end\t" + std::to_string(index * 100 + 99) +
                       "\n";
    const int characters = 2 + index % 4;
    text += ".chara\t" + std::to_string(characters) + "\n";
    int total = 0;
    for (int c = 0; c < characters; ++c) {
        const int count = 1 + (index * 7 + c * 13) % 40;
        total += count;
        text += std::string(".") + Names[(index + c * 5) % NameCount] + "\t" +
                std::to_string(count) + "\n";
    }
    text += ".total\t" + std::to_string(total) + "\n";
    for (int line = 0; line < 20; ++line) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d", index * 100 + line);
        text += std::string(number) + " " + Names[(index + line) % NameCount] +
                "「今日はいい天気ですね。」\n";
        text += "            【 暗転 】\n";
    }
    return TextCodec::fromUtf8(text);
}

} // namespace

const std::string& benchScenarioFolder(int files)
{
    static std::map<int, std::string> folders;
    auto found = folders.find(files);
    if (found != folders.end())
        return found->second;
    char pattern[] = "/tmp/quillon-folder-bench-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    std::string path = std::string(pattern) + "/";
    for (int i = 0; i < files; ++i)
        std::ofstream(path + "scene" + std::to_string(i) + ".screenplay.txt", std::ios::binary)
            << scene(i);
    if (folders.empty()) {
        std::atexit([] {
            for (auto& [count, made] : folders) {
                std::error_code ignored;
                std::filesystem::remove_all(made, ignored);
            }
        });
    }
    return folders.emplace(files, path).first->second;
}
