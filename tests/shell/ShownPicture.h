#pragma once

#include <SDL.h>

#include <vector>

// The picture the game last showed, read as it is presented: the shell tests wrap
// SDL_RenderPresent (MenuPhaseTest.cpp), and a drawing is cleared once presented.
namespace shownpicture {
// Reads every picture presented from now on into last(), until keep(false).
void keep(bool on);
// The last picture presented while kept, RGBA8888, row by row; empty when none was.
const std::vector<Uint32>& last();
}  // namespace shownpicture
