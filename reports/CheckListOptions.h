#pragma once

#include <cstdint>

// What the check-list command writes, as one word: bits 0-3 the format (1
// CSV, 0 tab-separated text), bit 8 the scene list, bit 9 the character
// lists, bit 16 also list the scripts that would not be printed. Rebuilt
// with its defaults each time the command starts.
class CheckListOptions {
public:
    static constexpr uint32_t FormatMask = 0x0F;
    static constexpr uint32_t FormatText = 0;
    static constexpr uint32_t FormatCsv = 1;
    static constexpr uint32_t SceneList = 1u << 8;
    static constexpr uint32_t CharacterList = 1u << 9;
    static constexpr uint32_t ListUnprinted = 1u << 16;
    // CSV, the scene list only.
    static constexpr uint32_t Defaults = FormatCsv | SceneList;

    constexpr CheckListOptions() = default;
    constexpr explicit CheckListOptions(uint32_t word) : m_word(word) {}

    uint32_t word() const { return m_word; }
    // Any format value but 0 counts as CSV, as the dialog's radio shows it.
    bool csv() const { return (m_word & FormatMask) != 0; }
    bool sceneList() const { return (m_word & SceneList) != 0; }
    bool characterList() const { return (m_word & CharacterList) != 0; }
    bool listUnprinted() const { return (m_word & ListUnprinted) != 0; }

    // The word the dialog's controls stand for.
    static CheckListOptions of(bool csv, bool sceneList, bool characterList, bool listUnprinted);

private:
    uint32_t m_word = Defaults;
};
