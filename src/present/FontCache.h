#pragma once

#include <SDL_ttf.h>

// The game's font opened once per point size (and edge) for the whole process, shared by every
// text drawn in it: the file is large, and opening it again for each text slowed the start.
class FontCache {
public:
    // The font at path and size with `outline` pixels of edge, opened on the first call; null
    // when it cannot be opened. The cache keeps it: nobody else closes it.
    static TTF_Font* get(const char* path, int size, int outline = 0);
    // Closes every font handed out, before TTF_Quit; none of them may be used afterwards.
    static void closeAll();
};
