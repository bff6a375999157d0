#pragma once

#include "fc/FCString.h"
#include "format/OutputDevice.h"
#include "format/PrintFormat.h"

#include <bit>
#include <cstdint>
#include <string_view>

// What a print run does besides the print format: where its pages go, the
// print log, the director's copy and the shading of comments. The print
// settings dialog confirms them; the batch tool takes them from its options.
class RunSettings {
public:
    // The switches, with the bit values the layout engine takes as its
    // option word (generic script, comment emphasis) and the log bit.
    static constexpr uint32_t GenericScript = 1u << 0;
    static constexpr uint32_t PrintLog = 1u << 1;
    static constexpr uint32_t CommentEmphasis = 1u << 4;
    static constexpr uint32_t SwitchMask = GenericScript | PrintLog | CommentEmphasis;
    // The bits handed to the layout engine as its option word.
    static constexpr uint32_t PrinterOptions = GenericScript | CommentEmphasis;
    // Log on and comment emphasis on, generic off.
    static constexpr uint32_t InitialSwitches = PrintLog | CommentEmphasis;

    // The switches a print format's flags word holds, each moved to its bit
    // here: the format keeps them as log 1, generic 2, comment emphasis 4,
    // which are other bits than the run's. The format's other flags are no
    // switches. The one way from a format's word to the run's.
    static constexpr uint32_t switchesOfFormatFlags(uint32_t flags);

    OutputDevice device = OutputDevice::Png;
    // Empty until a destination is confirmed; then the scenario folder
    // stands for it (destinationOr).
    FCString destinationFolder;
    FCString logPath;
    // PDF only: one file per actor holding that character's scripts of every
    // printed scene, instead of one file per script.
    bool bundleByActor = false;

    uint32_t switches() const { return m_switches; }
    // Bits outside SwitchMask are dropped.
    void setSwitches(uint32_t switches) { m_switches = switches & SwitchMask; }
    uint32_t printerOptions() const { return m_switches & PrinterOptions; }

    bool genericScript() const { return has(GenericScript); }
    void setGenericScript(bool on) { set(GenericScript, on); }
    bool printLog() const { return has(PrintLog); }
    void setPrintLog(bool on) { set(PrintLog, on); }
    bool commentEmphasis() const { return has(CommentEmphasis); }
    void setCommentEmphasis(bool on) { set(CommentEmphasis, on); }

    // The destination folder, or the scenario folder while there is none.
    const FCString& destinationOr(const FCString& scenarioFolder) const
    {
        return destinationFolder.isEmpty() ? scenarioFolder : destinationFolder;
    }

private:
    struct FormatSwitch {
        uint32_t formatFlag;
        uint32_t runSwitch;
    };
    static constexpr FormatSwitch FormatSwitches[] = {
        {PrintFormat::FlagGeneric, GenericScript},
        {PrintFormat::FlagLog, PrintLog},
        {PrintFormat::FlagCommentEmphasis, CommentEmphasis},
    };

    bool has(uint32_t bit) const { return (m_switches & bit) != 0; }
    void set(uint32_t bit, bool on) { m_switches = on ? (m_switches | bit) : (m_switches & ~bit); }

    uint32_t m_switches = InitialSwitches;
};

constexpr uint32_t RunSettings::switchesOfFormatFlags(uint32_t flags)
{
    uint32_t switches = 0;
    for (const FormatSwitch& pair : FormatSwitches) {
        if ((flags & pair.formatFlag) != 0)
            switches |= pair.runSwitch;
    }
    return switches;
}

// Each switch has a bit of its own in the format's word, apart from the
// format's other flags: a word with every bit set gives every switch, and
// each flag alone gives one switch or none.
static_assert(RunSettings::switchesOfFormatFlags(~0u) == RunSettings::SwitchMask);
static_assert(std::popcount(PrintFormat::FlagGeneric | PrintFormat::FlagLog |
                            PrintFormat::FlagCommentEmphasis | PrintFormat::FlagAutoCalc) == 4,
              "the format's flags are distinct bits");
static_assert(RunSettings::switchesOfFormatFlags(PrintFormat::FlagAutoCalc) == 0);
