#include "batch/ListCommand.h"

#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "document/ScriptCatalogue.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <ostream>

int ListCommand::run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    FolderSession session(out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;

    const UxListViewControl& list = session.list();
    std::string text;
    for (int row = 0; row < list.rowCount(); ++row) {
        const UxListViewControl::Cell* name = list.cell(row, ScriptCatalogue::ColumnFileName);
        const UxListViewControl::Cell* characters =
            list.cell(row, ScriptCatalogue::ColumnCharacters);
        text += list.isChecked(row) ? "x" : "-";
        text += '\t';
        text += name ? name->text : std::string();
        text += '\t';
        text += characters ? characters->text : std::string();
        text += '\n';
    }
    text += Sjis::of("総数");
    text += '\t';
    text += session.window().totalText().view();
    text += '\n';
    text += Sjis::of("発言者なし");
    text += '\t';
    text += session.window().noSpeakerText().view();
    text += '\n';
    out << TextCodec::toUtf8(text) << std::flush;
    return session.finish(FolderSession::Done);
}
