#pragma once

#include "present/OpaqueMask.h"

#include <SDL.h>

#include <memory>
#include <string>

// A picture decoded, and its mask made, ahead of its loads: on a thread of its own while the main
// thread does other work (the menu's picture while SDL makes the window), or once for the whole
// process (the figures' sheets, so that a spawn in play only makes its texture). While the fetch
// lives, every load of its path makes its texture from this picture instead of reading and
// decoding the file again.
class PictureFetch {
public:
    // On a thread of its own (inThread) or here and now; either way kept while the fetch lives.
    explicit PictureFetch(std::string path, bool inThread = true);
    ~PictureFetch();
    PictureFetch(const PictureFetch&) = delete;
    PictureFetch& operator=(const PictureFetch&) = delete;

    // The living fetch of path, its picture decoded (waited for if need be); null when no fetch
    // holds path. Main thread only.
    static PictureFetch* find(const std::string& path);

    SDL_Surface* picture() const { return decoded; }  // null when the file could not be decoded
    // A mask of the picture for one texture of it (the texture's drawings keep their own boxes).
    std::unique_ptr<OpaqueMask> maskCopy() const;

private:
    static int decode(void* fetch);  // the thread's body
    void finish();                   // waits for the thread

    std::string path;
    SDL_Thread* thread = nullptr;      // an SDL thread, which frees what SDL keeps per thread
    SDL_Surface* decoded = nullptr;    // written by the thread, read once it is waited for
    std::unique_ptr<OpaqueMask> mask;  // the same
};
