#pragma once

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "convert/ConversionState.h"
#include "convert/ScreenplayWriter.h"
#include "fc/FCString.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// The bytes of a fixture in tests/convert/data (Shift-JIS as stored).
inline std::string fixtureBytes(const std::string& name)
{
    std::ifstream in(std::string(QUILLON_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << name;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string fixturePath(const std::string& name)
{
    return std::string(QUILLON_TEST_DATA) + "/" + name;
}

inline std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Twelve spaces: the indent of every note.
inline const std::string notes = "            ";

// A state with definitions read from a text (UTF-8) and the header's
// character names loaded from the same text, as a conversion run has it.
inline void defineNames(ConversionState& state, const std::string& utf8Definitions)
{
    const FCString text(sj(utf8Definitions));
    state.resetConversionState();
    state.readNameDefinitions(text);
    state.header().loadNames(text);
}

struct Converted {
    bool spoke;
    std::string screenplay; // UTF-8
    std::string log;        // UTF-8
};

// One source text (UTF-8) converted under the scene name "s" and the source
// path "/src/s.cpp".
inline Converted convertUtf8(ConversionState& state, const std::string& source)
{
    ScreenplayWriter writer(state);
    FCString screenplay, log;
    const bool spoke = writer.convertText(FCString(sj(source)), FCString("s"),
                                          FCString("/src/s.cpp"), screenplay, log);
    return {spoke, utf8(screenplay.toStdString()), utf8(log.toStdString())};
}
