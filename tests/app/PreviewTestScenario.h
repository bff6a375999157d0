#pragma once

#include "PngTestReader.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Scenes for the page preview tests (UTF-8, written as Shift-JIS):
//
//   "long.screenplay.txt"  scene "long": 悠人, さくら and 店主 take turns
//       over 110 utterances, with notes, a long wrapped line and two
//       shaded comment blocks: three pages at the default 47 lines.
//   "short.screenplay.txt" scene "short": 悠人 and 店主, one page.
//   "silent.screenplay.txt": no speaking character and no body.
inline std::string previewLongScene()
{
    std::string text = ".scene\tlong\n.start\t1\n.end\t110\n.chara\t3\n"
                       ".悠人\t37\n.さくら\t37\n.店主\t36\n.total\t110\n";
    const char* speakers[] = {"悠人", "さくら", "店主"};
    for (int i = 0; i < 110; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d ", i + 1);
        if (i % 17 == 5)
            text += "            【 暗転 】\n";
        if (i == 20 || i == 70) {
            text += " *コメント：ここは間を取って\n";
            text += " *もう一行のコメント\n";
        }
        text += number;
        text += speakers[i % 3];
        if (i == 40)
            text += "「長い台詞はここで折り返して、次の行へと続いていきます。まだまだ続きます、"
                    "終わりません、もう少しだけ続きます。」\n";
        else
            text += "「はい、そうです」\n";
    }
    return text;
}

inline void writePreviewScenes(const ScenarioTestFolder& folder)
{
    folder.write("long.screenplay.txt", previewLongScene());
    folder.write("short.screenplay.txt", ".scene\tshort\n.chara\t2\n.悠人\t2\n.店主\t1\n.total\t3\n"
                                         "000001 悠人「こんにちは」\n"
                                         "000002 店主「いらっしゃい」\n"
                                         "000003 悠人「またね」\n");
    folder.write("silent.screenplay.txt", ".total\t0\n");
}

// A PNG page read back: its size and the red channel of every pixel (the
// pages are grey: red, green and blue are equal), rows from the top.
struct PreviewPng {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> grey;
    uint8_t at(int x, int y) const
    {
        return grey[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

inline PreviewPng readPreviewPng(const std::string& path)
{
    const DecodedPng png = readPng(path);
    if (!png.ok || png.bitDepth != 8)
        return PreviewPng{};
    // Page images are 8-bit RGB (grey ones would have one channel): the
    // first channel is the grey level.
    const std::size_t channels = png.colourType == PNG_COLOR_TYPE_RGB          ? 3
                                 : png.colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                                 : png.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                               : 1;
    PreviewPng out;
    out.ok = true;
    out.width = int(png.width);
    out.height = int(png.height);
    out.grey.reserve(std::size_t(out.width) * std::size_t(out.height));
    for (const std::vector<uint8_t>& row : png.rows)
        for (int x = 0; x < out.width; ++x)
            out.grey.push_back(row[std::size_t(x) * channels]);
    return out;
}
