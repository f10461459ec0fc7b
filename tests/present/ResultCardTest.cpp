#include "present/ResultCard.h"

#include "present/Language.h"

#include "present/FontCache.h"
#include "present/HelpPanel.h"
#include "present/Render.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr Uint32 kField = 0x00A000FFu;  // the kept picture, RGBA8888
constexpr Uint32 kPanel = 0x28160AFFu;  // the card's panel

// A band of rows holding ink, and how far it reaches across.
struct Band {
    int top = 0;
    int bottom = 0;  // the last row
    int left = 1080;
    int right = -1;
    int height() const { return bottom - top + 1; }
};

class ResultCardTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        font = FontCache::get(Text::kFontPath, Text::kPointSize);
        small = FontCache::get(Text::kFontPath, 18);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(small, nullptr);
        // The run's last picture, one flat colour.
        SDL_SetRenderDrawColor(sdl.renderer, 0, 160, 0, 255);
        SDL_RenderClear(sdl.renderer);
    }
    void TearDown() override {
        FontCache::closeAll();  // the fonts go with the library
        TTF_Quit();
    }

    std::vector<Uint32> shown() const {
        std::vector<Uint32> pixels(1080u * 720u);
        SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
        return pixels;
    }
    static Uint32 at(const std::vector<Uint32>& pixels, int x, int y) {
        return pixels[static_cast<std::size_t>(y) * 1080 + x];
    }

    // The bands of rows in the panel that hold anything but the panel's colour, top to bottom.
    static std::vector<Band> bands(const std::vector<Uint32>& pixels, const SDL_Rect& panel) {
        std::vector<Band> found;
        bool inBand = false;
        for (int y = panel.y; y < panel.y + panel.h; ++y) {
            int left = 1080;
            int right = -1;
            for (int x = panel.x; x < panel.x + panel.w; ++x) {
                if (at(pixels, x, y) != kPanel) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
            if (right < 0) {
                inBand = false;
                continue;
            }
            if (!inBand) {
                found.push_back(Band{y, y});
                inBand = true;
            }
            Band& band = found.back();
            band.bottom = y;
            band.left = std::min(band.left, left);
            band.right = std::max(band.right, right);
        }
        return found;
    }

    testsupport::SdlSession sdl;
    testsupport::ScratchDir scratch;
    TTF_Font* font = nullptr;
    TTF_Font* small = nullptr;
};

// The card stands over the kept picture: its title twice as large as a line, a small line in the
// small font, each centred across the panel, and the block of them in its middle.
TEST_F(ResultCardTest, TheLinesStandCentredInThePanelOverTheKeptPicture) {
    ResultCard card;
    card.capture(sdl.renderer);
    ASSERT_TRUE(card.captured());
    card.prepare(sdl.renderer, font, small, "WON", {{"SCORE 120", false}, {"NOT SAVED", true}});
    EXPECT_EQ(card.text(), (std::vector<std::string>{"WON", "SCORE 120", "NOT SAVED"})) << "title first";
    SDL_SetRenderDrawColor(sdl.renderer, 255, 0, 255, 255);
    SDL_RenderClear(sdl.renderer);  // what was drawn after the capture
    card.draw(sdl.renderer);
    const std::vector<Uint32> pixels = shown();

    const SDL_Rect& panel = card.panel;
    EXPECT_EQ(at(pixels, panel.x - 1, panel.y - 1), kField) << "the kept picture around the panel";
    EXPECT_EQ(at(pixels, 1079, 719), kField);
    EXPECT_EQ(at(pixels, panel.x, panel.y), kPanel);
    EXPECT_EQ(at(pixels, panel.x + panel.w - 1, panel.y + panel.h - 1), kPanel);
    const std::vector<Band> lines = bands(pixels, panel);
    ASSERT_EQ(lines.size(), 3u);
    const int middle = 2 * panel.x + panel.w - 1;  // left + right of a centred line
    for (const Band& line : lines) {
        EXPECT_NEAR(line.left + line.right, middle, 3) << "a line from row " << line.top;
    }
    EXPECT_NEAR(lines[0].height(), 2 * lines[1].height(), 2) << "the title twice as large";
    EXPECT_LT(lines[2].height(), lines[1].height()) << "the small line in the small font";
    // The room the font keeps above its letters counts in each line's height, twice the title's.
    EXPECT_NEAR(lines.front().top - panel.y, panel.y + panel.h - 1 - lines.back().bottom, 24)
        << "the lines in the middle of the panel";
}

// Dimmed, the kept picture around the panel is darker, and still the picture.
TEST_F(ResultCardTest, ADimmedCardDarkensTheKeptPictureAroundThePanel) {
    ResultCard card;
    card.capture(sdl.renderer);
    card.prepare(sdl.renderer, font, small, "PAUSED", {});
    card.dim = 128;
    card.draw(sdl.renderer);
    const Uint32 around = at(shown(), 10, 10);
    const Uint32 green = (around >> 16) & 0xFF;
    EXPECT_EQ(around >> 24, 0u);
    EXPECT_GT(green, 60u);
    EXPECT_LT(green, 100u) << "about half as bright";

    card.release();
    EXPECT_FALSE(card.captured());
}

// A won run's card with every line it can have, in the game's fonts: the place, the line that it
// could not be saved and the choices (keys or pad) all stand inside the panel, which grows around
// its middle to hold them; nothing is drawn on the kept picture around it.
TEST_F(ResultCardTest, EveryLineOfAFullCardStandsInsideItsPanel) {
    TTF_Font* helpFont = FontCache::get(Text::kFontPath, HelpPanel::kPointSize);
    ASSERT_NE(helpFont, nullptr);
    // In every language, with each title (the widest are "REPLAY TERMINÉ" and "¡HAS GANADO!").
    for (int each = 0; each < static_cast<int>(Language::shipped().size()) * 8; ++each) {
        const Language::Shipped& language = Language::shipped()[static_cast<std::size_t>(each / 8)];
        Language::choose(language.code);
        const Texts::Ref titles[4] = {ResultCard::kWon, ResultCard::kDied, ResultCard::kReplayOver,
                                      ResultCard::kPaused};
        const Texts::Ref title = titles[each % 4];
        const Texts::Ref choices = each % 8 < 4 ? ResultCard::kChoices : ResultCard::kPadChoices;
        SCOPED_TRACE(std::string(language.code) + ": " + std::string(title));
        ResultCard card;
        SDL_SetRenderDrawColor(sdl.renderer, 0, 160, 0, 255);
        SDL_RenderClear(sdl.renderer);
        card.capture(sdl.renderer);
        card.prepare(sdl.renderer, font, helpFont, title,
                     {{Texts::format(Texts::Id::CardScore, {"2147483647", "3"}), false},
                      {ResultCard::placeLine(10, 10), false},
                      {ResultCard::kNotSaved, true},
                      {choices, false}});
        card.draw(sdl.renderer);
        const std::vector<Uint32> pixels = shown();
        const SDL_Rect panel = card.drawnPanel();
        ASSERT_TRUE(SDL_RectEquals(&panel, &Render::kPicture) == SDL_FALSE) << "the panel leaves the picture around";
        EXPECT_TRUE(SDL_HasIntersection(&panel, &ResultCard::kPanel)) << "where it always stood";
        int outside = 0;
        for (int y = 0; y < 720; ++y) {
            for (int x = 0; x < 1080; ++x) {
                const SDL_Point p{x, y};
                if (SDL_PointInRect(&p, &panel) == SDL_FALSE && at(pixels, x, y) != kField) {
                    ++outside;
                }
            }
        }
        EXPECT_EQ(outside, 0) << "pixels drawn outside the panel " << panel.x << "," << panel.y << " " << panel.w << "x"
                              << panel.h << " with " << std::string(choices);
        EXPECT_EQ(at(pixels, panel.x, panel.y), kPanel);
        EXPECT_EQ(at(pixels, panel.x + panel.w - 1, panel.y + panel.h - 1), kPanel);
        const std::vector<Band> lines = bands(pixels, panel);
        ASSERT_EQ(lines.size(), 5u) << "the title and four lines, apart";
        for (const Band& line : lines) {
            EXPECT_GT(line.top, panel.y) << "a margin above every line";
            EXPECT_LT(line.bottom, panel.y + panel.h - 1) << "and below";
            EXPECT_GT(line.left, panel.x);
            EXPECT_LT(line.right, panel.x + panel.w - 1);
        }
        EXPECT_LT(lines[3].height(), lines[4].height()) << "the line about the save in the small font";
    }
    Language::choose("en");
}

// A card whose lines fit stays exactly where its panel was set.
TEST_F(ResultCardTest, APanelTheLinesFitIsNotGrown) {
    ResultCard card;
    card.prepare(sdl.renderer, font, small, ResultCard::kDied, {{"Score: 5   Level reached: 1", false}});
    const SDL_Rect drawn = card.drawnPanel();
    EXPECT_TRUE(SDL_RectEquals(&drawn, &ResultCard::kPanel));
}

}  // namespace
