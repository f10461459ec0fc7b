#pragma once

#include <SDL.h>

#include <string>

// A picture decoded on a thread of its own while the main thread does other work (making the
// window and its renderer at start-up). While the fetch lives, the first load of its path takes
// the decoded picture instead of reading the file again; one not taken is freed with the fetch.
class PictureFetch {
public:
    explicit PictureFetch(std::string path);
    ~PictureFetch();
    PictureFetch(const PictureFetch&) = delete;
    PictureFetch& operator=(const PictureFetch&) = delete;

    // The decoded picture at path (its owner is the caller), waiting for its decoding if need be;
    // null when no living fetch holds path, or its picture was taken already. Main thread only.
    static SDL_Surface* take(const std::string& path);

private:
    static int decode(void* fetch);  // the thread's body
    SDL_Surface* finish();           // waits for the thread; the picture, once

    std::string path;
    SDL_Thread* thread = nullptr;    // an SDL thread, which frees what SDL keeps per thread
    SDL_Surface* decoded = nullptr;  // written by the thread, read once it is waited for
    bool taken = false;
};
