#pragma once

#include "gui/DialogBase.h"
#include "ui/UxListViewControl.h"

#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class ConversionDialog;
}

class ConversionDialogModel;
class FileChoosers;

// The conversion window (dialog 108, "tavrelCPP->screenplay.txt"): the
// source folder (1016, "参照" 1023, sub-folders 1011), the output folder
// (1019, 1020), the name-definition file (1021, 1022), the log file (1024;
// its "参照" 1025 does nothing), the definitions list 1000, "事前調査"
// (1005), "出力" (1) and "ｷｬﾝｾﾙ" (2), and the message area 1001. A thin
// front over ConversionDialogModel: the buttons hand the fields to the
// model and run its operations, the message area follows the model's
// message, and the list shows the definitions the last run read. The window
// stays open after a run so that the inputs can be corrected.
class ConversionDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 108;
    static constexpr int ListId = 1000;
    static constexpr int MessageId = 1001;
    static constexpr int SurveyId = 1005;
    static constexpr int SubfoldersId = 1011;
    static constexpr int SourceId = 1016;
    static constexpr int OutputId = 1019;
    static constexpr int OutputBrowseId = 1020;
    static constexpr int DefinitionsId = 1021;
    static constexpr int DefinitionsBrowseId = 1022;
    static constexpr int SourceBrowseId = 1023;
    static constexpr int LogId = 1024;
    static constexpr int LogBrowseId = 1025;
    static constexpr int ConvertId = 1;
    static constexpr int CloseId = 2;

    // The browse buttons ask choosers; they outlive the dialog.
    ConversionDialog(QWidget* parent, ConversionDialogModel& model, const FileChoosers& choosers);
    ~ConversionDialog() override;

    // Runs the dialog modally until the user closes it.
    static void run(QWidget* parent, ConversionDialogModel& model, const FileChoosers& choosers);

    // The definitions picker's filter in the toolkit's form: the model's
    // "label,pattern,label,pattern" becomes "label (pattern);;label (pattern)".
    static QString definitionsFilters();

    const UxListViewControl& list() const { return m_list; }

public slots:
    // Esc and closing the window end the dialog as "ｷｬﾝｾﾙ" does.
    void reject() override;

private:
    void connectControls();
    // Copies the fields into the model; typed folders get their trailing
    // separator, shown in the field too.
    void takeFields();
    void survey();
    void convert();
    void close();
    void browseFolder(int editId);
    void browseDefinitions();
    void showMessage();
    void showRows();
    // The row's tick as the model has it.
    void showTick(int row);
    void takeTicksFromList(int first, int last);

    std::unique_ptr<Ui::ConversionDialog> m_ui;
    ConversionDialogModel& m_model;
    const FileChoosers& m_choosers;
    UxListViewControl m_list{true};
    // Set while the list is refilled from the model, so that the ticks it
    // sets are not taken back as the user's.
    bool m_showingRows = false;
};
