#include "batch/LayoutCommand.h"

#include "batch/BatchArguments.h"
#include "batch/TypesettingArguments.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/Diagnostic.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"
#include "render/ScriptPrinter.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <ostream>

int LayoutCommand::run(ProgramEnvironment&, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    std::optional<long> width, lines, options;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    if (!args.wholeNumber("chars-per-line", 1, width) ||
        !args.wholeNumber("lines-per-page", 1, lines) ||
        !args.wholeNumber("options", LONG_MIN, options)) {
        return args.refuse(err, usage);
    }

    std::string path;
    if (!TextCodec::fromUtf8Exact(args.positional()[0], path)) {
        err << "quillon-batch: the file name cannot be written in Shift-JIS: "
            << args.positional()[0] << "\n";
        return 1;
    }

    // Only a file is laid out: a folder would be refused with a misleading
    // box, and a FIFO could block the open for good.
    const std::string& given = args.positional()[0];
    FileSystem::EntryKind kind = FileSystem::EntryKind::File;
    if (FileSystem::entryKind(path, kind) == WinError::Success &&
        kind != FileSystem::EntryKind::File) {
        err << "quillon-batch: not a screenplay file: " << given
            << (kind == FileSystem::EntryKind::Folder ? " is a folder\n"
                                                      : " is not a regular file\n");
        return 1;
    }

    ScriptPrinter printer;
    if (width)
        (void)printer.setCharactersPerLine(static_cast<int>(*width));
    if (lines)
        (void)printer.setLinesPerPage(static_cast<int>(*lines));
    // The option word is 32 bits: a larger number gives its low 32 bits.
    // The help names its bits by number.
    static_assert(
        ScriptPrinter::OptionNotesInCommentFont == 0x10 &&
            (ScriptPrinter::OptionGenericScript | ScriptPrinter::OptionNotesInCommentFont) == 0x11,
        "--options as the help describes it");
    if (options)
        printer.setOptions(static_cast<uint32_t>(*options));
    TypesettingOptions typesetting;
    TypesettingArguments::apply(args, typesetting);
    printer.setTypesetting(typesetting);

    try {
        printer.load(path.c_str());
    } catch (const CannotOpenException&) {
        // The file layer has already said why.
        err << "quillon-batch: cannot read " << given << "\n";
        return 1;
    } catch (const CannotReadException&) {
        err << "quillon-batch: cannot read " << given << "\n";
        return 1;
    } catch (const Diagnostic& failure) {
        failure.show();
        err << "quillon-batch: cannot lay out " << given << "\n";
        return 1;
    }

    const ScriptLayout& layout = printer.layout();
    if (layout.replacedCharacters() > 0) {
        err << "quillon-batch: read " << given
            << " as UTF-8; it has characters Shift-JIS cannot hold, printed as \"〓\"\n";
    }

    std::string_view text = layout.text().view();
    std::size_t start = 0;
    char flags[16];
    for (int line = 0; line < layout.lineCount(); ++line) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            lf = text.size();
        std::snprintf(flags, sizeof flags, "%08x", layout.lineFlags(line));
        out << flags << '\t' << TextCodec::toUtf8(text.substr(start, lf - start)) << '\n';
        start = lf + 1;
    }
    out << "pages\t" << layout.pageCount() << '\n';
    return 0;
}
