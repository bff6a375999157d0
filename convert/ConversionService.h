#pragma once

#include "convert/ConversionState.h"
#include "fc/FCString.h"

#include <functional>

class Notices;
class Progress;

// The pre-survey and the conversion of the old engine's sources as plain
// work, the same for the conversion window and the batch tool: each run is
// given its inputs as values, shows its progress on the Progress it is
// handed, and gives back what it found (a prompt, a refusal, the report or
// the log) for its caller to show. The survey findings, definitions and
// header live in the ConversionState, which outlives the runs; every run
// starts from a cleared state, so runs do not influence each other. Texts
// are CP932.
class ConversionService {
public:
    // The places a run works on, as typed: folders with or without their
    // trailing separator.
    struct Inputs {
        FCString sourceFolder;
        FCString outputFolder;
        FCString definitions;
        bool includeSubfolders = false;
        // Threads that read and convert sources side by side; 0 (or less)
        // means one per core. Whatever the number, the files, the log and
        // the progress come out in source order as from one.
        int jobs = 0;
    };

    enum class Outcome {
        InputMissing, // an input is empty: message holds the prompt naming it
        Refused,      // a folder or the definitions are missing: message says which
        Done,
        Cancelled, // the conversion was cancelled between two sources
    };

    struct Result {
        Outcome outcome = Outcome::Done;
        // The prompt or the refusal; empty when the run went ahead.
        FCString message;
        // The pre-survey's report or the conversion's log.
        FCString text;
        // The name definitions as the definition file gave them, before the
        // survey added its placeholders for the speakers nobody defined.
        ConversionState::Definitions definitions;
        // Sources in the conversion, and screenplay files it wrote.
        int sourceCount = 0;
        int writtenCount = 0;
    };

    // What became of a log file.
    enum class LogSave { NotAsked, Saved, KeptExisting, Failed };

    // Told what the work is doing between two progress steps: each surveyed
    // file's name followed by "出力中...", the making of the source list.
    using Message = std::function<void(const FCString&)>;

    explicit ConversionService(ConversionState& state);
    virtual ~ConversionService();

    ConversionService(const ConversionService&) = delete;
    ConversionService& operator=(const ConversionService&) = delete;

    static const char* progressTitle();
    static const char* progressText();
    static const char* overwriteTitle();
    // The log's last line after a cancel.
    static const char* cancelledLine();

    // "事前調査": the input checks, then every "*.cpp" of the source folder
    // surveyed against the definitions; Done with the message-ID report.
    Result survey(const Inputs& inputs, const Message& message = {});
    // "出力": the input checks, then every source converted into the output
    // folder in path order, a progress step each; Done or Cancelled with the
    // log. The sources are read and converted on inputs.jobs threads, each
    // with its own header; their files take their names, their log lines
    // and their progress steps one by one on this thread, in path order,
    // and a cancel leaves no file of a source that was not yet logged.
    Result convert(const Inputs& inputs, Progress& progress, const Message& message = {});

    // Saves a conversion's log at path (CP932) through a replacement, so
    // that an interruption leaves the old file or the new one. An existing
    // file is overwritten only when the question put to notices is answered
    // yes.
    static LogSave saveLog(const FCString& path, const FCString& log, Notices& notices);

private:
    // The prompt for the first empty input; empty when every one is given.
    static FCString missingInput(const Inputs& inputs);
    // The folders and the definitions; the refusal when one is missing,
    // empty otherwise.
    FCString loadInputs(const Inputs& inputs, bool forSurvey);

    ConversionState& m_state;
};
