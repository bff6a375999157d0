#include "batch/ListCommand.h"

#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <ostream>
#include <string>

int ListCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                     std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;

    // What the main window shows: a line per entry, then the two counts.
    const ScriptCatalogue& catalogue = session.catalogue();
    std::string text;
    int noSpeaker = 0;
    for (int index = 0; index < catalogue.count(); ++index) {
        const ScriptInfo& record = catalogue.record(index);
        text += catalogue.isTicked(index) ? "x" : "-";
        text += '\t';
        text += catalogue.fileName(index).view();
        text += '\t';
        text += record.characterNames().view();
        text += '\n';
        if (record.characterCount() == 0)
            ++noSpeaker;
    }
    text += Sjis::of("総数");
    text += '\t';
    text += std::to_string(catalogue.count());
    text += '\n';
    text += Sjis::of("発言者なし");
    text += '\t';
    text += std::to_string(noSpeaker);
    text += '\n';
    out << TextCodec::toUtf8(text) << std::flush;
    return session.finish(FolderSession::Done);
}
