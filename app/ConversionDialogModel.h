#pragma once

#include "convert/ConversionService.h"
#include "fc/FCString.h"

#include <cstdint>
#include <functional>
#include <vector>

class Notices;
class ProgressView;

// The dialog "tavrelCPP->screenplay.txt" without its window: the four input
// fields, the sub-folder box, the definitions list and what the buttons do.
// The work is the ConversionService's; the model hands it the fields and
// shows what it gives back: a prompt in the message area, a refusal, the
// pre-survey's report and the conversion's log in the notice dialog. The
// conversion runs under a progress dialog (UxProgressDialog) with a cancel
// button, and a log file is overwritten only after the question dialog
// agreed. The GUI shows these fields and message(). All texts are CP932.
class ConversionDialogModel {
public:
    static const char* title();
    static const char* definitionsPickerTitle();
    // The open-file dialog's filter: pairs of label and pattern, separated
    // by commas.
    static const char* definitionsPickerFilter();

    using Outcome = ConversionService::Outcome;
    using LogSave = ConversionService::LogSave;

    // One row of the definitions list: object name, true name, ticked.
    struct Row {
        FCString objectName;
        FCString trueName;
        int32_t number = 0;
        bool checked = true;
    };

    // The state (survey findings, definitions, header) belongs to the
    // dialog's owner and outlives the dialog. Notices and questions go to
    // notices, the conversion's progress dialog shows itself in progress.
    ConversionDialogModel(ConversionState& state, Notices& notices, ProgressView& progress);
    virtual ~ConversionDialogModel();

    ConversionDialogModel(const ConversionDialogModel&) = delete;
    ConversionDialogModel& operator=(const ConversionDialogModel&) = delete;

    // The controls.
    FCString sourceFolderText;
    FCString outputFolderText;
    FCString definitionsText;
    FCString logFileText;
    bool includeSubfolders = false;
    // The threads the conversion reads and converts sources on (the print
    // settings' jobs: 0 is one per core).
    int jobs = 0;

    // The folder pickers write the chosen folder with a trailing separator.
    static FCString pickedFolder(const FCString& chosen);
    // Where the definitions picker starts: the field's text, or the
    // program's folder when the field is empty.
    FCString definitionsPickerStart() const;

    // "事前調査": the survey of the source folder and its report in the
    // notice dialog.
    Outcome preSurvey();
    // "出力": every source converted in path order under the progress
    // dialog; the log is shown and, when a log file is named, saved.
    Outcome convert();
    // "ｷｬﾝｾﾙ": the list is emptied.
    void close();

    // The message area; listeners repaint it at once (the survey writes
    // each file's name there while it works).
    const FCString& message() const { return m_message; }
    void setMessageListener(std::function<void()> listener) { m_listener = std::move(listener); }
    // The notice a refused run showed; empty otherwise.
    const FCString& refusal() const { return m_refusal; }
    // The last pre-survey's report and the last conversion's log.
    const FCString& report() const { return m_report; }
    const FCString& log() const { return m_log; }
    LogSave logSave() const { return m_logSave; }
    // Sources in the last conversion, and screenplay files it wrote.
    int sourceCount() const { return m_sourceCount; }
    int writtenCount() const { return m_writtenCount; }

    // The definitions list: what the definition file said, after a
    // pre-survey or a conversion has read it.
    const std::vector<Row>& rows() const { return m_rows; }
    // A double click on a row flips its tick.
    void toggleRow(int row);

private:
    ConversionService::Inputs inputs() const;
    ConversionService::Message messageArea();
    // Shows a run that did not go ahead; false for one that did.
    bool stopped(const ConversionService::Result& result);
    void setMessage(const FCString& text);
    void fillRows(const ConversionState::Definitions& definitions);

    ConversionService m_service;
    Notices& m_notices;
    ProgressView& m_progress;
    FCString m_message;
    FCString m_refusal;
    FCString m_report;
    FCString m_log;
    LogSave m_logSave = LogSave::NotAsked;
    int m_sourceCount = 0;
    int m_writtenCount = 0;
    std::vector<Row> m_rows;
    std::function<void()> m_listener;
};
