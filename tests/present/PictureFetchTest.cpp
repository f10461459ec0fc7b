#include "present/PictureFetch.h"

#include "present/Render.h"

#include <SDL_image.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Sheet : Render {
    void load(const std::string& path) { loadPicture(path, texW, texH); }
};

// The picture reaches the fetch through a pipe that is gone once it is read: a load that read the
// path again instead of using the fetched picture would find nothing.
TEST(PictureFetch, LoadsOfItsPathUseTheDecodedPictureAndItsMaskWhileItLives) {
    testsupport::ScratchDir scratch;
    testsupport::SdlSession sdl;
    SDL_Surface* made = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(made, nullptr);
    SDL_FillRect(made, nullptr, SDL_MapRGBA(made->format, 0, 0, 0, 0));
    const SDL_Rect dot{1, 1, 1, 1};
    SDL_FillRect(made, &dot, SDL_MapRGBA(made->format, 200, 10, 10, 255));
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

        for (int load = 0; load < 2; ++load) {
            Sheet sheet;
            sheet.load("piped.png");
            ASSERT_NE(sheet.texture, nullptr) << "load " << load << " read the path again";
            EXPECT_EQ(sheet.texW, 3);
            EXPECT_EQ(sheet.texH, 2);
            // Its mask came along: only the one opaque pixel is drawn.
            SDL_Rect src{0, 0, 3, 2};
            SDL_Rect dst{10, 20, 3, 2};
            ASSERT_TRUE(Render::trimToOpaque(sheet.texture, src, dst));
            EXPECT_TRUE(SDL_RectEquals(&src, &dot) == SDL_TRUE);
            EXPECT_EQ(dst.x, 11);
            EXPECT_EQ(dst.y, 21);
        }
    }
    // Once the fetch is gone, the path is read as any other; a fetch nobody loaded from frees its
    // picture (the sanitized run finds a leak otherwise).
    EXPECT_EQ(Render::LoadPNG("piped.png", sdl.renderer), nullptr);
    { const PictureFetch unused("made.png"); }
    EXPECT_EQ(PictureFetch::find("made.png"), nullptr);
}

}  // namespace
