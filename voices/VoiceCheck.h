#pragma once

#include "platform/AudioProbe.h"
#include "voices/Delivery.h"
#include "voices/SpeakerLines.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Progress;

// Every speaker line checked against a delivery. Per line:
//   Recorded   one file carries its number and it is good;
//   Duplicate  two or more files carry it, at least one good: the line
//              counts as recorded (the first good file in walk order is the
//              one that stands for it, and the one sorted);
//   Broken     files carry it, but none is good;
//   Missing    no file carries it;
//   NoNumber   its label is no number, so no file can be matched to it.
// A number that several lines share matches all of them. A file whose name
// carries no number, or a number no line has, matches nothing.
namespace VoiceCheck {

enum class State { Recorded, Duplicate, Broken, Missing, NoNumber };

struct Line {
    State state = State::Missing;
    // The file that stands for the line: the first good one, or for a
    // broken line the first broken one; -1 for none.
    int file = -1;
    // Every file that carries the line's number, in walk order.
    std::vector<int> files;
    // The row of its speaker in characters.
    int character = 0;
};

struct File {
    // Probed only when its number belongs to a line.
    bool matched = false;
    AudioProbe::Result probe;
};

// The table's row of one character, and of the total.
struct Totals {
    std::string character; // CP932
    int lines = 0;
    // Recorded and Duplicate lines: both count as recorded.
    int recorded = 0;
    int missing = 0;
    // Lines whose number more than one file carries (among recorded).
    int duplicate = 0;
    int broken = 0;
    int noNumber = 0;
    // The playing time of the files that stand for recorded lines.
    double seconds = 0;
};

struct Result {
    std::vector<Line> lines; // as the speaker lines
    std::vector<File> files; // as the delivery's audio files
    std::vector<Totals> characters;
    Totals total;
    // Numbers that several lines use: each as the indexes of its lines,
    // in the order of their first line.
    std::vector<std::vector<int>> sharedNumbers;
    // Files that match no line, in walk order.
    std::vector<int> unmatched;
    bool cancelled = false;

    // Every line recorded and nothing broken.
    bool complete() const { return total.missing == 0 && total.broken == 0; }
};

using Probe = std::function<AudioProbe::Result(const DeliveredFile& file)>;

// characterOrder: the characters in the order the table lists them (the
// scenario's word counts); characters speaking without being among them
// follow in the order they first speak. Characters without a line get
// no row. Files are probed in walk order, one unit of progress each; a
// cancel leaves the result unfinished (cancelled set).
Result run(const std::vector<SpeakerLine>& lines, const Delivery& delivery,
           const std::vector<std::string>& characterOrder, const Probe& probe, Progress& progress);

} // namespace VoiceCheck
