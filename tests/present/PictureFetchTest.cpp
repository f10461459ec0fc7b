#include "present/PictureFetch.h"

#include "present/Render.h"

#include <SDL_image.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The picture reaches the fetch through a pipe that is gone once it is read: a load that read the
// path again instead of taking the fetched picture would find nothing.
TEST(PictureFetch, TheFirstLoadOfItsPathTakesTheDecodedPictureAndOnlyTheFirst) {
    testsupport::ScratchDir scratch;
    testsupport::SdlSession sdl;
    SDL_Surface* made = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(IMG_SavePNG(made, "made.png"), 0);
    SDL_FreeSurface(made);
    const std::string bytes = testsupport::readFile("made.png");
    ASSERT_EQ(mkfifo("piped.png", 0600), 0);

    {
        const PictureFetch fetch("piped.png");
        const int pipe = open("piped.png", O_WRONLY);  // returns once the fetch has opened it
        ASSERT_GE(pipe, 0);
        ASSERT_EQ(write(pipe, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(pipe);
        unlink("piped.png");

        SDL_Texture* first = Render::LoadPNG("piped.png", sdl.renderer);
        ASSERT_NE(first, nullptr) << "the load read the path again instead of taking the picture";
        int w = 0;
        int h = 0;
        SDL_QueryTexture(first, nullptr, nullptr, &w, &h);
        EXPECT_EQ(w, 3);
        EXPECT_EQ(h, 2);
        SDL_DestroyTexture(first);
        EXPECT_EQ(PictureFetch::take("piped.png"), nullptr) << "a picture is handed out once";
    }

    // A fetch nobody takes from frees its picture (the sanitized run finds a leak otherwise), and
    // once it is gone its path is read as any other.
    { const PictureFetch unused("made.png"); }
    EXPECT_EQ(PictureFetch::take("made.png"), nullptr);
}

}  // namespace
