#include "present/OptionsScreen.h"

#include "input/PanelKeys.h"
#include "present/ChoicePanel.h"
#include "present/Text.h"

#include <algorithm>

namespace {

constexpr int kPadding = 24;

void drawLine(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, int x, int y, bool centred) {
    Text::drawLine(renderer, font, text, x, y, centred, ChoicePanel::kInk);
}

}  // namespace

void OptionsScreen::open(TTF_Font* textFont, TTF_Font* small, std::vector<Row> shown) {
    font = textFont;
    smallFont = small;
    rows = std::move(shown);
    selected = 0;
    leaving = false;
    opening = nullptr;
}

Screen* OptionsScreen::opens() {
    Screen* screen = opening;
    opening = nullptr;
    return screen;
}

std::string OptionsScreen::valueOf(std::size_t row) const {
    if (rows[row].screen) {
        return ">";
    }
    const int value = rows[row].get();
    if (rows[row].isSwitch) {
        return value != 0 ? "on" : "off";
    }
    return std::to_string(value);
}

std::size_t OptionsScreen::rowAt(int x, int y) const {
    const int top = kPanel.y + kPadding + kRowHeight;
    if (x < kPanel.x || x >= kPanel.x + kPanel.w || y < top) {
        return rows.size() + 1;
    }
    const auto row = static_cast<std::size_t>((y - top) / kRowHeight);
    return row <= rows.size() ? row : rows.size() + 1;
}

void OptionsScreen::change(int steps) {
    if (selected >= rows.size()) {
        return;
    }
    const Row& row = rows[selected];
    if (row.screen) {
        return;
    }
    const int now = row.get();
    const int next = row.isSwitch ? 1 - now : std::clamp(now + steps, row.low, row.high);
    if (next == now) {
        return;
    }
    row.set(next);
    if (changed) {
        changed(selected);
    }
}

void OptionsScreen::activate() {
    if (selected >= rows.size()) {
        leaving = true;
    } else if (rows[selected].screen) {
        opening = rows[selected].screen();
    } else if (rows[selected].isSwitch) {
        change(1);
    }
}

void OptionsScreen::take(const SDL_Event& event) {
    if (leaving) {
        return;
    }
    if (event.type == SDL_QUIT) {
        leaving = true;  // the window closes: whoever opened the screen heeds it
        return;
    }
    const std::size_t last = rows.size();  // Back
    if (PanelKeys::keyPress(event, SDLK_ESCAPE) || PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_B)) {
        leaving = true;
    } else if (PanelKeys::keyPress(event, SDLK_UP) || PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_DPAD_UP)) {
        selected = selected == 0 ? last : selected - 1;
    } else if (PanelKeys::keyPress(event, SDLK_DOWN) || PanelKeys::keyPress(event, SDLK_TAB) ||
               PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
        selected = selected == last ? 0 : selected + 1;
    } else if (PanelKeys::keyPress(event, SDLK_LEFT) || PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) {
        change(-1);
    } else if (PanelKeys::keyPress(event, SDLK_RIGHT) || PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
        change(1);
    } else if ((PanelKeys::keyPress(event, SDLK_RETURN) && event.key.repeat == 0 &&
                (event.key.keysym.mod & KMOD_ALT) == 0) ||
               PanelKeys::keyPress(event, SDLK_KP_ENTER) || PanelKeys::keyPress(event, SDLK_SPACE) ||
               PanelKeys::padPress(event, SDL_CONTROLLER_BUTTON_A)) {
        activate();
    } else if (event.type == SDL_MOUSEMOTION) {
        const std::size_t row = rowAt(event.motion.x, event.motion.y);
        selected = row <= last ? row : selected;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        const std::size_t row = rowAt(event.button.x, event.button.y);
        if (row <= last) {
            selected = row;
            // A number goes down on the panel's left half, up on its right half.
            const bool right = event.button.x >= kPanel.x + kPanel.w / 2;
            if (row < last && !rows[row].isSwitch && !rows[row].screen) {
                change(right ? 1 : -1);
            } else {
                activate();
            }
        }
    } else if (event.type == SDL_MOUSEWHEEL && event.wheel.y != 0) {
        change(event.wheel.y > 0 ? 1 : -1);
    }
}

void OptionsScreen::draw(SDL_Renderer* renderer) const {
    if (backdrop) {
        backdrop(renderer);
    }
    const int top = kPanel.y + kPadding + kRowHeight;
    const SDL_Rect bar{kPanel.x + kPadding / 2, top + static_cast<int>(selected) * kRowHeight - 6, kPanel.w - kPadding,
                       kRowHeight - 4};
    ChoicePanel::drawBoxes(renderer, kPanel, bar);

    drawLine(renderer, font, kTitle, kPanel.x + kPanel.w / 2, kPanel.y + kPadding, true);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = top + static_cast<int>(i) * kRowHeight;
        drawLine(renderer, font, rows[i].label, kPanel.x + kPadding * 2, y, false);
        const std::string value = rows[i].screen || rows[i].isSwitch ? valueOf(i) : "< " + valueOf(i) + " >";
        drawLine(renderer, font, value, kPanel.x + kPanel.w - kPadding * 2 - 70, y, true);
    }
    drawLine(renderer, font, kBack, kPanel.x + kPanel.w / 2, top + static_cast<int>(rows.size()) * kRowHeight, true);
    drawLine(renderer, smallFont, kHint, kPanel.x + kPanel.w / 2, kPanel.y + kPanel.h - kPadding - 14, true);
}
