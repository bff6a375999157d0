#pragma once

#include "TestText.h"

#include <string>
#include <vector>

// A screenplay text (UTF-8) of scene s01 with the two speakers the tests
// use, around the given body lines.
inline std::string testScreenplay(const std::vector<std::string>& body,
                                  const std::string& scene = "s01")
{
    std::string text =
        ".scene\t" + scene + "\n.start\t1\n.end\t9\n.chara\t2\n.さくら\t3\n.ゆう\t2\n.total\t5\n";
    for (const std::string& line : body)
        text += line + "\n";
    return text;
}
