#pragma once

#include "app/ChangeCheck.h"
#include "fc/FCString.h"
#include "format/FaceChoices.h"
#include "format/OutputDevice.h"
#include "format/PrintFormat.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class Notices;
class RunSettings;
class UxListViewControl;

// The print settings dialog (dialog 105) without its window. It edits a
// working copy of the print format and holds every control's state as a
// field; the window shows the fields, forwards each control event to the
// operation of the same name, and closes when accept() says so. Texts are
// CP932; the numeric fields are texts, read with FCString::toInteger only
// when they are used, so that the user's input stays as typed.
//
// Purposes: Settings ("印刷設定" / "設定する") and PrintStart ("印刷の実行" /
// "印刷開始").
//
// After an accepted OK the caller calls apply() on the application's print
// format and run settings, rebuilds its suppressed characters and saves the
// settings file. The destination folder of the application's run settings
// already changes inside accept() when a file device is chosen, even when
// the folder is then not created and the dialog stays open.
class PrintSettingsDialogModel {
public:
    static constexpr int DialogTemplate = 105;

    enum Purpose { Settings = 0, PrintStart = 1 };

    // Control ids.
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;
    static constexpr int ListId = 1000;
    static constexpr int MessageId = 1001;
    static constexpr int SelectAllId = 1005;
    static constexpr int ClearAllId = 1006;
    static constexpr int CountId = 1009;
    static constexpr int GenericId = 1011;
    static constexpr int EmphasisId = 1012;
    static constexpr int PrinterId = 1013;
    static constexpr int BmpId = 1014;
    static constexpr int PngId = 1015;
    static constexpr int DestinationId = 1016;
    static constexpr int LogId = 1017;
    static constexpr int DestinationBrowseId = 1018;
    static constexpr int LogFileId = 1019;
    static constexpr int LogBrowseId = 1020;
    static constexpr int WeightIds[PrintFormat::FaceCount] = {1021, 1024, 1025};
    static constexpr int FontSizeId = 1026;
    static constexpr int LineWidthId = 1027;
    static constexpr int FaceIds[PrintFormat::FaceCount] = {1028, 1029, 1030};
    static constexpr int LinesPerPageId = 1031;
    static constexpr int CharsPerLineId = 1032;
    static constexpr int Preset14Id = 1033;
    static constexpr int Preset16Id = 1034;
    static constexpr int Preset18Id = 1035;
    static constexpr int CustomId = 1036;
    static constexpr int AutoCalcId = 1037;
    static constexpr int FirstBackgroundId = 1038; // 1038 to 1042: backgrounds 0 to 4
    static constexpr int BackgroundCount = 5;
    static constexpr int GreyId = 1043;
    static constexpr int PdfId = 1044;           // "ファイルに出力(PDF)" (device 3)
    static constexpr int BundleByActorId = 1045; // "キャラ別にまとめる"
    static constexpr int LineBreakingId = 1046;  // "禁則処理": なし / 標準 / 緩め
    static constexpr int UprightDigitsId = 1047; // "数字を縦中横にする"
    static constexpr int RubyId = 1048;          // "ルビを表示する"

    static constexpr int ChangesOnlyId = 1049;       // "変更された台詞のみ"
    static constexpr int SincePrintId = 1050;        // "前回の印刷から"
    static constexpr int CompareFolderId = 1051;     // "比較する台本フォルダ" (the radio)
    static constexpr int CompareFolderTextId = 1052; // the older folder
    static constexpr int CompareBrowseId = 1053;     // "参照"

    static constexpr const char* FolderCreationCaption = "出力先フォルダの新規作成";

    struct Row {
        FCString name;
        bool ticked = false;
    };

    // notices: where OK asks whether a missing destination folder may be
    // made, and tells why one could not be; format: the application's
    // print format (copied); run: the
    // application's run settings, read now and given the new destination
    // folder on OK; suppressedNames: the characters suppressed now;
    // characters: the scenario totals' names, one row each in their order;
    // faces: the installed faces offered in the three combo boxes;
    // printedBy: which installed family prints a face the format names that
    // is not installed (see FaceChoices; the font engine when empty).
    PrintSettingsDialogModel(Notices& notices, Purpose purpose, const PrintFormat& format,
                             RunSettings& run, const FCString& scenarioFolder,
                             const std::vector<FCString>& suppressedNames,
                             const std::vector<FCString>& characters,
                             std::vector<std::string> faces, FaceChoices::PrintedBy printedBy = {});
    virtual ~PrintSettingsDialogModel();

    PrintSettingsDialogModel(const PrintSettingsDialogModel&) = delete;
    PrintSettingsDialogModel& operator=(const PrintSettingsDialogModel&) = delete;

    Purpose purpose() const { return m_purpose; }
    const char* title() const;
    const char* okCaption() const;
    const PrintFormat& working() const { return m_working; }

    // Output device and destination folder (1013-1016, 1018, 1044).
    OutputDevice device() const { return m_device; }
    void chooseDevice(OutputDevice device);
    const FCString& destinationText() const { return m_destinationText; }
    void setDestinationText(std::string_view text);
    bool destinationEnabled() const { return writesFiles(m_device); }

    // One PDF per actor (1045): enabled only while PDF is chosen; the tick
    // stays as it is while another device is chosen.
    bool bundleByActor() const { return m_bundleByActor; }
    void setBundleByActor(bool ticked);
    bool bundleEnabled() const { return m_device == OutputDevice::Pdf; }

    // Print log (1017, 1019, 1020).
    bool logTicked() const { return m_logTicked; }
    void setLog(bool ticked);
    const FCString& logText() const { return m_logText; }
    void setLogText(std::string_view text);
    bool logEnabled() const { return m_logTicked; }

    // Print mode (1033-1036) and the custom format. The custom controls and
    // 1037 are enabled only in custom mode; the setters below do nothing
    // while they are disabled (or, for 1031 and 1032, read-only).
    int mode() const { return m_mode; }
    void chooseMode(int mode);
    bool customEnabled() const { return m_mode == PrintFormat::ModeCustom; }

    // The entries of the face boxes: the face each stands for (what OK
    // stores) and what the box shows. The faces the format names come first
    // when they are not installed, so that they are shown and kept.
    const std::vector<std::string>& faces() const { return m_faceChoices.faces(); }
    const std::vector<std::string>& faceLabels() const { return m_faceChoices.labels(); }
    // The selected index among faces() or -1.
    int faceIndex(int face) const { return m_faceIndex[checked(face)]; }
    void selectFace(int face, int index);
    const FCString& weightText(int face) const { return m_weightText[checked(face)]; }
    void setWeightText(int face, std::string_view text);

    const FCString& fontSizeText() const { return m_fontSizeText; }
    void editFontHeight(std::string_view text);
    const FCString& lineWidthText() const { return m_lineWidthText; }
    void editLineWidth(std::string_view text);
    const FCString& linesPerPageText() const { return m_linesPerPageText; }
    void editLinesPerPage(std::string_view text);
    const FCString& charsPerLineText() const { return m_charsPerLineText; }
    void editCharsPerLine(std::string_view text);
    // 1031 and 1032 start read-only in every mode; clearing 1037 makes them
    // editable, ticking it read-only again.
    bool sizesReadOnly() const { return m_sizesReadOnly; }
    bool autoCalc() const { return m_autoCalc; }
    void setAutoCalc(bool ticked);

    // Options (1011, 1012).
    bool generic() const { return m_generic; }
    void setGeneric(bool ticked) { m_generic = ticked; }
    bool emphasis() const { return m_emphasis; }
    void setEmphasis(bool ticked) { m_emphasis = ticked; }

    // Typesetting (1046-1048): the line breaking as the combo's index (0
    // none, 1 strict, 2 loose; another index is refused), upright digits and
    // readings.
    int lineBreaking() const { return static_cast<int>(m_typesetting.lineBreaking); }
    void chooseLineBreaking(int index);
    bool uprightDigits() const { return m_typesetting.uprightDigits; }
    void setUprightDigits(bool ticked) { m_typesetting.uprightDigits = ticked; }
    bool ruby() const { return m_typesetting.ruby; }
    void setRuby(bool ticked) { m_typesetting.ruby = ticked; }

    // Only the lines changed since the last print or against an older
    // scenario folder (1049-1053): offered by the caller of the print-start
    // form, with the older folders typed before (oldest first). The source
    // and the folder are enabled while the choice is ticked, the folder
    // while it is the source. OK refuses the choice with an empty folder;
    // whether the folder is there is for the print to find out.
    void offerChanges(std::vector<FCString> folderHistory);
    bool changesOffered() const { return m_changesOffered; }
    const std::vector<FCString>& compareFolderHistory() const { return m_compareHistory; }
    bool changesOnly() const { return m_changesOnly; }
    void setChangesOnly(bool ticked);
    bool sincePrint() const { return m_source.sincePrint; }
    void chooseSincePrint(bool sincePrint);
    bool changesSourceEnabled() const { return m_changesOnly; }
    const FCString& compareFolderText() const { return m_source.folderText; }
    void setCompareFolderText(std::string_view text);
    bool compareFolderEnabled() const { return m_changesOnly && !m_source.sincePrint; }
    const ChangeCheck::Source& changesSource() const { return m_source; }

    // Background of user comments (1038-1042, -1 none ticked) and its grey
    // (1043).
    int background() const { return m_background; }
    void chooseBackground(int background);
    const FCString& greyText() const { return m_greyText; }
    void setGreyText(std::string_view text);

    // Suppressed characters (1000, 1009, 1005, 1006).
    const std::vector<Row>& rows() const { return m_rows; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool setTicked(int row, bool ticked);
    bool toggle(int row);
    void selectAll();
    void clearAll();
    int suppressedCount() const;
    FCString countText() const;
    // The list's columns, "" (24, the check box) and "キャラ名" (300), and
    // one row per character with its tick.
    static void defineColumns(UxListViewControl& list);
    void fillList(UxListViewControl& list) const;
    // Ticks the list's rows as the model has them.
    void showTicks(UxListViewControl& list) const;

    // The message field (1001): the opening message, a refused OK's message
    // or the help of a control (F1).
    const FCString& message() const { return m_message; }
    bool messageIsHelp() const { return m_messageIsHelp; }
    void showHelp(int controlId);
    static const char* helpText(int controlId);

    // The visible label of a custom-format control (1021-1032), CP932, as
    // the incomplete-format message quotes it between "「" and "」". A weight
    // shares its label with the other two, so it is quoted with its face:
    // the quote then reads "「…フォント名」の「太さ(0-1000)」".
    static std::string fieldLabel(int controlId);

    // OK: checks the input (a refusal leaves its message and every input as
    // it was, false; an incomplete custom format names its first empty field
    // on a second line), stores it into the working copy, and for a file device
    // makes the run settings' destination folder the edit's text with a "/"
    // and asks before creating it. True when the dialog closes with OK.
    [[nodiscard]] bool accept();
    bool accepted() const { return m_accepted; }

    // After an accepted OK: the working copy replaces format; run takes the
    // switches, the log file, the output device and the PDF bundling from
    // it. The destination
    // folder was set by accept(). Before an accepted OK nothing changes
    // (false).
    bool apply(PrintFormat& format, RunSettings& run) const;

    // Where the log file dialog opens: the edit's text, or the program's
    // folder while it is empty.
    static std::string logBrowserStart(std::string_view text);

private:
    static int checked(int face);
    // The custom controls from the working copy's effective values.
    void fillCustom();
    void recalculate();
    // The id of the first empty custom field in the form's order, 0 when
    // every field is filled.
    int firstEmptyCustomField() const;
    void storeInput();

    Notices& m_notices;
    Purpose m_purpose;
    PrintFormat m_working;
    RunSettings& m_run;

    OutputDevice m_device;
    FCString m_destinationText;
    bool m_bundleByActor = false;
    bool m_logTicked = false;
    FCString m_logText;

    int m_mode = PrintFormat::ModePreset14;
    bool m_customFilled = false;
    FaceChoices m_faceChoices;
    std::array<int, PrintFormat::FaceCount> m_faceIndex{-1, -1, -1};
    std::array<FCString, PrintFormat::FaceCount> m_weightText;
    FCString m_fontSizeText;
    FCString m_lineWidthText;
    FCString m_linesPerPageText;
    FCString m_charsPerLineText;
    bool m_autoCalc = false;
    bool m_sizesReadOnly = true;

    bool m_generic = false;
    bool m_emphasis = false;
    TypesettingOptions m_typesetting;
    int m_background = -1;
    FCString m_greyText;

    bool m_changesOffered = false;
    std::vector<FCString> m_compareHistory;
    bool m_changesOnly = false;
    ChangeCheck::Source m_source;

    std::vector<Row> m_rows;
    FCString m_message;
    bool m_messageIsHelp = false;
    bool m_accepted = false;
};
