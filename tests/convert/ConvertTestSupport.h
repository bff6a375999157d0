#pragma once

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "convert/ConversionState.h"
#include "convert/ScreenplayWriter.h"
#include "fc/FCString.h"
#include "fc/Progress.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

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

// Records what the work shows and cancels after a number of steps.
class RecordingProgress : public Progress {
public:
    explicit RecordingProgress(int cancelAfter = -1) : m_cancelAfter(cancelAfter) {}
    void setTitle(std::string_view title) override { this->title = title; }
    void setText(std::string_view text) override { texts.emplace_back(text); }
    void setupBar(bool, int32_t, int32_t, int32_t max) override { maximum = max; }
    void setStepSize(int32_t) override {}
    void open(bool) override { ++opens; }
    void close() override { ++closes; }
    bool step() override { return ++steps == maximum; }
    void setPosition(int32_t) override {}
    void pump() override {}
    bool cancelled() const override { return steps == m_cancelAfter; }
    bool stopRequested() const override { return false; }

    std::string title;
    std::vector<std::string> texts;
    int maximum = 0, opens = 0, closes = 0, steps = 0;

private:
    int m_cancelAfter;
};
