#pragma once

#include "TestText.h"
#include "render/FCFont.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

// A created fixed-pitch Shift-JIS font of the named face (UTF-8, "@" for
// vertical forms), at a LOGFONT height and weight.
inline std::unique_ptr<FCFont> makeFont(const std::string& faceUtf8, int height, int weight = 400)
{
    auto font = std::make_unique<FCFont>();
    font->reset();
    font->setHeight(height);
    font->weight = weight;
    font->charset = FCFont::ShiftJisCharset;
    font->quality = FCFont::ProofQuality;
    font->pitchAndFamily = FCFont::FixedPitch;
    font->setFace(sj(faceUtf8));
    EXPECT_TRUE(font->create()) << faceUtf8;
    return font;
}
