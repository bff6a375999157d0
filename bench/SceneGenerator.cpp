#include "SceneGenerator.h"

#include "platform/TextCodec.h"

#include <cstdio>
#include <vector>

std::string SceneGenerator::generate(std::size_t bytes)
{
    const std::vector<std::string> names = {
        TextCodec::fromUtf8("さくら"), TextCodec::fromUtf8("悠人"), TextCodec::fromUtf8("灯台守"),
        TextCodec::fromUtf8("店主")};
    const std::string open = TextCodec::fromUtf8("「");
    const std::string close = TextCodec::fromUtf8("」");
    const std::string alias = TextCodec::fromUtf8("（小声）");
    const std::string phrase =
        TextCodec::fromUtf8("潮風が吹く港で、二人はずっと灯台を見上げていた。");
    const std::string note = TextCodec::fromUtf8("            【 ＣＧ表示：港の朝 】");
    const std::string shifted = TextCodec::fromUtf8("          $二人、店の軒先に腰を下ろす。");
    const std::string comment = TextCodec::fromUtf8(" *演出メモ：ここで波の音を少し大きく");

    std::string text;
    text.reserve(bytes + 4096);
    text += ".scene\tbench\n.start\t1\n.end\t999999\n.chara\t4\n";
    for (const std::string& name : names)
        text += "." + name + "\t100\n";
    text += ".total\t400\n";

    char number[16];
    for (unsigned i = 0; text.size() < bytes; ++i) {
        switch (i % 10) {
        case 3:
            text += note + "\n";
            continue;
        case 6:
            text += shifted + "\n";
            continue;
        case 8:
            text += comment + "\n";
            continue;
        case 9:
            text += "@ignored\n";
            continue;
        default:
            break;
        }
        std::snprintf(number, sizeof number, "%06u ", i % 1000000);
        text += number + names[i % names.size()];
        if (i % 7 == 0)
            text += alias;
        text += open;
        for (unsigned k = 0; k <= i % 4; ++k) {
            text += phrase;
            if (i % 5 == 0 && k == 0)
                text += "\\n";
        }
        text += close + "\n";
    }
    return text;
}
