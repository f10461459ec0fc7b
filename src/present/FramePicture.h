#pragma once

#include <SDL.h>

// A copy of the picture drawn so far, kept to be shown again under a card or a panel while no
// frame is played.
class FramePicture {
public:
    FramePicture() = default;
    FramePicture(const FramePicture&) = delete;
    FramePicture& operator=(const FramePicture&) = delete;
    ~FramePicture();

    // Keeps the picture drawn so far; must run before it is presented, which leaves it undefined.
    void capture(SDL_Renderer* renderer);
    bool captured() const { return last != nullptr; }
    // The kept picture over the whole window; nothing when none was kept.
    void draw(SDL_Renderer* renderer) const;
    void release();

private:
    SDL_Texture* last = nullptr;  // the picture, window-sized
    SDL_Rect lastArea{};          // the part of it the game's picture filled
};
