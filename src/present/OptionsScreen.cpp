#include "present/OptionsScreen.h"

#include "present/Text.h"

#include <algorithm>

namespace {

constexpr SDL_Color kInk{255, 236, 200, 255};  // light text on the dark panel, as on the cards
constexpr SDL_Color kPanelColour{40, 24, 16, 235};
constexpr SDL_Color kChosenColour{110, 70, 40, 255};
constexpr int kPadding = 24;

bool padPress(const SDL_Event& event, SDL_GameControllerButton button) {
    return event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == button;
}

bool keyPress(const SDL_Event& event, SDL_Keycode key) {
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == key;
}

// One line of text at x, y (its left edge, or its centre when centred).
void drawLine(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, int x, int y, bool centred) {
    SDL_Texture* texture = Text::lineTexture(renderer, font, text, kInk);
    if (texture == nullptr) {
        return;
    }
    int w = 0;
    int h = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &w, &h);
    const SDL_Rect at{centred ? x - w / 2 : x, y, w, h};
    Text::fitToWindow(renderer, texture);
    SDL_RenderCopy(renderer, texture, nullptr, &at);
    SDL_DestroyTexture(texture);
}

}  // namespace

void OptionsScreen::open(TTF_Font* textFont, TTF_Font* small, std::vector<Row> shown) {
    font = textFont;
    smallFont = small;
    rows = std::move(shown);
    selected = 0;
    leaving = false;
}

std::string OptionsScreen::valueOf(std::size_t row) const {
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
    } else if (rows[selected].isSwitch) {
        change(1);
    }
}

void OptionsScreen::take(const SDL_Event& event) {
    if (leaving) {
        return;
    }
    const std::size_t last = rows.size();  // Back
    if (keyPress(event, SDLK_ESCAPE) || padPress(event, SDL_CONTROLLER_BUTTON_B)) {
        leaving = true;
    } else if (keyPress(event, SDLK_UP) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_UP)) {
        selected = selected == 0 ? last : selected - 1;
    } else if (keyPress(event, SDLK_DOWN) || keyPress(event, SDLK_TAB) ||
               padPress(event, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
        selected = selected == last ? 0 : selected + 1;
    } else if (keyPress(event, SDLK_LEFT) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) {
        change(-1);
    } else if (keyPress(event, SDLK_RIGHT) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
        change(1);
    } else if ((keyPress(event, SDLK_RETURN) && event.key.repeat == 0 && (event.key.keysym.mod & KMOD_ALT) == 0) ||
               keyPress(event, SDLK_KP_ENTER) || keyPress(event, SDLK_SPACE) ||
               padPress(event, SDL_CONTROLLER_BUTTON_A)) {
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
            if (row < last && !rows[row].isSwitch) {
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
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kPanelColour.r, kPanelColour.g, kPanelColour.b, kPanelColour.a);
    SDL_RenderFillRect(renderer, &kPanel);
    const int top = kPanel.y + kPadding + kRowHeight;
    const SDL_Rect bar{kPanel.x + kPadding / 2, top + static_cast<int>(selected) * kRowHeight - 6, kPanel.w - kPadding,
                       kRowHeight - 4};
    SDL_SetRenderDrawColor(renderer, kChosenColour.r, kChosenColour.g, kChosenColour.b, kChosenColour.a);
    SDL_RenderFillRect(renderer, &bar);
    SDL_SetRenderDrawBlendMode(renderer, mode);

    drawLine(renderer, font, kTitle, kPanel.x + kPanel.w / 2, kPanel.y + kPadding, true);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = top + static_cast<int>(i) * kRowHeight;
        drawLine(renderer, font, rows[i].label, kPanel.x + kPadding * 2, y, false);
        const std::string value = rows[i].isSwitch ? valueOf(i) : "< " + valueOf(i) + " >";
        drawLine(renderer, font, value, kPanel.x + kPanel.w - kPadding * 2 - 70, y, true);
    }
    drawLine(renderer, font, kBack, kPanel.x + kPanel.w / 2, top + static_cast<int>(rows.size()) * kRowHeight, true);
    drawLine(renderer, smallFont, kHint, kPanel.x + kPanel.w / 2, kPanel.y + kPanel.h - kPadding - 14, true);
}
