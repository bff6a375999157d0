#pragma once

// A private CUPS scheduler for tests: cupsd in the foreground on a free
// loopback port, with its whole configuration, spool, state and logs in a
// temporary folder, and libcups of the test process pointed at it. Jobs are
// kept with their documents, so a test reads back exactly what was sent.
//
//     CupsTestServer server;
//     if (!server.running())
//         GTEST_SKIP() << server.failure();
//
// The server is stopped and its folder removed when the object goes, also
// when an assertion ends the test early; should the test process die, the
// scheduler is told to stop by the kernel.

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cups/cups.h>
#include <cups/raster.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <netinet/in.h>
#include <optional>
#include <pwd.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

class CupsTestServer {
public:
    enum class Mode {
        WithQueue,    // the raw queue "quillon-test", default destination of the server
        WithoutQueue, // a running server without any destination
        ClosedPort,   // no server at all: libcups is pointed at a port nobody listens on
    };

    struct Job {
        int id = 0;
        std::string title;
        ipp_jstate_t state = IPP_JSTATE_PENDING;
    };

    // One page read back from a PWG raster stream: its header and its rows,
    // cupsBytesPerLine bytes each.
    struct RasterPage {
        cups_page_header2_t header{};
        std::vector<unsigned char> pixels;
        unsigned char at(unsigned x, unsigned y) const
        {
            return pixels[static_cast<std::size_t>(y) * header.cupsBytesPerLine + x];
        }
    };

    static constexpr const char* QueueName = "quillon-test";

    explicit CupsTestServer(Mode mode = Mode::WithQueue)
    {
        m_port = freePort();
        if (m_port <= 0) {
            m_failure = "no free loopback port for cupsd";
            return;
        }
        if (mode == Mode::ClosedPort) {
            pointLibcupsHere();
            m_running = true;
            return;
        }
        const std::string cupsd = findCupsd();
        if (cupsd.empty()) {
            m_failure = "cupsd not found (Debian package cups-daemon); CUPS tests skipped";
            return;
        }
        if (!makeFolder() || !writeConfiguration()) {
            m_failure = "cannot prepare a folder for cupsd: " + m_failure;
            return;
        }
        if (!start(cupsd))
            return;
        if (mode == Mode::WithQueue && !addQueue())
            return;
        pointLibcupsHere();
        m_running = true;
    }

    ~CupsTestServer()
    {
        restoreLibcups();
        stop();
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }

    CupsTestServer(const CupsTestServer&) = delete;
    CupsTestServer& operator=(const CupsTestServer&) = delete;

    // True when the server answers (for ClosedPort: when libcups points at
    // the closed port); otherwise failure() says why.
    bool running() const { return m_running; }
    const std::string& failure() const { return m_failure; }
    int port() const { return m_port; }
    // "127.0.0.1:port", as CUPS_SERVER holds it while the object lives.
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    const std::string& folder() const { return m_folder; }

    // The spooled document of a job, as cupsd keeps it.
    std::string documentFile(int jobId) const
    {
        char name[32];
        std::snprintf(name, sizeof name, "d%05d-001", jobId);
        return m_folder + "/spool/" + name;
    }

    // Every job the server knows, completed ones included, by id.
    std::vector<Job> jobs() const
    {
        std::vector<Job> out;
        http_t* http = connect();
        if (!http)
            return out;
        cups_job_t* list = nullptr;
        const int count = cupsGetJobs2(http, &list, nullptr, 0, CUPS_WHICHJOBS_ALL);
        for (int i = 0; i < count; ++i)
            out.push_back(Job{list[i].id, list[i].title ? list[i].title : "", list[i].state});
        if (list)
            cupsFreeJobs(count, list);
        httpClose(http);
        std::sort(out.begin(), out.end(), [](const Job& a, const Job& b) { return a.id < b.id; });
        return out;
    }

    // Waits until at least `count` jobs exist and none is still waiting or
    // printing; gives the jobs then, or what there was when time ran out.
    std::vector<Job> waitForFinishedJobs(std::size_t count, int timeoutMs = 10000) const
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::vector<Job> list;
        for (;;) {
            list = jobs();
            bool finished = list.size() >= count;
            for (const Job& job : list)
                finished = finished && job.state > IPP_JSTATE_STOPPED;
            if (finished || std::chrono::steady_clock::now() >= deadline)
                return list;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    // Stops or restarts the queue: jobs sent while it is stopped stay pending.
    bool pauseQueue() const { return printerRequest(IPP_OP_PAUSE_PRINTER, nullptr, 0); }
    bool resumeQueue() const { return printerRequest(IPP_OP_RESUME_PRINTER, nullptr, 0); }

    // Makes the queue refuse new jobs.
    bool rejectJobs() const { return printerRequest(IPP_OP_CUPS_REJECT_JOBS, nullptr, 0); }

    // Gives the queue a default media (a PWG name) and resolution.
    bool setQueueDefaults(const char* media, int dotsPerInch) const
    {
        return printerRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, media, dotsPerInch);
    }

    // The pages of a PWG raster file; nullopt when it is not one.
    static std::optional<std::vector<RasterPage>> readRaster(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            return std::nullopt;
        cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_READ);
        if (!raster) {
            ::close(fd);
            return std::nullopt;
        }
        std::vector<RasterPage> pages;
        bool broken = false;
        RasterPage page;
        while (cupsRasterReadHeader2(raster, &page.header)) {
            const std::size_t size =
                static_cast<std::size_t>(page.header.cupsBytesPerLine) * page.header.cupsHeight;
            // A page of more than 512 MB is no page these tests sent.
            if (page.header.cupsBytesPerLine == 0 || size > (std::size_t{1} << 29)) {
                broken = true;
                break;
            }
            page.pixels.assign(size, 0);
            if (cupsRasterReadPixels(raster, page.pixels.data(), static_cast<unsigned>(size)) !=
                size) {
                broken = true;
                break;
            }
            pages.push_back(page);
        }
        cupsRasterClose(raster);
        ::close(fd);
        if (broken)
            return std::nullopt;
        return pages;
    }

    // The end of cupsd's error log, for messages.
    std::string log() const
    {
        std::ifstream in(m_folder + "/log/error_log");
        std::stringstream text;
        text << in.rdbuf();
        std::string all = text.str();
        return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
    }

private:
    static int freePort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0)
            return -1;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        int port = -1;
        if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        ::close(s);
        return port;
    }

    static std::string findCupsd()
    {
        std::vector<std::string> candidates{"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"};
        if (const char* path = std::getenv("PATH")) {
            std::stringstream folders(path);
            std::string folder;
            while (std::getline(folders, folder, ':'))
                if (!folder.empty())
                    candidates.push_back(folder + "/cupsd");
        }
        for (const std::string& candidate : candidates)
            if (::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        return {};
    }

    bool makeFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-cupsd-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (!::mkdtemp(buffer.data())) {
            m_failure = pattern + ": " + std::strerror(errno);
            return false;
        }
        m_folder = buffer.data();
        // cupsd hands its folders to its own user when it runs as root.
        ::chmod(m_folder.c_str(), 0755);
        for (const char* sub : {"spool", "spool/tmp", "cache", "state", "log", "ssl"}) {
            std::error_code error;
            std::filesystem::create_directories(m_folder + "/" + sub, error);
            if (error) {
                m_failure = m_folder + "/" + sub + ": " + error.message();
                return false;
            }
        }
        return true;
    }

    bool writeFile(const std::string& name, const std::string& text)
    {
        std::ofstream out(m_folder + "/" + name);
        out << text;
        out.close();
        if (!out) {
            m_failure = "cannot write " + m_folder + "/" + name;
            return false;
        }
        return true;
    }

    bool writeConfiguration()
    {
        const std::string& f = m_folder;
        std::string files = "FileDevice Yes\n"
                            "ServerRoot " +
                            f +
                            "\n"
                            "RequestRoot " +
                            f +
                            "/spool\n"
                            "TempDir " +
                            f +
                            "/spool/tmp\n"
                            "CacheDir " +
                            f +
                            "/cache\n"
                            "StateDir " +
                            f +
                            "/state\n"
                            "ServerKeychain " +
                            f +
                            "/ssl\n"
                            "AccessLog " +
                            f +
                            "/log/access_log\n"
                            "ErrorLog " +
                            f +
                            "/log/error_log\n"
                            "PageLog " +
                            f +
                            "/log/page_log\n"
                            "Printcap " +
                            f + "/printcap\n";
        if (::geteuid() != 0) {
            // Not root: cupsd stays the user that started it.
            const passwd* user = ::getpwuid(::geteuid());
            const group* grp = ::getgrgid(::getegid());
            if (user && grp) {
                files += std::string("User ") + user->pw_name + "\n";
                files += std::string("Group ") + grp->gr_name + "\n";
                files += std::string("SystemGroup ") + grp->gr_name + "\n";
            }
        }
        const std::string daemon = "Listen 127.0.0.1:" + std::to_string(m_port) + "\n" +
                                   "Browsing No\n"
                                   "BrowseLocalProtocols none\n"
                                   "WebInterface No\n"
                                   "DefaultEncryption Never\n"
                                   "HostNameLookups Off\n"
                                   "LogLevel warn\n"
                                   "MaxLogSize 0\n"
                                   "PreserveJobFiles Yes\n"
                                   "PreserveJobHistory Yes\n"
                                   "DefaultAuthType None\n"
                                   "<Policy default>\n"
                                   "JobPrivateAccess all\n"
                                   "JobPrivateValues none\n"
                                   "SubscriptionPrivateAccess all\n"
                                   "SubscriptionPrivateValues none\n"
                                   "<Limit All>\n"
                                   "Order deny,allow\n"
                                   "</Limit>\n"
                                   "</Policy>\n";
        return writeFile("cups-files.conf", files) && writeFile("cupsd.conf", daemon);
    }

    bool start(const std::string& cupsd)
    {
        const std::string daemonConf = m_folder + "/cupsd.conf";
        const std::string filesConf = m_folder + "/cups-files.conf";
        const std::string output = m_folder + "/log/cupsd.out";
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid < 0) {
            m_failure = std::string("cannot start cupsd: ") + std::strerror(errno);
            return false;
        }
        if (pid == 0) {
            // Only async-signal-safe calls between fork and exec.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(126);
            const int null = ::open("/dev/null", O_RDONLY);
            const int log = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (null >= 0)
                ::dup2(null, 0);
            if (log >= 0) {
                ::dup2(log, 1);
                ::dup2(log, 2);
            }
            ::execl(cupsd.c_str(), cupsd.c_str(), "-f", "-c", daemonConf.c_str(), "-s",
                    filesConf.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        m_pid = pid;

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                m_failure = "cupsd exited at start-up (status " + std::to_string(status) +
                            "): " + log() + readText(output);
                return false;
            }
            if (answers())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        m_failure = "cupsd did not answer on " + address() + ": " + log();
        return false;
    }

    static std::string readText(const std::string& path)
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void stop()
    {
        if (m_pid <= 0)
            return;
        // cupsd may sleep up to a second in its loop before it sees the
        // signal; nothing it could still write outlives the folder, so it
        // gets a short grace and is then killed.
        ::kill(m_pid, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        int status = 0;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
    }

    http_t* connect() const
    {
        return httpConnect2("127.0.0.1", m_port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 2000,
                            nullptr);
    }

    // True when the scheduler takes and answers an IPP request.
    bool answers() const
    {
        http_t* http = connect();
        if (!http)
            return false;
        ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
        ipp_t* response = cupsDoRequest(http, request, "/");
        const bool ok = response != nullptr;
        ippDelete(response);
        httpClose(http);
        return ok;
    }

    std::string printerUri() const
    {
        return "ipp://localhost:" + std::to_string(m_port) + "/printers/" + QueueName;
    }

    // One administrative request on the queue; for Add-Modify-Printer the
    // defaults to set (media may be null, resolution 0 for none).
    bool printerRequest(ipp_op_t operation, const char* media, int dotsPerInch) const
    {
        http_t* http = connect();
        if (!http)
            return false;
        ipp_t* request = ippNewRequest(operation);
        const std::string uri = printerUri();
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        if (media)
            ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "media-default", nullptr,
                         media);
        if (dotsPerInch > 0)
            ippAddResolution(request, IPP_TAG_PRINTER, "printer-resolution-default",
                             IPP_RES_PER_INCH, dotsPerInch, dotsPerInch);
        ippDelete(cupsDoRequest(http, request, "/admin/"));
        const bool ok = cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
        httpClose(http);
        return ok;
    }

    // The raw queue writing to a file in the folder, accepting jobs and made
    // the server's default destination.
    bool addQueue()
    {
        http_t* http = connect();
        if (!http) {
            m_failure = "cupsd stopped answering on " + address();
            return false;
        }
        const std::string uri = printerUri();
        const std::string device = "file://" + m_folder + "/out.prn";
        ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, device.c_str());
        ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
        ippDelete(cupsDoRequest(http, request, "/admin/"));
        bool ok = cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
        if (ok) {
            request = ippNewRequest(IPP_OP_CUPS_SET_DEFAULT);
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                         uri.c_str());
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                         cupsUser());
            ippDelete(cupsDoRequest(http, request, "/admin/"));
            ok = cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
        }
        if (!ok)
            m_failure = std::string("cupsd refused the test queue: ") + cupsLastErrorString() +
                        "\n" + log();
        httpClose(http);
        return ok;
    }

    // libcups reads CUPS_SERVER again once its cached server is forgotten;
    // LPDEST and PRINTER would name another default.
    void pointLibcupsHere()
    {
        for (const char* name : {"CUPS_SERVER", "LPDEST", "PRINTER"}) {
            const char* value = std::getenv(name);
            m_saved.push_back(Saved{name, value != nullptr, value ? value : ""});
        }
        ::setenv("CUPS_SERVER", address().c_str(), 1);
        ::unsetenv("LPDEST");
        ::unsetenv("PRINTER");
        cupsSetServer(nullptr);
        m_pointed = true;
    }

    void restoreLibcups()
    {
        if (!m_pointed)
            return;
        for (const Saved& saved : m_saved) {
            if (saved.present)
                ::setenv(saved.name, saved.value.c_str(), 1);
            else
                ::unsetenv(saved.name);
        }
        cupsSetServer(nullptr);
        m_pointed = false;
    }

    struct Saved {
        const char* name;
        bool present;
        std::string value;
    };

    int m_port = -1;
    pid_t m_pid = -1;
    bool m_running = false;
    bool m_pointed = false;
    std::string m_folder;
    std::string m_failure;
    std::vector<Saved> m_saved;
};
