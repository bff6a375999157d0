// The print run to page images, against what the same pages would cost
// otherwise: a generated scenario of more than 200 pages is printed as a
// whole (load, layout, drawing, turning, encoding and writing of every page,
// the log) to PNG and to BMP; the same pages are encoded by libpng at its
// defaults; drawing and turning are timed alone; and pango-view draws one
// page of the same text as a whole process. Every benchmark reports, per
// page, the wall time (ms_per_page) and the CPU time of the whole process,
// user plus system, encoder threads included (cpu_ms_per_page; pango-view's
// from the child's own usage). The PNG run is also timed on about 200 and
// about 800 pages, and the 800 pages with every core against one job
// (printJobsPng, and printJobsBmp for BMP pages: wall, CPU, CPU per wall
// time, CPU per page and peak memory of each, as JobsComparison states
// them). The last benchmark states the ratios of that run:
//   cpu_png_vs_libpng_defaults  libpng-defaults CPU / PNG run CPU, per page (target >= 8)
//   cpu_pango_vs_png_run        pango-view CPU / PNG run CPU, per page (target >= 20)
//   size_vs_libpng_defaults     average PNG file / average libpng-defaults file (target <= 1)
//   cpu_800_vs_200_pages        CPU of 800 pages / CPU of 200 pages, scaled to exactly
//                               those counts (target <= 4.2)
//   png_vs_libpng_defaults, pango_vs_png_run: the same in wall time
//   draw_turn_share             drawing and turning / libpng-defaults encode, CPU per page

#include "JobsComparison.h"
#include "LoadedScenario.h"
#include "SceneGenerator.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "platform/TextCodec.h"
#include "render/FCVSurface.h"
#include "render/FCVSurface24.h"
#include "render/PageDevice.h"
#include "render/PageRenderer.h"
#include "render/PageSink.h"
#include "render/RunContext.h"
#include "render/ScriptPrinter.h"
#include "reports/PrintRun.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <png.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Scenes = 12;
constexpr std::size_t SceneBytes = 14000;

// Per page, as measured by the benchmarks of this run (seconds, bytes).
struct Figures {
    double pngRun = 0;
    double bmpRun = 0;
    double libpngDefaults = 0;
    double drawAndTurn = 0;
    double pangoView = 0;
    double pngBytes = 0;
    double libpngDefaultBytes = 0;
    // CPU seconds per page.
    double pngRunCpu = 0;
    double bmpRunCpu = 0;
    double libpngDefaultsCpu = 0;
    double drawAndTurnCpu = 0;
    double pangoViewCpu = 0;
    // CPU seconds per page of the small and the large PNG run.
    double smallRunCpu = 0;
    double largeRunCpu = 0;
};
Figures figures;

using Clock = std::chrono::steady_clock;

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// CPU time of the whole process so far, every thread's user and system time.
double processCpu()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and CPU time from construction on.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = processCpu();
    Clock::duration wallSpent() const { return Clock::now() - wall; }
    double cpuSpent() const { return processCpu() - cpu; }
};

// CPU seconds per page over all iterations of a benchmark.
double cpuPerPage(double spent, benchmark::IterationCount iterations, std::size_t pages)
{
    if (iterations == 0 || pages == 0)
        return 0;
    return spent / double(iterations) / double(pages);
}

// Seconds per page over all iterations of a benchmark, from the time spent
// in its loop.
double perPage(Clock::duration spent, benchmark::IterationCount iterations, std::size_t pages)
{
    if (iterations == 0 || pages == 0)
        return 0;
    return std::chrono::duration<double>(spent).count() / double(iterations) / double(pages);
}

// One emitted page: where it came from, and its pixels as drawn (grey,
// portrait, rows top to bottom).
struct CapturedPage {
    int scene = 0; // the n of its scene "snn"
    int target = 0;
    int page = 0;
    std::string path;
    std::vector<uint8_t> grey;
};

// The page a run printed, as the run's page watch tells it.
CapturedPage captured(const PageSink::Page& page, const PageSink& sink)
{
    CapturedPage captured;
    captured.target = page.target;
    captured.page = page.page;
    captured.path = sink.pageFile(page).toStdString();
    // The page's folder is its scene's name.
    const std::size_t folderEnd = captured.path.rfind('/');
    const std::size_t folderStart =
        folderEnd == std::string::npos ? folderEnd : captured.path.rfind('/', folderEnd - 1);
    if (folderStart != std::string::npos && captured.path[folderStart + 1] == 's')
        captured.scene = std::atoi(captured.path.c_str() + folderStart + 2);
    return captured;
}

// A scenario folder of generated scenes, loaded as the catalogue loads it,
// with the run's settings: PRESET-14p, comment emphasis, no director's copy.
struct Scenario : LoadedScenario {
    explicit Scenario(int scenes = Scenes)
        : LoadedScenario("print", numberedScenes(scenes, SceneBytes, Scenes))
    {
        app->setLogPath(root + "quillon.log.txt");
    }

    // One whole print run; the number of pages emitted.
    int print(OutputDevice device, const std::string& destination,
              RunContext::PageWatch watch = nullptr)
    {
        app->setOutputDevice(device);
        app->setDestinationFolder(destination);
        PrintRun run(app->context());
        run.setPageWatch(std::move(watch));
        UxProgressDialog progress(silentView());
        return run.printAll(app->catalogue(), progress).pages;
    }

    // Every scene laid out as the run lays it out, by its number.
    std::vector<std::unique_ptr<ScriptPrinter>> laidOutScenes() const
    {
        std::vector<std::unique_ptr<ScriptPrinter>> printers;
        char name[32];
        for (int scene = 0; scene < Scenes; ++scene) {
            auto printer = std::make_unique<ScriptPrinter>();
            PrintRun::configure(app->context(), *printer);
            std::snprintf(name, sizeof name, "s%02d.screenplay.txt", scene);
            printer->load((folder + name).c_str());
            printers.push_back(std::move(printer));
        }
        return printers;
    }
};

Scenario& scenario()
{
    static Scenario made;
    return made;
}

// The pages of one PNG run, kept for the comparisons, and the average size
// of the files that run wrote.
std::vector<CapturedPage>& capturedPages()
{
    static std::vector<CapturedPage> pages;
    if (pages.empty()) {
        Scenario& s = scenario();
        s.print(OutputDevice::Png, s.root + "captured/",
                [](const PageSink::Page& page, const PageSink& sink) {
                    pages.push_back(captured(page, sink));
                });
        // The pixels of each page as it was drawn, drawn again.
        const std::vector<std::unique_ptr<ScriptPrinter>> printers = s.laidOutScenes();
        for (CapturedPage& page : pages) {
            const ScriptPrinter& printer =
                *printers[std::size_t(std::clamp(page.scene, 0, Scenes - 1))];
            PageRenderer renderer(printer);
            FCVSurface surface(PageDevice::ImageWidth, PageDevice::ImageHeight, 255);
            renderer.draw(surface.lockDC(), page.target, page.page);
            const int width = surface.width();
            page.grey.resize(std::size_t(width) * std::size_t(surface.height()));
            for (int y = 0; y < surface.height(); ++y)
                std::memcpy(page.grey.data() + std::size_t(y) * std::size_t(width),
                            surface.pixel(0, y), std::size_t(width));
        }
        double bytes = 0;
        for (const CapturedPage& page : pages) {
            struct stat status {};
            if (::stat(TextCodec::toUtf8(page.path).c_str(), &status) == 0)
                bytes += double(status.st_size);
        }
        figures.pngBytes = pages.empty() ? 0 : bytes / double(pages.size());
    }
    return pages;
}

void printRun(benchmark::State& state, Scenario& s, OutputDevice device, double& secondsPerPage,
              double& cpuSecondsPerPage)
{
    const std::string destination = s.root + (device == OutputDevice::Png ? "png/" : "bmp/");
    int pages = 0;
    const Stopwatch watch;
    for (auto _ : state)
        pages = s.print(device, destination);
    secondsPerPage = perPage(watch.wallSpent(), state.iterations(), std::size_t(pages));
    cpuSecondsPerPage = cpuPerPage(watch.cpuSpent(), state.iterations(), std::size_t(pages));
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["ms_per_page"] = secondsPerPage * 1000;
    state.counters["cpu_ms_per_page"] = cpuSecondsPerPage * 1000;
}

void printRunPng(benchmark::State& state)
{
    // The pages for the comparisons, and the sizes of their files.
    capturedPages();
    printRun(state, scenario(), OutputDevice::Png, figures.pngRun, figures.pngRunCpu);
    state.counters["bytes_per_page"] = figures.pngBytes;
}

void printRunBmp(benchmark::State& state)
{
    printRun(state, scenario(), OutputDevice::Bmp, figures.bmpRun, figures.bmpRunCpu);
}

// The PNG run on about 200 pages (9 scenes) and on about 800 (34 scenes).
void printRunPngPages(benchmark::State& state)
{
    const bool large = state.range(0) > 500;
    Scenario s(large ? 34 : 9);
    double wall = 0;
    printRun(state, s, OutputDevice::Png, wall, large ? figures.largeRunCpu : figures.smallRunCpu);
}

// The captured page turned clockwise as the PNG path gives it to libpng:
// 4 bytes per pixel (blue, green, red, unused), rows top to bottom.
std::vector<uint8_t> turnedBgrx(const CapturedPage& page)
{
    const int width = PageDevice::ImageWidth;
    const int height = PageDevice::ImageHeight;
    // Turned: height x width; pixel (x, y) lands at (height - 1 - y, x).
    std::vector<uint8_t> out(std::size_t(width) * std::size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t grey = page.grey[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            uint8_t* pixel =
                out.data() +
                (std::size_t(x) * std::size_t(height) + std::size_t(height - 1 - y)) * 4;
            pixel[0] = pixel[1] = pixel[2] = grey;
            pixel[3] = 0;
        }
    }
    return out;
}

// libpng with nothing chosen: default zlib level and adaptive filtering.
long encodeWithDefaults(const std::string& path, const std::vector<uint8_t>& bgrx, int width,
                        int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return -1;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return -1;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = significant.green = significant.blue = 8;
    png_set_sBIT(png, info, &significant);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y)
        png_write_row(png, bgrx.data() + std::size_t(y) * std::size_t(width) * 4);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

void libpngDefaults(benchmark::State& state)
{
    std::vector<CapturedPage>& pages = capturedPages();
    std::vector<std::vector<uint8_t>> turned;
    turned.reserve(pages.size());
    for (const CapturedPage& page : pages)
        turned.push_back(turnedBgrx(page));
    const std::string path = scenario().root + "default.png";
    double bytes = 0;
    const Stopwatch watch;
    for (auto _ : state) {
        bytes = 0;
        for (const std::vector<uint8_t>& page : turned)
            bytes += double(
                encodeWithDefaults(path, page, PageDevice::ImageHeight, PageDevice::ImageWidth));
    }
    figures.libpngDefaults = perPage(watch.wallSpent(), state.iterations(), turned.size());
    figures.libpngDefaultsCpu = cpuPerPage(watch.cpuSpent(), state.iterations(), turned.size());
    figures.libpngDefaultBytes = turned.empty() ? 0 : bytes / double(turned.size());
    state.counters["ms_per_page"] = figures.libpngDefaults * 1000;
    state.counters["cpu_ms_per_page"] = figures.libpngDefaultsCpu * 1000;
    state.counters["pages"] = double(turned.size());
    state.counters["pages_per_s"] =
        benchmark::Counter(double(turned.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes_per_page"] = figures.libpngDefaultBytes;
}

// Drawing a page on a fresh white page image and turning it, as the page
// device does before encoding; every captured page once per iteration.
void drawAndTurn(benchmark::State& state)
{
    Scenario& s = scenario();
    std::vector<CapturedPage>& pages = capturedPages();
    // The scenes laid out once, outside the timing.
    const std::vector<std::unique_ptr<ScriptPrinter>> printers = s.laidOutScenes();
    std::vector<const ScriptPrinter*> owner;
    for (const CapturedPage& page : pages)
        owner.push_back(printers[std::size_t(std::clamp(page.scene, 0, Scenes - 1))].get());
    const Stopwatch watch;
    for (auto _ : state) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            PageRenderer renderer(*owner[i]);
            FCVSurface surface(PageDevice::ImageWidth, PageDevice::ImageHeight, 255);
            if (!renderer.draw(surface.lockDC(), pages[i].target, pages[i].page))
                continue;
            benchmark::DoNotOptimize(surface.turnedClockwise());
        }
    }
    figures.drawAndTurn = perPage(watch.wallSpent(), state.iterations(), pages.size());
    figures.drawAndTurnCpu = cpuPerPage(watch.cpuSpent(), state.iterations(), pages.size());
    state.counters["ms_per_page"] = figures.drawAndTurn * 1000;
    state.counters["cpu_ms_per_page"] = figures.drawAndTurnCpu * 1000;
    state.counters["pages"] = double(pages.size());
    state.counters["pages_per_s"] =
        benchmark::Counter(double(pages.size()), benchmark::Counter::kIsIterationInvariantRate);
}

// The text of the first page of the first scene in UTF-8, with its header.
std::string firstPageText()
{
    Scenario& s = scenario();
    ScriptPrinter printer;
    PrintRun::configure(s.app->context(), printer);
    printer.load((s.folder + "s00.screenplay.txt").c_str());
    std::string text =
        TextCodec::toUtf8(PageRenderer::headerText(printer.layout(), 0, 0).view()) + "\n";
    const std::string_view laidOut = printer.laidOutText().view();
    std::size_t start = 0;
    for (int line = 0; line < printer.linesPerPage() && start < laidOut.size(); ++line) {
        std::size_t end = laidOut.find('\n', start);
        if (end == std::string_view::npos)
            end = laidOut.size();
        std::string_view piece = laidOut.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        text += TextCodec::toUtf8(piece) + "\n";
        start = end + 1;
    }
    return text;
}

// Runs pango-view as a child process; its CPU seconds (user plus system,
// from its own usage), or a negative number when it did not run.
double runPangoView(const std::string& input, const std::string& output)
{
    const std::string outputOption = "--output=" + output;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // Quiet, as a page is all that is wanted of it.
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execlp("pango-view", "pango-view", "-q", "--dpi=96", "--gravity=east", "--rotate=-90",
                 "--font=IPAGothic 14", outputOption.c_str(), input.c_str(),
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void pangoView(benchmark::State& state)
{
    Scenario& s = scenario();
    const std::string input = s.root + "page.txt";
    const std::string output = s.root + "pango.png";
    std::ofstream(input, std::ios::binary) << firstPageText();
    double cpu = 0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        const double spent = runPangoView(input, output);
        if (spent < 0) {
            state.SkipWithError(
                "pango-view is missing or failed: skipped (Debian: pango1.0-tools)");
            return;
        }
        cpu += spent;
    }
    figures.pangoView = perPage(Clock::now() - start, state.iterations(), 1);
    figures.pangoViewCpu = cpuPerPage(cpu, state.iterations(), 1);
    state.counters["ms_per_page"] = figures.pangoView * 1000;
    state.counters["cpu_ms_per_page"] = figures.pangoViewCpu * 1000;
    state.counters["pages_per_s"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

// The targets as ratios of the figures above; 0 where a figure is missing
// (a filter left its benchmark out).
void ratios(benchmark::State& state)
{
    for (auto _ : state) {
    }
    const Figures& f = figures;
    auto ratio = [](double a, double b) { return a > 0 && b > 0 ? a / b : 0.0; };
    state.counters["png_vs_libpng_defaults"] = ratio(f.libpngDefaults, f.pngRun);
    state.counters["cpu_png_vs_libpng_defaults"] = ratio(f.libpngDefaultsCpu, f.pngRunCpu);
    state.counters["size_vs_libpng_defaults"] = ratio(f.pngBytes, f.libpngDefaultBytes);
    state.counters["draw_turn_share"] = ratio(f.drawAndTurnCpu, f.libpngDefaultsCpu);
    state.counters["pango_vs_png_run"] = ratio(f.pangoView, f.pngRun);
    state.counters["cpu_pango_vs_png_run"] = ratio(f.pangoViewCpu, f.pngRunCpu);
    state.counters["pango_vs_bmp_run"] = ratio(f.pangoView, f.bmpRun);
    // 800 pages at the large run's cost per page against 200 at the small's.
    state.counters["cpu_800_vs_200_pages"] = ratio(800 * f.largeRunCpu, 200 * f.smallRunCpu);
}

} // namespace

// The PNG (and BMP) run of about 800 pages (34 scenes) with every core
// against one job, each in a process of its own (see JobsComparison).
void printJobs(benchmark::State& state, OutputDevice device)
{
    Scenario s(34);
    JobsComparison::run(state, [&](int jobs) {
        std::error_code ignored;
        std::filesystem::remove_all(s.root + "jobs/", ignored);
        s.app->printFormat().setJobs(jobs);
        return s.print(device, s.root + "jobs/");
    });
}

void printJobsPng(benchmark::State& state)
{
    printJobs(state, OutputDevice::Png);
}

void printJobsBmp(benchmark::State& state)
{
    printJobs(state, OutputDevice::Bmp);
}

BENCHMARK(printRunPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printRunBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(libpngDefaults)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(drawAndTurn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pangoView)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printRunPngPages)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ratios)->Iterations(1);
BENCHMARK(printJobsPng)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printJobsBmp)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
