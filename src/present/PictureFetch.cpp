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

PictureFetch::PictureFetch(std::string picturePath, bool inThread) : path(std::move(picturePath)) {
    // Set up here, so that the loads on both threads only read what IMG_Init set. The thread only
    // reads the file and makes surfaces: nothing of SDL's video is touched.
    IMG_Init(IMG_INIT_PNG);
    thread = inThread ? SDL_CreateThread(&PictureFetch::decode, "picture", this) : nullptr;
    if (thread == nullptr) {
        decode(this);  // here, or no thread to be had: still used as fetched
    }
    living().push_back(this);
}

PictureFetch::~PictureFetch() {
    auto& all = living();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    finish();
    SDL_FreeSurface(decoded);
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
    if (self->decoded != nullptr) {
        self->mask = std::make_unique<OpaqueMask>(self->decoded);
    }
    return 0;
}

void PictureFetch::finish() {
    if (thread != nullptr) {
        SDL_WaitThread(thread, nullptr);
        thread = nullptr;
    }
}

PictureFetch* PictureFetch::find(const std::string& path) {
    for (PictureFetch* fetch : living()) {
        if (fetch->path == path) {
            fetch->finish();
            return fetch;
        }
    }
    return nullptr;
}

std::unique_ptr<OpaqueMask> PictureFetch::maskCopy() const {
    return mask != nullptr ? std::make_unique<OpaqueMask>(*mask) : nullptr;
}
