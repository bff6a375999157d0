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
    // A scenario of fourSizes(scenes, bytes), made on the first call for
    // that count and kept for the program's life, so that a benchmark's
    // repetitions and arguments share it.
    static LoadedScenario& fourSizesKept(const std::string& bench, int scenes, std::size_t bytes);
    // The custom print mode with PRESET-14p's sizes and the given worker
    // threads: every estimate or check list lays every scene out afresh,
    // exactly the work of a first PRESET-14p run.
    void layOutAfresh(int jobs);
    // Progress that shows nothing, for commands run under a benchmark.
    static HeadlessProgressView& silentView();

    std::string root;
    std::string folder;
    int64_t bytes = 0; // of all the files
    std::unique_ptr<Quillon> app;
    std::unique_ptr<MainWindowModel> window;
};
