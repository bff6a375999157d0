#include "batch/FolderSession.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "document/ScriptCatalogue.h"
#include "format/ConfirmedFolderCreation.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"
#include "ui/UxProgressDialog.h"

#include <filesystem>
#include <ostream>
#include <vector>

namespace {

// The names of a comma-separated list, converted to CP932; false when one
// of them has no Shift-JIS form.
bool splitNames(const std::string& list, std::vector<std::string>& names, std::string& bad)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string piece = list.substr(start, end - start);
        if (!piece.empty()) {
            std::string name;
            if (!TextCodec::fromUtf8Exact(piece, name)) {
                bad = piece;
                return false;
            }
            names.push_back(name);
        }
        start = end + 1;
    }
    return true;
}

// One line per file the load left out, or read with characters replaced, on
// the error stream: the output stream carries the command's own result.
void reportSkipped(std::ostream& err, const SkippedFiles& skipped)
{
    for (const SkippedFiles::Entry& entry : skipped.entries()) {
        if (entry.reason == SkippedFiles::Reason::CharactersReplaced) {
            err << "quillon-batch: read " << entry.nativeName
                << " as UTF-8; it has characters Shift-JIS cannot hold, printed as \"〓\"\n";
            continue;
        }
        const bool settings = entry.reason == SkippedFiles::Reason::SettingsNotAFile;
        err << "quillon-batch: " << (settings ? "ignored " : "skipped ") << entry.nativeName
            << ": ";
        switch (entry.reason) {
        case SkippedFiles::Reason::NameNotShiftJis:
            err << "the name cannot be written in Shift-JIS";
            break;
        case SkippedFiles::Reason::NotARegularFile:
            err << "not a regular file";
            break;
        case SkippedFiles::Reason::BrokenLink:
            if (entry.error == WinError::FileNotFound || entry.error == WinError::PathNotFound)
                err << "the link leads to nothing";
            else if (entry.error == WinError::CantResolveFilename)
                err << "the links lead round in a loop";
            else
                err << "the link cannot be followed (error " << entry.error << ")";
            break;
        case SkippedFiles::Reason::SettingsNotAFile:
            err << "not a regular file; the print settings were neither read nor saved";
            break;
        case SkippedFiles::Reason::CharactersReplaced:
            break; // Told above.
        }
        err << "\n";
    }
    err << std::flush;
}

} // namespace

std::set<std::string> FolderSession::valueOptions(std::set<std::string> own)
{
    own.insert("only");
    own.insert("suppress");
    return own;
}

FolderSession::FolderSession(ProgramEnvironment& environment, std::ostream& out, std::ostream& err)
    : m_environment(environment), m_out(out), m_err(err), m_dialogs(out, err), m_notices(m_dialogs),
      m_prompt(err), m_promptScope(m_prompt)
{
    m_app.setSkippedFilesReporter(
        [this](const SkippedFiles& skipped) { reportSkipped(m_err, skipped); });
}

FolderSession::~FolderSession() = default;

int FolderSession::open(const std::string& folder, const BatchArguments& args)
{
    std::string path;
    if (!TextCodec::fromUtf8Exact(folder, path)) {
        m_err << "quillon-batch: the folder name cannot be written in Shift-JIS: " << folder
              << "\n";
        return Failed;
    }
    if (path.empty() || !ConfirmedFolderCreation::folderExists(path)) {
        m_err << "quillon-batch: no such folder: " << folder << "\n";
        return Failed;
    }
    // The notices name full paths: "." and ".." read better resolved. Names
    // on disk are UTF-8, so the resolved form converts back exactly unless
    // a link leads to a name Shift-JIS cannot write; the name as given
    // serves then.
    std::error_code failed;
    const std::filesystem::path resolved = std::filesystem::canonical(folder, failed);
    std::string canonical;
    if (!failed && TextCodec::fromUtf8Exact(resolved.string(), canonical))
        path = canonical;
    m_app.setScenarioFolder(path);
    UxProgressDialog progress(m_environment.progressView());
    switch (m_app.loadScenarioFolder(progress, m_notices)) {
    case FolderLoad::Loaded:
        break;
    case FolderLoad::NoFiles:
        m_err << "quillon-batch: no screenplay files (*.screenplay.txt) in " << folder << "\n";
        return Failed;
    case FolderLoad::Failed:
        m_err << "quillon-batch: the folder could not be read completely\n";
        return Failed;
    case FolderLoad::Cancelled:
        return BatchInterrupt::CancelledStatus;
    }
    if (auto only = args.value("only")) {
        if (int status = applyOnly(*only))
            return status;
    }
    if (auto suppress = args.value("suppress")) {
        if (int status = applySuppress(*suppress))
            return status;
    }
    return Done;
}

int FolderSession::applyOnly(const std::string& list)
{
    std::vector<std::string> names;
    std::string bad;
    if (!splitNames(list, names, bad)) {
        m_err << "quillon-batch: --only: no such screenplay file: " << bad << "\n";
        return Failed;
    }
    ScriptCatalogue& catalogue = m_app.catalogue();
    std::vector<bool> ticked(size_t(catalogue.count()), false);
    for (const std::string& name : names) {
        bool found = false;
        for (int index = 0; index < catalogue.count(); ++index) {
            if (catalogue.fileName(index).view() == name) {
                ticked[size_t(index)] = true;
                found = true;
            }
        }
        if (!found) {
            // A name mistyped would silently leave a scene out.
            m_err << "quillon-batch: --only: no such screenplay file: " << TextCodec::toUtf8(name)
                  << "\n";
            return Failed;
        }
    }
    for (int index = 0; index < catalogue.count(); ++index)
        catalogue.setTicked(index, ticked[size_t(index)]);
    return Done;
}

int FolderSession::applySuppress(const std::string& list)
{
    std::vector<std::string> names;
    std::string bad;
    if (!splitNames(list, names, bad)) {
        m_err << "quillon-batch: --suppress: the name cannot be written in Shift-JIS: " << bad
              << "\n";
        return Failed;
    }
    std::vector<FCString> suppressed;
    for (const std::string& name : names)
        suppressed.emplace_back(name);
    // Only the application's copy changes; nothing writes the settings file
    // after the load, so the folder keeps its own list.
    m_app.printFormat().rebuildSuppressed(suppressed);
    m_app.rebuildSuppressedCharacters();
    return Done;
}

int FolderSession::finish(int status) const
{
    if (status == Done && UxProgressDialog::cancelRequested())
        return BatchInterrupt::CancelledStatus;
    return status;
}
