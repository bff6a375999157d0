#pragma once

#include <memory>
#include <mutex>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

// A FreeType library with the lock its faces are opened and closed under.
// FreeType lets one library serve several threads only when opening and
// closing faces is serialised, and a face be used by one thread at a time:
// each thread that draws opens its faces in a library of its own, and a face
// let go on another thread (a page drawn on a worker, destroyed by the
// thread that wrote it) is closed under this lock. The faces keep their
// library alive: it is done with once the last of them is closed.
class FaceLibrary {
public:
    // Null when FreeType cannot be started.
    static std::shared_ptr<FaceLibrary> create();
    ~FaceLibrary();
    FaceLibrary(const FaceLibrary&) = delete;
    FaceLibrary& operator=(const FaceLibrary&) = delete;

    // FT_New_Face under the lock; null when the face cannot be opened.
    FT_Face openFace(const char* file, long index);
    // Held while a face of this library is closed.
    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(m_mutex); }

private:
    FaceLibrary() = default;

    FT_Library m_library = nullptr;
    std::mutex m_mutex;
};
