#include "batch/PrintCommand.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "batch/FolderSession.h"
#include "fc/FCPathName.h"
#include "format/PrintFormat.h"
#include "platform/NativePath.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"
#include "render/PageObserver.h"
#include "reports/PrintRun.h"

#include <cerrno>
#include <ostream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Counts the pages of the run and, once it is over, tells the page images
// that did not reach the disk: the PNG path only traces its failures, and a
// run that lost pages must not end as a success. A page counts as written
// when its file is there and is not the one that was there before the page
// was begun.
class PageFileCheck : public PageObserver {
public:
    DeviceContext* pageOpened(const Page& page, DeviceContext* dc) override
    {
        ++m_pages;
        if (!page.path.empty())
            m_files.push_back({page.path, stateOf(page.path)});
        return dc;
    }
    int pages() const { return m_pages; }
    // After the run: the page files that were not written.
    int failed() const
    {
        int failed = 0;
        for (const File& file : m_files) {
            const State after = stateOf(file.path);
            if (!after.exists || after == file.before)
                ++failed;
        }
        return failed;
    }

private:
    struct State {
        bool exists = false;
        ino_t inode = 0;
        long long seconds = 0;
        long nanoseconds = 0;
        off_t size = 0;
        bool operator==(const State&) const = default;
    };
    struct File {
        std::string path;
        State before;
    };
    // The page names carry the extension the device forces on them.
    static State stateOf(const std::string& cp932)
    {
        State state;
        std::string native;
        struct stat status {};
        if (cp932.empty() || NativePath::fromCp932(cp932, native) != WinError::Success ||
            ::stat(native.c_str(), &status) != 0)
            return state;
        state.exists = true;
        state.inode = status.st_ino;
        state.seconds = status.st_mtim.tv_sec;
        state.nanoseconds = status.st_mtim.tv_nsec;
        state.size = status.st_size;
        return state;
    }

    int m_pages = 0;
    std::vector<File> m_files;
};

// The text as a CP932 absolute path (a folder ends with "/"); false, with
// the reason told, when Shift-JIS cannot write it.
bool absolutePath(const std::string& utf8, bool folder, std::string& out, std::ostream& err)
{
    std::string cp932;
    if (utf8.empty() || !TextCodec::fromUtf8Exact(utf8, cp932)) {
        err << "quillon-batch: the name cannot be written in Shift-JIS: " << utf8 << "\n";
        return false;
    }
    FCPathName path{FCString(cp932)};
    if (!path.isAbsolute()) {
        err << "quillon-batch: cannot resolve " << utf8 << "\n";
        return false;
    }
    if (folder)
        path.addSeparator();
    out = path.string().toStdString();
    return true;
}

int badArguments(const BatchArguments& args, std::ostream& err, const std::string& reason = {})
{
    return args.refuse(err, PrintCommand::usage, reason);
}

} // namespace

bool PrintCommand::openWithDesktop(const FCString& path)
{
    std::string native;
    if (NativePath::fromCp932(path.view(), native) != WinError::Success)
        return false;
    char program[] = "xdg-open";
    char* argv[] = {program, native.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int PrintCommand::run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, FolderSession::valueOptions({"device", "dest", "log"}),
                    {"generic", "no-emphasis", "no-log", "open-log"}) ||
        args.positional().size() != 1)
        return badArguments(args, err);

    int device = PrintFormat::DevicePng;
    if (auto given = args.value("device")) {
        if (*given == "png")
            device = PrintFormat::DevicePng;
        else if (*given == "bmp")
            device = PrintFormat::DeviceBmp;
        else if (*given == "printer")
            device = PrintFormat::DevicePrinter;
        else
            return badArguments(args, err, "--device: png, bmp or printer, not " + *given);
    }
    if (args.has("no-log") && (args.has("log") || args.has("open-log")))
        return badArguments(args, err, "--no-log goes with neither --log nor --open-log");

    std::string destination, logPath;
    if (auto given = args.value("dest")) {
        if (!absolutePath(*given, true, destination, err))
            return FolderSession::Failed;
    }
    if (auto given = args.value("log")) {
        if (!absolutePath(*given, false, logPath, err))
            return FolderSession::Failed;
    }

    FolderSession session(out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;

    Quillon& app = session.app();
    app.setOutputDevice(device);
    if (!destination.empty())
        app.setDestinationFolder(destination);
    if (!logPath.empty())
        app.setLogPath(logPath);
    app.setGenericScript(args.has("generic"));
    app.setCommentEmphasis(!args.has("no-emphasis"));
    app.setPrintLog(!args.has("no-log"));

    PrintRun run(app);
    if (args.has("open-log"))
        run.setOpener(&PrintCommand::openWithDesktop);
    const int fileFailuresBefore = session.fileFailures();
    PageFileCheck pages;
    const PrintRun::Outcome outcome = run.printAll(session.list());

    out << outcome.printed << " scene(s) printed, " << pages.pages() << " page(s)";
    if (device != PrintFormat::DevicePrinter)
        out << " in " << TextCodec::toUtf8(app.destinationOrScenarioFolder().view());
    out << "\n";
    if (outcome.logWritten)
        out << "log: " << TextCodec::toUtf8(app.logPath().view()) << "\n";

    bool failed = session.fileFailures() > fileFailuresBefore;
    if (outcome.unreadable > 0) {
        err << "quillon-batch: " << outcome.unreadable
            << " scene(s) could not be read; they are not logged as printed\n";
        failed = true;
    }
    if (const int lost = pages.failed(); lost > 0) {
        err << "quillon-batch: " << lost << " page file(s) could not be written\n";
        failed = true;
    }
    if (outcome.logFailed) {
        err << "quillon-batch: the print log could not be written: "
            << TextCodec::toUtf8(app.logPath().view()) << "\n";
        failed = true;
    }
    if (outcome.logWritten && args.has("open-log") && !outcome.logOpened) {
        err << "quillon-batch: xdg-open could not show the print log\n";
        failed = true;
    }
    if (outcome.cancelled)
        return BatchInterrupt::CancelledStatus;
    return session.finish(failed ? FolderSession::Failed : FolderSession::Done);
}
