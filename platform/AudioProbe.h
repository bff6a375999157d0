#pragma once

#include <cstdint>
#include <string>

// What an audio file holds, as libsndfile reads it: whether it can be used at
// all, how long it plays and, when its content was read too, how loud it
// gets. Paths are native (UTF-8); the file is opened once, for reading only,
// and never when it is no regular file (a FIFO would hang the open).
namespace AudioProbe {

// Below this peak (-60 dBFS) a recording is taken for silence.
inline constexpr double SilentPeak = 0.001;

struct Result {
    // Why the file cannot be used (CP932, short), empty when it can.
    std::string brokenReason;
    int64_t frames = 0;
    int sampleRate = 0;
    // Whether every frame was read (contentChecked) and the largest
    // absolute sample met, 1.0 being full scale.
    bool contentChecked = false;
    double peak = 0;
    // The peak at or above which a sample stands at full scale for the
    // file's sample format.
    double fullScale = 1.0;

    bool broken() const { return !brokenReason.empty(); }
    double seconds() const { return sampleRate > 0 ? double(frames) / sampleRate : 0.0; }
    bool silent() const { return contentChecked && !broken() && peak < SilentPeak; }
    bool clipped() const { return contentChecked && !broken() && peak >= fullScale; }
    // The peak in dBFS (-inf for pure silence).
    double peakDecibels() const;
};

// Opens the file and reads its header: broken when libsndfile cannot
// open it or it holds no frames. With checkContent every frame is read
// as well: a file that ends before the length its header declares is
// broken, and the peak is kept.
Result probe(const std::string& nativePath, bool checkContent);

// The number of frames the data chunk of a RIFF or RF64 WAV header
// declares (libsndfile clamps a cut file to the data present, so only
// the header tells how long it was meant to be); -1 when the header does
// not say (not a WAV file, a streaming size, a chunk past the end).
int64_t declaredWavFrames(int fd);

} // namespace AudioProbe
