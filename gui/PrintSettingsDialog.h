#pragma once

#include "gui/DialogBase.h"
#include "ui/UxListViewControl.h"

#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class PrintSettingsDialog;
}

class FileChoosers;
class PrintSettingsDialogModel;
class QAbstractButton;
class QComboBox;
class QLineEdit;

// The print settings window (dialog 105), in its settings form and in its
// print-start form: output device and destination folder, print log, print
// mode and custom format, options, the background of user comments, the
// characters whose scripts are never printed, and the message field. A thin
// front over PrintSettingsDialogModel: every change of a control's state
// goes to the model's operation and the window then shows the model's fields
// again; OK hands the controls' current state to the model and closes only
// when the model accepts. The print-start form may offer "変更された台詞のみ"
// above the list: since the last print or against an older folder. F1 on a
// control writes its help into the message field. The form is laid out in
// two columns, output and log with the list on the left, the format and
// options on the right, so that it fits a small screen; the list takes what
// the window grows by.
class PrintSettingsDialog : public DialogBase {
    Q_OBJECT

public:
    // The browse buttons ask choosers; they outlive the dialog.
    PrintSettingsDialog(QWidget* parent, PrintSettingsDialogModel& model,
                        const FileChoosers& choosers);
    ~PrintSettingsDialog() override;

    // Runs the dialog modally; true when it ended with an accepted OK (the
    // model then holds the result for its apply()).
    static bool run(QWidget* parent, PrintSettingsDialogModel& model, const FileChoosers& choosers);

    // The file dialog's title and filters.
    static QString logFileDialogTitle();
    static QString logFileFilters();

    const UxListViewControl& list() const { return m_list; }

public slots:
    // OK: ends the dialog when the model accepts, else shows its message.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    QComboBox* faceCombo(int face) const;
    QLineEdit* weightEdit(int face) const;
    // Hands every control's state to the model, as OK reads it.
    void takeControls();
    void showModel();
    void showMessage();
    void showCount();
    void takeTicksFromList(int first, int last);
    void browseDestination();
    void browseLogFile();
    void browseCompareFolder();
    void showHelpOf(QWidget* widget);
    static void setTextKeepingCursor(QLineEdit* edit, const QString& text);

    std::unique_ptr<Ui::PrintSettingsDialog> m_ui;
    PrintSettingsDialogModel& m_model;
    const FileChoosers& m_choosers;
    UxListViewControl m_list{true};
    // Set while showModel() sets the controls.
    bool m_showing = false;
};
