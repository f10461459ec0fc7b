#include "present/PictureFetch.h"

#include <SDL_image.h>

#include <algorithm>
#include <vector>

namespace {
std::vector<PictureFetch*>& living() {
    static std::vector<PictureFetch*> fetches;
    return fetches;
}
}  // namespace

PictureFetch::PictureFetch(std::string picturePath) : path(std::move(picturePath)) {
    // Set up here, so that the loads on both threads only read what IMG_Init set. The thread only
    // reads the file and makes a surface: nothing of SDL's video is touched.
    IMG_Init(IMG_INIT_PNG);
    thread = SDL_CreateThread(&PictureFetch::decode, "picture", this);
    if (thread == nullptr) {
        decode(this);  // no thread to be had: decoded here, still taken as fetched
    }
    living().push_back(this);
}

PictureFetch::~PictureFetch() {
    auto& all = living();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    SDL_FreeSurface(finish());
}

int PictureFetch::decode(void* fetch) {
    auto* self = static_cast<PictureFetch*>(fetch);
    // Read whole first: a file that cannot seek (a pipe) is decoded as well.
    std::size_t size = 0;
    void* bytes = SDL_LoadFile(self->path.c_str(), &size);
    if (bytes != nullptr) {
        self->decoded = IMG_Load_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
        SDL_free(bytes);
    }
    return 0;
}

SDL_Surface* PictureFetch::finish() {
    if (thread != nullptr) {
        SDL_WaitThread(thread, nullptr);
        thread = nullptr;
    }
    if (taken) {
        return nullptr;
    }
    taken = true;
    return decoded;
}

SDL_Surface* PictureFetch::take(const std::string& path) {
    for (PictureFetch* fetch : living()) {
        if (fetch->path == path && !fetch->taken) {
            return fetch->finish();
        }
    }
    return nullptr;
}
