#include "present/PauseScreen.h"

#include "present/ChoicePanel.h"
#include "present/OptionRows.h"
#include "present/Texts.h"

#include <cmath>

void PauseScreen::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont,
                          const std::vector<std::string>& help, bool pad) {
    chosen = PanelKeys::PauseChoice::None;
    optionsAsked = false;
    std::vector<ResultCard::Line> lines;
    for (const std::string& line : help) {
        lines.push_back(ResultCard::Line{line, true});
    }
    nearestLine = 0;
    leftLine = 0;
    if (reminder.shown) {
        leftLine = lines.size() + 1;  // the title is the card's line 0
        lines.push_back(ResultCard::Line{
            Texts::format(Texts::Id::PauseLeft, {std::to_string(reminder.outlaws), std::to_string(reminder.bulls)}),
            false});
        if (reminder.nearest) {
            const bool close =
                reminder.dx * static_cast<long long>(reminder.dx) + reminder.dy * static_cast<long long>(reminder.dy) <
                static_cast<long long>(kCloseBy) * kCloseBy;
            const std::string way = close ? Texts::text(Texts::Id::WayCloseBy) : wayOf(reminder.dx, reminder.dy);
            lines.push_back(ResultCard::Line{
                Texts::format(reminder.nearestBull ? Texts::Id::PauseNearestBull : Texts::Id::PauseNearestOutlaw,
                              {way}),
                false});
            nearestLine = close ? 0 : lines.size();  // the title is the card's line 0
        }
    }
    lines.push_back(ResultCard::Line{pad ? ResultCard::kPadPauseChoices : ResultCard::kPauseChoices, false});
    card.panel = kPanel;
    card.dim = kDim;
    card.prepare(renderer, font, smallFont, ResultCard::kPaused, lines);
}

void PauseScreen::take(const SDL_Event& event) {
    if (chosen == PanelKeys::PauseChoice::None) {
        chosen = PanelKeys::pauseChoice(event, keys());
    }
    const bool optionsKey =
        PanelKeys::fresh(event) && keys().commandOf(event, KeyBindings::Place::Pause) == KeyBindings::Command::Options;
    optionsAsked = optionsAsked || (optionsKey && chosen == PanelKeys::PauseChoice::None);
}

std::unique_ptr<Screen> PauseScreen::opens() {
    if (!optionsAsked || services == nullptr) {
        return nullptr;
    }
    optionsAsked = false;
    return OptionRows::screen(*services);
}

void PauseScreen::prepare(Services& game) {
    services = &game;
    const bool pad = game.device->padLast();
    prepare(Render::renderer, game.font, game.smallFont, HelpPanel::linesFor(game.settings->keys, pad), pad);
}

void PauseScreen::uncovered(const Screen& /*gone*/) {
    if (services != nullptr && captured()) {
        prepare(*services);
    }
}

std::string PauseScreen::wayOf(int dx, int dy) {
    // Eight ways: straight within 22.5 degrees of an axis (tan 67.5 = 2.414), else a diagonal.
    const long long ax = dx < 0 ? -static_cast<long long>(dx) : dx;
    const long long ay = dy < 0 ? -static_cast<long long>(dy) : dy;
    Texts::Id way = Texts::Id::WayNorth;
    if (ax * 1000 > ay * 2414) {
        way = dx > 0 ? Texts::Id::WayEast : Texts::Id::WayWest;
    } else if (ay * 1000 > ax * 2414) {
        way = dy > 0 ? Texts::Id::WaySouth : Texts::Id::WayNorth;
    } else if (dy < 0) {
        way = dx > 0 ? Texts::Id::WayNorthEast : Texts::Id::WayNorthWest;
    } else {
        way = dx > 0 ? Texts::Id::WaySouthEast : Texts::Id::WaySouthWest;
    }
    return Texts::text(way);
}

void PauseScreen::drawFigures(SDL_Renderer* renderer) const {
    const SDL_Rect line = card.lineAt(leftLine);
    if (leftLine == 0 || line.w == 0) {
        return;
    }
    // Each as tall as the line, its own shape kept, on the line's middle; smaller where a long
    // line leaves less room to the panel's edge, and left out where there is hardly any.
    const auto figure = [&](SDL_Texture* picture, const SDL_Rect& frame, bool before) {
        if (picture == nullptr || frame.w <= 0 || frame.h <= 0) {
            return;
        }
        const int room = before ? line.x - kFigureGap - (kPanel.x + kFrameGap)
                                : kPanel.x + kPanel.w - kFrameGap - (line.x + line.w + kFigureGap);
        int h = line.h;
        int w = frame.w * h / frame.h;
        if (w > room) {
            h = h * room / w;
            w = room;
        }
        if (h < kSmallestFigure) {
            return;
        }
        const SDL_Rect to{before ? line.x - kFigureGap - w : line.x + line.w + kFigureGap, line.y + (line.h - h) / 2,
                          w, h};
        SDL_RenderCopy(renderer, picture, &frame, &to);
    };
    figure(reminder.outlawPicture, reminder.outlawFrame, true);
    figure(reminder.bullPicture, reminder.bullFrame, false);
    Render::markDrawn();
}

void PauseScreen::draw(SDL_Renderer* renderer) const {
    card.draw(renderer);
    if (renderer != nullptr) {
        drawFigures(renderer);
    }
    if (nearestLine == 0 || renderer == nullptr) {
        return;
    }
    // An arrow before the line of the nearest one, pointing its way.
    const SDL_Rect line = card.lineAt(nearestLine);
    if (line.w == 0) {
        return;
    }
    const float length = std::sqrt(static_cast<float>(reminder.dx) * static_cast<float>(reminder.dx) +
                                   static_cast<float>(reminder.dy) * static_cast<float>(reminder.dy));
    if (length <= 0.0f) {
        return;
    }
    const float ux = static_cast<float>(reminder.dx) / length;
    const float uy = static_cast<float>(reminder.dy) / length;
    const float half = kArrowSize / 2.0f;
    const float cx = static_cast<float>(line.x) - half - 12.0f;
    const float cy = static_cast<float>(line.y) + static_cast<float>(line.h) / 2.0f;
    const SDL_Color ink = ChoicePanel::kInk;  // the panel's letters' colour
    const auto at = [&](float along, float across) {
        return SDL_Vertex{SDL_FPoint{cx + ux * along - uy * across, cy + uy * along + ux * across}, ink,
                          SDL_FPoint{0, 0}};
    };
    // The head, then the shaft as two triangles.
    const SDL_Vertex shape[] = {at(half, 0),  at(0, -half * 0.8f), at(0, half * 0.8f), at(0, -3), at(-half, -3),
                                at(-half, 3), at(0, -3),           at(-half, 3),       at(0, 3)};
    SDL_RenderGeometry(renderer, nullptr, shape, 9, nullptr, 0);
    Render::markDrawn();
}
