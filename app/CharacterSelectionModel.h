#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class ScriptCatalogue;
class ScriptInfo;
class UxListViewControl;

// The dialog "印刷するキャラの選択" without its window: one row per character
// of a record, in its order, with the word count and a tick for each print
// target. The GUI shows the rows and forwards the buttons; on OK the ticked
// names, in row order, become the record's print targets.
//
// The dialog itself is the caller's: a function that shows the model and
// answers true for OK (the model then holds the ticks) or false for "中止".
class CharacterSelectionModel {
public:
    static constexpr int DialogTemplate = 104;

    using Dialog = std::function<bool(CharacterSelectionModel&)>;

    // The double click: the dialog on the entry's own record; on OK its
    // targets become the ticked names. False when there is no such entry
    // or the dialog was cancelled.
    static bool selectForEntry(ScriptCatalogue& catalogue, int index, const Dialog& dialog);
    // The dialog on the merged record of the entries (the selected rows);
    // on OK each of them keeps as targets those of its characters that are
    // targets of the merged record. False, without opening anything, when
    // no entry is given.
    static bool selectForEntries(ScriptCatalogue& catalogue, std::span<const int> entries,
                                 const Dialog& dialog);

    struct Row {
        std::string name; // CP932
        int32_t wordCount = 0;
        bool ticked = false;
    };

    CharacterSelectionModel() = default;
    explicit CharacterSelectionModel(const ScriptInfo& record);
    virtual ~CharacterSelectionModel();

    static const char* title();
    // The list's columns: "" (24, the check box), "印刷するキャラ名" (300),
    // "ワード数" (64).
    static void defineColumns(UxListViewControl& list);

    void load(const ScriptInfo& record);
    const std::vector<Row>& rows() const { return m_rows; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    // "全て選択", "全て解除", and the double click on a row.
    void selectAll();
    void clearAll();
    bool toggle(int row);
    bool setTicked(int row, bool ticked);

    std::vector<std::string> tickedNames() const;
    // OK: the record's targets become the ticked names, in row order.
    void apply(ScriptInfo& record) const;

    // Shows the rows in a list (name, word count in decimal, check box).
    void fillList(UxListViewControl& list) const;
    // Takes the ticks back from a list filled by fillList.
    void readTicks(const UxListViewControl& list);

private:
    std::vector<Row> m_rows;
};
