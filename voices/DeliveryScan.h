#pragma once

#include "voices/Delivery.h"

#include <string>
#include <string_view>

class Progress;
class VoiceNumberPattern;

// Finds the audio files of a delivery: the folder and its sub-folders, the
// files named ".wav", ".flac", ".ogg", ".opus" or ".mp3" in any case, each
// with the number its name carries. Hidden entries (a name beginning with
// ".") are left alone, as the screenplay folder's are: they are the file
// system's or another program's (a Mac's "._000123.wav" is no recording).
// FIFOs, devices, unreadable folders, broken links and names Shift-JIS
// cannot hold are listed as skipped; nothing is ever opened here.
namespace DeliveryScan {

bool isAudioName(std::string_view name);

// root is native (UTF-8); excluded, when not empty, a folder never to
// enter (the sorted files' folder inside the delivery). The progress is
// pumped per folder, and a cancel ends the walk (then false). 0, or the
// errno of a delivery folder that cannot be read.
int scan(const std::string& root, const VoiceNumberPattern& pattern, const std::string& excluded,
         Progress& progress, Delivery& out, bool& cancelled);

// Why an entry was skipped, in English for the terminal.
std::string reasonText(const DeliverySkip& skip);

} // namespace DeliveryScan
