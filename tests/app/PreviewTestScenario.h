#pragma once

#include "ScenarioTestFolder.h"
#include "TestText.h"

#include <cstdint>
#include <cstdio>
#include <png.h>
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
    PreviewPng out;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> row;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return PreviewPng{};
    }
    png_init_io(png, file);
    png_read_info(png, info);
    // Whatever the file holds, read it as 8-bit RGB.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY ||
        png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    out.width = int(png_get_image_width(png, info));
    out.height = int(png_get_image_height(png, info));
    row.resize(png_get_rowbytes(png, info));
    out.grey.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < out.width; ++x)
            out.grey[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] =
                row[std::size_t(x) * 3];
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    out.ok = true;
    return out;
}
