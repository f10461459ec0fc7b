#include "present/FontCache.h"

#include <map>
#include <string>
#include <tuple>

namespace {

using Key = std::tuple<std::string, int, int>;  // path, size, outline

std::map<Key, TTF_Font*>& opened() {
    // Never destroyed: the game's objects (and the fonts they draw with) stay reachable until the
    // process ends, as the shell does.
    static auto* const fonts = new std::map<Key, TTF_Font*>();
    return *fonts;
}

}  // namespace

TTF_Font* FontCache::get(const char* path, int size, int outline) {
    const Key key{path, size, outline};
    auto found = opened().find(key);
    if (found != opened().end()) {
        return found->second;
    }
    TTF_Font* font = TTF_OpenFont(path, size);
    if (font == nullptr) {
        return nullptr;  // asked again next time: a font may appear (a test copies it in)
    }
    if (outline > 0) {
        TTF_SetFontOutline(font, outline);
    }
    opened().emplace(key, font);
    return font;
}

void FontCache::closeAll() {
    for (auto& [key, font] : opened()) {
        TTF_CloseFont(font);
    }
    opened().clear();
}
