#pragma once

#include "app/MainWindowModel.h"
#include "app/Quillon.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class HeadlessProgressView;

// A scenario folder of generated screenplay files, loaded as the catalogue
// loads it, for the benchmarks that run the application's commands on it.
// The files go into root + "scenario/", a folder of its own under /tmp that
// goes with the object; root also takes what the commands write.
struct LoadedScenario {
    // Each file's name and text.
    using Files = std::vector<std::pair<std::string, std::string>>;

    // bench names the folder ("/tmp/quillon-<bench>-bench-<pid>-<n>/").
    LoadedScenario(const std::string& bench, const Files& files);
    ~LoadedScenario();
    LoadedScenario(const LoadedScenario&) = delete;
    LoadedScenario& operator=(const LoadedScenario&) = delete;

    // scenes generated scenes "s00.screenplay.txt"... (scene names s00...)
    // of about bytes + 97 * i bytes, the sizes repeating after sizes scenes.
    static Files numberedScenes(int scenes, std::size_t bytes, int sizes);
    // scenes copies of four generated scenes of bytes / 2 to bytes, in turn,
    // "s00000.screenplay.txt"..., for the benchmarks that count pages, so
    // that page counts differ from scene to scene.
    static Files fourSizes(int scenes, std::size_t bytes);
    // Progress that shows nothing, for commands run under a benchmark.
    static HeadlessProgressView& silentView();

    std::string root;
    std::string folder;
    int64_t bytes = 0; // of all the files
    std::unique_ptr<Quillon> app;
    std::unique_ptr<MainWindowModel> window;
};
