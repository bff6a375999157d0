#pragma once

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sndfile.h>
#include <stdexcept>
#include <string>
#include <vector>

// Audio files written with libsndfile for the tests: mono, 8000 frames a
// second, 16-bit, every sample at `level` of full scale with alternating
// sign (so a level of 1.0 is a clipped square wave and 0 is silence).
inline void writeAudio(const std::string& path, sf_count_t frames, double level = 0.5,
                       int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<short> samples(static_cast<std::size_t>(frames));
    const double peak = std::min(1.0, level) * 32767.0 + (level >= 1.0 ? 1 : 0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = short(i % 2 ? -std::lround(peak) : std::lround(std::min(peak, 32767.0)));
    sf_writef_short(file, samples.data(), frames);
    sf_close(file);
}

inline void writeFlac(const std::string& path, sf_count_t frames, double level = 0.5)
{
    writeAudio(path, frames, level, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
}

// A WAV file whose data stops halfway through what its header declares.
inline void writeCutWav(const std::string& path, sf_count_t frames)
{
    writeAudio(path, frames);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - std::uintmax_t(frames));
}

inline void writeText(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}
