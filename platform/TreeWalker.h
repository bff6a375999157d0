#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Walks a folder and its sub-folders on native (UTF-8) paths, as fast as the
// kernel lists them: entries are told apart by the type readdir gives, and
// only links and entries of unknown type are looked at more closely. Within
// a folder names come in byte order, folders after the files of their
// parent, so that a walk of the same tree always gives the same order.
//
// Links are followed: one to a file is that file, one to a folder is walked
// unless that folder was walked already (which also ends every loop). FIFOs,
// sockets and devices are told, never opened. Only one folder is open at a
// time, however deep the tree.
namespace TreeWalker {

enum class Skip {
    // A FIFO, socket or device.
    Special,
    // A folder that cannot be opened or read.
    Unreadable,
    // A folder reached again through a link: walked once only.
    AlreadyWalked,
    // A link that leads to nothing, or round in a loop of links.
    BrokenLink,
    // A name beginning with "." (with skipHidden).
    Hidden,
    // The excluded folder.
    Excluded,
};

struct Visitor {
    // A regular file (or a link to one): its path from the root, "/"
    // between the levels.
    std::function<void(std::string_view relative, bool viaLink)> file;
    // An entry left out, why, and the errno where one says more.
    std::function<void(std::string_view relative, Skip why, int error)> skipped;
    // Asked before each folder: false stops the walk.
    std::function<bool()> keepGoing;
};

struct Options {
    bool skipHidden = false;
    // A folder never to enter (an output folder inside the walked one);
    // empty for none.
    std::string excluded;
};

// 0 when the root could be walked (entries inside may still have been
// skipped), otherwise the errno of opening it. False from keepGoing ends
// the walk early with 0.
int walk(const std::string& root, const Visitor& visitor, const Options& options);

} // namespace TreeWalker
