#pragma once

#include "convert/ScreenplayBatch.h"
#include "fc/FCString.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

class ConversionState;
class RavconHeader;
class SourceLine;
class SpareFiles;

// Turns one old-engine source into one screenplay file: the speech lines
// become numbered lines under the speakers' true names, selected stage
// directions become bracketed notes, and the header counts the lines per
// character. One result line per source, and one line per problem before
// it, go to the conversion log.
class ScreenplayWriter {
public:
    enum class Result {
        Written,    // "○": the screenplay file holds the source's speech lines
        NoSpeech,   // "×": no speech line, nothing written
        Unreadable, // "×": the source could not be read, nothing written
        NotWritten, // "×": the file could not be written; an old one is kept whole
    };

    // The batch of a conversion run: large enough that the flush per batch
    // costs little, small enough that a crash loses little work.
    static constexpr std::size_t RunBatch = 64;

    // What prepare() makes of one source for commit() to finish: the
    // screenplay already in its temporary file, and the log lines of the
    // source's problems.
    struct Prepared {
        // The source could not be read (or written) the short way: commit()
        // converts it again the file layer's way, which tells the user.
        bool again = true;
        bool spoke = false;
        FCString problems;
        // Trace lines of the header, said by commit().
        FCString trace;
        // The text, when no temporary could be written for it.
        FCString screenplay;
        ScreenplayBatch::Temporary file;
    };

    // A batch of 1 puts every screenplay file in place before convertSource
    // returns; a larger one puts them in place batch by batch (see
    // ScreenplayBatch), the last batch in finish(). The header counted is
    // the state's.
    explicit ScreenplayWriter(ConversionState& state, std::size_t batch = 1);
    // The same counting into a header of its own (a copy of the state's,
    // with the character names): writers on several threads share the
    // state, which none of them changes.
    ScreenplayWriter(const ConversionState& state, RavconHeader& header, std::size_t batch = 1);
    virtual ~ScreenplayWriter();

    // Converts the source into outputFolder (a missing separator is added),
    // appending to the log. The character names must have been loaded into
    // the state's header. The file is written through a temporary file, so a
    // failure never leaves a file cut short. A file this writer wrote before
    // (a source of the same name in another folder) is replaced, and the log
    // names it first.
    Result convertSource(const FCString& sourcePath, const FCString& outputFolder, FCString& log);

    // convertSource in two halves. prepare() reads the source, converts it
    // and writes its temporary file without a word to the user or to the
    // log, so it may run on any thread with a writer of its own;
    // outputFolder is folderPath()'s form. commit() then does the rest on
    // the run's thread, in source order: the log lines, the batch, the
    // names written twice. Together they do what convertSource does.
    Prepared prepare(const FCString& sourcePath, const FCString& outputFolder);
    Result commit(const FCString& sourcePath, const FCString& outputFolder, Prepared& prepared,
                  FCString& log);

    // Writes the screenplays into the old files that new ones replace, once
    // they are moved aside (see SpareFiles), rather than into new files; the
    // writers of one run share spares, which must outlive them.
    void recycle(SpareFiles* spares);

    // Puts the files still waiting in the batch in place. A file reported
    // Written whose batch could not be put in place is logged as not
    // written; the number of such files since the last finish() comes back.
    int finish(FCString& log);

    // The conversion of a source's text alone: the screenplay text (header
    // and body) of the scene; false, with the text empty, when no speech line
    // was written. Problems go to the log naming sourcePath.
    bool convertText(const FCString& source, const FCString& sceneName, const FCString& sourcePath,
                     FCString& screenplay, FCString& log);

    // The scene of a source: its file name with every ".cpp" removed.
    static FCString sceneNameOf(const FCString& sourcePath);

private:
    // The output path of a source in outputFolder (folderPath()'s form).
    static FCString outputPathOf(const FCString& scene, const FCString& outputFolder);
    // convertSource the file layer's way, which asks the user about what
    // goes wrong.
    Result convertAgain(const FCString& sourcePath, const FCString& outputFolder, FCString& log);
    Result place(const FCString& outputPath, FCString& screenplay, ScreenplayBatch::Temporary* file,
                 FCString& log);
    // Puts the batch in place and logs the files that failed but current
    // (the source being converted); true when current failed.
    bool commitBatch(FCString& log, const FCString& current);
    static void logNotWritten(const FCString& outputPath, FCString& log);
    void convertLine(const SourceLine& line, const FCString& sourcePath, FCString& body,
                     FCString& log);
    void convertComment(const SourceLine& line, FCString& body);
    void convertMacro(const SourceLine& line, FCString& body);
    void convertSpeech(const SourceLine& line, const FCString& sourcePath, FCString& body,
                       FCString& log);
    void convertCommand(const SourceLine& line, FCString& body);
    void convertEffect(const SourceLine& line, bool secondArgument, FCString& body);

    const ConversionState& m_state;
    RavconHeader& m_header;
    ScreenplayBatch m_batch;
    // The last output folder as typed and as folderPath() resolved it: the
    // resolution asks the system for the working folder.
    FCString m_outputTyped;
    FCString m_outputFolder;
    int m_lost = 0;
    // The files this writer has written: two sources of the same name in
    // different sub-folders meet in one output file, and the log says so.
    std::set<std::string> m_written;
    bool m_spoke = false;
    int32_t m_choice = 0;
    // Where the header's trace lines go while prepare() runs.
    FCString* m_trace = nullptr;
    SpareFiles* m_spares = nullptr;
};
