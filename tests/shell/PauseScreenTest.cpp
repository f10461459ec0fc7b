#include "PlayFixture.h"

#include "present/ChoicePanel.h"
#include "present/Language.h"
#include "present/Texts.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The pause panel in a game: what the level still needs, and which way the nearest of it lies.
class PauseScreenInPlay : public PlayTest {
protected:
    // Escape in play, the panel it asks for, and its picture.
    PauseScreen& pause() {
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frame();
        shell->startPause();
        shell->pausePass();
        return shell->playing->pausePanel();
    }
    static bool has(const PauseScreen& panel, const std::string& line) {
        const std::vector<std::string>& text = panel.text();
        return std::find(text.begin(), text.end(), line) != text.end();
    }
};

TEST_F(PauseScreenInPlay, ThePanelTellsWhatIsLeftAndPointsToTheNearest) {
    startNewGame();
    frame();
    player->setBull(1);  // one of the two bulls collected
    // The hero well to the left of the first outlaw, who is the nearest of all.
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    player->setPos(enemyAt.x - 400, enemyAt.y - 3);
    PauseScreen& panel = pause();
    EXPECT_TRUE(has(panel, "Outlaws left: 2   Bulls left: 1"));
    ASSERT_TRUE(panel.reminder.nearest);
    EXPECT_FALSE(panel.reminder.nearestBull);
    EXPECT_TRUE(has(panel, "Nearest outlaw: east")) << "he stands to the right";

    // The arrow before that line: the panel's ink in a square left of the line, where none was
    // before the arrow was drawn.
    const std::vector<Uint32> shown = picture();
    const SDL_Color ink = ChoicePanel::kInk;
    const Uint32 inkPixel = (Uint32{ink.r} << 24) | (Uint32{ink.g} << 16) | (Uint32{ink.b} << 8) | 0xff;
    std::size_t line = 0;
    for (std::size_t i = 0; i < panel.text().size(); ++i) {
        line = panel.text()[i] == "Nearest outlaw: east" ? i : line;
    }
    ASSERT_GT(line, 0u);
    EXPECT_EQ(PauseScreen::wayOf(0, -50), "north");
    EXPECT_EQ(PauseScreen::wayOf(-40, 38), "south-west");
    EXPECT_EQ(PauseScreen::wayOf(-100, 10), "west");
    const SDL_Rect at = panel.lineAt(line);
    const SDL_Rect before{at.x - PauseScreen::kArrowSize - 20, at.y, PauseScreen::kArrowSize + 16, at.h};
    const int arrow = countIn(shown, before, inkPixel);
    EXPECT_GT(arrow, PauseScreen::kArrowSize * 4) << "an arrow in the panel's ink";
}

// The line of what is left has its figures beside it as well as its words: an outlaw as the field
// draws him before it, a bull after it, inside the panel, each as tall as the line.
TEST_F(PauseScreenInPlay, TheLineOfWhatIsLeftShowsAnOutlawBeforeItAndABullAfterIt) {
    startNewGame();
    shell->help.hide();
    frame();
    // Both figures in flat colours of their own, so their pixels can be told from the panel's.
    const auto paint = [&](Render& figure, Uint32 colour) {
        SDL_Surface* flat = SDL_CreateRGBSurfaceWithFormat(0, 600, 600, 32, SDL_PIXELFORMAT_RGBA8888);
        ASSERT_NE(flat, nullptr);
        SDL_FillRect(flat, nullptr, colour);
        figure.texture = SDL_CreateTextureFromSurface(Render::renderer, flat);
        SDL_FreeSurface(flat);
    };
    constexpr Uint32 kOutlaw = 0x20C040FF;
    constexpr Uint32 kBull = 0xC02080FF;
    SDL_Texture* outlawWas = shell->run().enemies[0]->texture;
    SDL_Texture* bullWas = shell->run().bulls[0]->texture;
    paint(*shell->run().enemies[0], kOutlaw);
    paint(*shell->run().bulls[0], kBull);
    // In every language, however long its line: both figures within the panel.
    for (const Language::Shipped& language : Language::shipped()) {
        SCOPED_TRACE(language.code);
        Language::choose(language.code);
        PauseScreen& panel = pause();
        std::size_t line = 0;
        const std::string left = Texts::format(Texts::Id::PauseLeft, {"2", "2"});
        for (std::size_t i = 0; i < panel.text().size(); ++i) {
            line = panel.text()[i] == left ? i : line;
        }
        ASSERT_GT(line, 0u);
        const SDL_Rect at = panel.lineAt(line);
        const std::vector<Uint32> shown = picture();
        const SDL_Rect before{PauseScreen::kPanel.x, at.y, at.x - PauseScreen::kPanel.x, at.h};
        const SDL_Rect after{at.x + at.w, at.y, PauseScreen::kPanel.x + PauseScreen::kPanel.w - at.x - at.w, at.h};
        EXPECT_GT(countIn(shown, before, kOutlaw), at.h * 10) << "an outlaw before the line";
        EXPECT_GT(countIn(shown, after, kBull), at.h * 10) << "a bull after it";
        const SDL_Rect everywhere{0, 0, 1080, 720};
        EXPECT_EQ(countIn(shown, everywhere, kOutlaw), countIn(shown, before, kOutlaw)) << "nowhere else";
        EXPECT_EQ(countIn(shown, everywhere, kBull), countIn(shown, after, kBull)) << "nowhere else";
        testsupport::pushKeyDown(SDLK_ESCAPE);
        shell->pausePass();
    }
    Language::choose("en");
    SDL_DestroyTexture(shell->run().enemies[0]->texture);
    SDL_DestroyTexture(shell->run().bulls[0]->texture);
    shell->run().enemies[0]->texture = outlawWas;
    shell->run().bulls[0]->texture = bullWas;
}

}  // namespace
