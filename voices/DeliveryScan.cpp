#include "voices/DeliveryScan.h"

#include "fc/Progress.h"
#include "platform/TextCodec.h"
#include "platform/TreeWalker.h"
#include "voices/VoiceNumberPattern.h"

#include <cerrno>
#include <cstring>

namespace {

bool isAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

std::string_view lastLevel(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

bool DeliveryScan::isAudioName(std::string_view name)
{
    static constexpr std::string_view extensions[] = {".wav", ".flac", ".ogg", ".opus", ".mp3"};
    for (std::string_view extension : extensions) {
        if (name.size() <= extension.size())
            continue;
        const std::string_view tail = name.substr(name.size() - extension.size());
        bool same = true;
        for (std::size_t i = 0; i < tail.size() && same; ++i) {
            char c = tail[i];
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
            same = c == extension[i];
        }
        if (same)
            return true;
    }
    return false;
}

int DeliveryScan::scan(const std::string& root, const VoiceNumberPattern& pattern,
                       const std::string& excluded, Progress& progress, Delivery& out,
                       bool& cancelled)
{
    out = Delivery();
    cancelled = false;
    TreeWalker::Visitor visitor;
    std::string cp932;
    visitor.file = [&](std::string_view path, bool viaLink) {
        const std::string_view name = lastLevel(path);
        if (!isAudioName(name)) {
            ++out.otherFiles;
            return;
        }
        // Every report and the sorting log name the file in Shift-JIS.
        if (!isAscii(path) && !TextCodec::fromUtf8Exact(path, cp932)) {
            out.skipped.push_back({std::string(path), DeliverySkip::Why::NameNotShiftJis});
            return;
        }
        out.audio.push_back({std::string(path), pattern.numberOf(name), viaLink});
    };
    visitor.skipped = [&](std::string_view path, TreeWalker::Skip why, int error) {
        switch (why) {
        case TreeWalker::Skip::Hidden:
            ++out.otherFiles;
            return;
        case TreeWalker::Skip::Excluded:
            return;
        case TreeWalker::Skip::Special:
            out.skipped.push_back({std::string(path), DeliverySkip::Why::Special, error});
            return;
        case TreeWalker::Skip::Unreadable:
            out.skipped.push_back({std::string(path), DeliverySkip::Why::UnreadableFolder, error});
            return;
        case TreeWalker::Skip::AlreadyWalked:
            out.skipped.push_back({std::string(path), DeliverySkip::Why::AlreadyWalked, error});
            return;
        case TreeWalker::Skip::BrokenLink:
            out.skipped.push_back({std::string(path), DeliverySkip::Why::BrokenLink, error});
            return;
        }
    };
    visitor.keepGoing = [&] {
        progress.pump();
        cancelled = progress.cancelled();
        return !cancelled;
    };
    TreeWalker::Options options;
    options.skipHidden = true;
    options.excluded = excluded;
    return TreeWalker::walk(root, visitor, options);
}

std::string DeliveryScan::reasonText(const DeliverySkip& skip)
{
    switch (skip.why) {
    case DeliverySkip::Why::Special:
        return "not a regular file (a FIFO, socket or device)";
    case DeliverySkip::Why::UnreadableFolder:
        return std::string("the folder cannot be read: ") + std::strerror(skip.error);
    case DeliverySkip::Why::AlreadyWalked:
        return "a link to a folder already looked through";
    case DeliverySkip::Why::BrokenLink:
        return skip.error == ELOOP ? "the links lead round in a loop" : "the link leads to nothing";
    case DeliverySkip::Why::NameNotShiftJis:
        return "the name cannot be written in Shift-JIS";
    }
    return {};
}
