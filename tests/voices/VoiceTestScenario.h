#pragma once

#include "AudioTestFiles.h"
#include "TestText.h"
#include "fc/Progress.h"
#include "voices/DeliveryScan.h"
#include "voices/SpeakerLines.h"
#include "voices/VoiceCheck.h"
#include "voices/VoiceNumberPattern.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

// A progress that nobody watches; cancelling after a number of steps when
// asked to.
class QuietProgress : public Progress {
public:
    explicit QuietProgress(int cancelAfter = -1) : m_cancelAfter(cancelAfter) {}
    void setTitle(std::string_view) override {}
    void setText(std::string_view) override {}
    void setupBar(bool, int32_t, int32_t, int32_t) override {}
    void setStepSize(int32_t) override {}
    void open(bool) override {}
    void close() override {}
    bool step() override { return ++m_steps == m_cancelAfter; }
    void setPosition(int32_t) override {}
    void pump() override {}
    bool cancelled() const override { return m_cancelAfter >= 0 && m_steps >= m_cancelAfter; }
    bool stopRequested() const override { return false; }

private:
    int m_cancelAfter;
    int m_steps = 0;
};

// A fresh folder, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& under = "/tmp")
    {
        std::string pattern = under + "/quillon-voices-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed under " + under);
        m_path = std::filesystem::canonical(pattern).string();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Two scenes and a delivery with one of each kind of trouble:
//   s01: 000001 さくら (recorded), 000002 悠人 (missing), 000003 さくら (two
//        files), 000004 悠人 (a cut file), x12 さくら (no number);
//   s02: 000005 さくら (not audio), 000001 悠人 (shares s01's number),
//        000006 店主 (silence).
// Besides: 999999.wav and voice.wav match nothing, readme.txt is no audio.
class VoiceScenario {
public:
    VoiceScenario()
    {
        const std::string s01 = ".scene\ts01\n.chara\t2\n.さくら\t3\n.悠人\t2\n.total\t5\n"
                                "000001 さくら「おはよう」\n"
                                "000002 悠人「ああ」\n"
                                "            【 暗転 】\n"
                                "000003 さくら（小声）「ねえ」\n"
                                "@録音しない行\n"
                                "000004 悠人「なに？」\n"
                                "x12 さくら「ううん」\n";
        const std::string s02 = ".scene\ts02\n.chara\t3\n.さくら\t1\n.悠人\t1\n.店主\t1\n"
                                ".total\t3\n"
                                "000005 さくら「こんにちは」\n"
                                "000001 悠人「どうも」\n"
                                "000006 店主「……」\n";
        SpeakerLines::readText(sj(s01), 0, lines);
        SpeakerLines::readText(sj(s02), 1, lines);
        writeAudio(delivery / "000001.wav", 8000);
        writeAudio(delivery / "000003.wav", 8000);
        std::filesystem::create_directory(delivery / "take2");
        writeFlac(delivery / "take2/sakura_000003_t2.flac", 8000);
        writeCutWav(delivery / "000004.wav", 8000);
        writeText(delivery / "000005.wav", "not a recording");
        writeAudio(delivery / "000006.wav", 8000, 0.0);
        writeAudio(delivery / "999999.wav", 800);
        writeAudio(delivery / "voice.wav", 800);
        writeText(delivery / "readme.txt", "notes");
    }

    VoiceCheck::Result check(bool content)
    {
        QuietProgress progress;
        bool cancelled = false;
        EXPECT_EQ(DeliveryScan::scan(delivery.path(), VoiceNumberPattern(), {}, progress, found,
                                     cancelled),
                  0);
        return VoiceCheck::run(
            lines, found, {sj("悠人"), sj("さくら"), sj("店主")},
            [&](const DeliveredFile& file) {
                return AudioProbe::probe(delivery / file.path, content);
            },
            progress);
    }

    ScratchFolder delivery;
    std::vector<SpeakerLine> lines;
    std::vector<std::string> sceneNames{"s01", "s02"};
    Delivery found;
};
