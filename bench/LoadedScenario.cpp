#include "LoadedScenario.h"

#include "SceneGenerator.h"
#include "format/PrintFormat.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

LoadedScenario::LoadedScenario(const std::string& bench, const Files& files)
{
    static int made = 0;
    root = "/tmp/quillon-" + bench + "-bench-" + std::to_string(getpid()) + "-" +
           std::to_string(made++) + "/";
    folder = root + "scenario/";
    std::filesystem::create_directories(folder);
    for (const auto& [name, text] : files) {
        std::ofstream(folder + name, std::ios::binary) << text;
        bytes += static_cast<int64_t>(text.size());
    }
    app = std::make_unique<Quillon>();
    window = std::make_unique<MainWindowModel>(app->catalogue());
    app->setScenarioFolder(folder);
    HeadlessDialogHost dialogs;
    UxDialogs notices(dialogs);
    UxProgressDialog progress(silentView());
    if (app->loadScenarioFolder(progress, notices, window->loadDisplay()) != FolderLoad::Loaded)
        std::fprintf(stderr, "%s_bench: the folder did not load\n", bench.c_str());
}

LoadedScenario::~LoadedScenario()
{
    // The records go before the folder they were read from.
    window.reset();
    app.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

LoadedScenario::Files LoadedScenario::numberedScenes(int scenes, std::size_t bytes, int sizes)
{
    Files files;
    char name[32];
    for (int i = 0; i < scenes; ++i) {
        std::string text = SceneGenerator::generate(bytes + std::size_t(i % sizes) * 97);
        // Each scene its own name, so that its pages get their own folder.
        std::snprintf(name, sizeof name, "s%02d", i);
        text.replace(text.find("bench"), 5, name);
        files.emplace_back(std::string(name) + ".screenplay.txt", std::move(text));
    }
    return files;
}

LoadedScenario::Files LoadedScenario::fourSizes(int scenes, std::size_t bytes)
{
    std::string bodies[4];
    for (int i = 0; i < 4; ++i)
        bodies[i] = SceneGenerator::generate(bytes / 2 + std::size_t(i) * bytes / 3);
    Files files;
    char name[32];
    for (int i = 0; i < scenes; ++i) {
        std::snprintf(name, sizeof name, "s%05d.screenplay.txt", i);
        files.emplace_back(name, bodies[i % 4]);
    }
    return files;
}

LoadedScenario& LoadedScenario::fourSizesKept(const std::string& bench, int scenes,
                                              std::size_t bytes)
{
    static std::map<std::pair<std::string, int>, std::unique_ptr<LoadedScenario>> kept;
    std::unique_ptr<LoadedScenario>& made = kept[{bench, scenes}];
    if (!made)
        made = std::make_unique<LoadedScenario>(bench, fourSizes(scenes, bytes));
    return *made;
}

void LoadedScenario::layOutAfresh(int jobs)
{
    PrintFormat& format = app->printFormat();
    format.setJobs(jobs);
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomFontSize(14);
    format.setCustomLineWidth(20);
    format.setCustomLinesPerPage(47);
    format.setCustomCharsPerLine(40);
}

HeadlessProgressView& LoadedScenario::silentView()
{
    static HeadlessProgressView view(stderr, false);
    return view;
}
