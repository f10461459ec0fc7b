#include "present/OptionsScreen.h"

#include "input/PanelKeys.h"
#include "present/ChoicePanel.h"
#include "present/Text.h"

#include <algorithm>

namespace {

constexpr int kHintAbove = 38;  // from the panel's bottom edge to the hint's top

void drawLine(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, int x, int y, bool centred) {
    Text::drawLine(renderer, font, text, x, y, centred, ChoicePanel::kInk);
}

}  // namespace

void OptionsScreen::open(TTF_Font* textFont, TTF_Font* small, std::vector<Row> shown) {
    font = textFont;
    smallFont = small;
    rows = std::move(shown);
    selected = 0;
    first = 0;
    leaving = false;
    opening = nullptr;
}

std::unique_ptr<Screen> OptionsScreen::opens() { return std::move(opening); }

std::string OptionsScreen::valueOf(std::size_t row) const {
    if (rows[row].screen) {
        return ">";
    }
    const int value = rows[row].get();
    if (rows[row].isSwitch) {
        return Texts::text(value != 0 ? Texts::Id::OptionsOn : Texts::Id::OptionsOff);
    }
    if (rows[row].named) {
        return rows[row].named(value);
    }
    return std::to_string(value) + (rows[row].percent ? "%" : "");
}

std::size_t OptionsScreen::rowNamed(const std::string& label) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].label == label || Texts::shownAs(rows[i].label.c_str()) == label) {
            return i;
        }
    }
    return label == kBack ? rows.size() : rows.size() + 1;
}

void OptionsScreen::drawRow(SDL_Renderer* renderer, const std::string& label, const std::string& value,
                            const SDL_Rect& box, int y) const {
    // The value centred in its column at the right; a longer one (a language's name) ends at the
    // panel's inner edge instead, in the small font when the game's leaves no room for the label.
    const int labelX = box.x + kPadding * 2;
    const int right = box.x + box.w - kPadding * 2;
    const int column = right - 70;
    const int labelW = widthIn(font, label);
    TTF_Font* valueFont = font;
    int valueW = widthIn(font, value);
    if (labelX + labelW + kPadding > right - valueW && smallFont != nullptr) {
        valueFont = smallFont;
        valueW = widthIn(smallFont, value);
    }
    const int valueX = std::min(column - valueW / 2, right - valueW);
    const int valueY = valueFont == font ? y : y + kSmallDrop;
    // A label still too long for what the value leaves it goes small too.
    const bool labelFits = labelX + labelW + kPadding / 2 <= valueX || smallFont == nullptr;
    drawLine(renderer, labelFits ? font : smallFont, label, labelX, labelFits ? y : y + kSmallDrop, false);
    drawLine(renderer, valueFont, value, valueX, valueY, false);
}

int OptionsScreen::widthIn(TTF_Font* in, const std::string& text) {
    int w = 0;
    if (in == nullptr || TTF_SizeUTF8(in, text.c_str(), &w, nullptr) != 0) {
        return 0;
    }
    return w;
}

std::size_t OptionsScreen::shownLines() const { return std::min(lines(), static_cast<std::size_t>(kMaxLines)); }

SDL_Rect OptionsScreen::panel() const {
    const int h = kHead + static_cast<int>(shownLines()) * kRowHeight + kFoot;
    return SDL_Rect{kLeft, ChoicePanel::kTop + (ChoicePanel::kBottom - ChoicePanel::kTop - h) / 2, kWidth, h};
}

SDL_Rect OptionsScreen::lineArea(std::size_t line) const {
    if (line < first || line >= first + shownLines()) {
        return SDL_Rect{0, 0, 0, 0};
    }
    const SDL_Rect box = panel();
    return SDL_Rect{box.x, box.y + kHead + static_cast<int>(line - first) * kRowHeight, box.w, kRowHeight};
}

int OptionsScreen::hintY() const {
    const SDL_Rect box = panel();
    return box.y + box.h - kHintAbove;
}

std::size_t OptionsScreen::rowAt(int x, int y) const {
    for (std::size_t line = first; line < first + shownLines(); ++line) {
        const SDL_Rect area = lineArea(line);
        if (x >= area.x && x < area.x + area.w && y >= area.y && y < area.y + area.h) {
            return line;
        }
    }
    return rows.size() + 1;
}

void OptionsScreen::follow() {
    const std::size_t shown = shownLines();
    if (selected < first) {
        first = selected;
    } else if (selected >= first + shown) {
        first = selected + 1 - shown;
    }
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
    int next = row.isSwitch ? 1 - now : std::clamp(now + steps, row.low, row.high);
    if (!row.steps.empty()) {
        const auto at = std::find(row.steps.begin(), row.steps.end(), now);
        const int index = at == row.steps.end() ? 0 : static_cast<int>(at - row.steps.begin());
        next = row.steps[static_cast<std::size_t>(
            std::clamp(index + (steps > 0 ? 1 : -1), 0, static_cast<int>(row.steps.size()) - 1))];
    }
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
    takeOne(event);
    if (leaving && closed) {
        closed();
    }
}

void OptionsScreen::takeOne(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        leaving = true;  // the window closes: whoever opened the screen heeds it
        return;
    }
    const std::size_t last = rows.size();  // Back
    using Command = KeyBindings::Command;
    // Moving and going back take the desktop's repeats; a row switches once a press.
    const Command command = keys().commandOf(event, KeyBindings::Place::Options);
    if (command == Command::Back) {
        leaving = true;
    } else if (command == Command::MenuUp) {
        selected = selected == 0 ? last : selected - 1;
    } else if (command == Command::MenuDown || command == Command::Next) {
        selected = selected == last ? 0 : selected + 1;
    } else if (command == Command::MenuLeft) {
        change(-1);
    } else if (command == Command::MenuRight) {
        change(1);
    } else if (command == Command::Confirm || command == Command::Select) {
        if (PanelKeys::fresh(event)) {
            activate();
        }
    } else if (event.type == SDL_MOUSEMOTION) {
        const std::size_t row = rowAt(event.motion.x, event.motion.y);
        selected = row <= last ? row : selected;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        const std::size_t row = rowAt(event.button.x, event.button.y);
        if (row <= last) {
            selected = row;
            // A number goes down on the panel's left half, up on its right half.
            const bool right = event.button.x >= kLeft + kWidth / 2;
            if (row < last && !rows[row].isSwitch && !rows[row].screen) {
                change(right ? 1 : -1);
            } else {
                activate();
            }
        }
    } else if (event.type == SDL_MOUSEWHEEL && event.wheel.y != 0) {
        change(event.wheel.y > 0 ? 1 : -1);
    }
    follow();
}

void OptionsScreen::draw(SDL_Renderer* renderer) const {
    const SDL_Rect box = panel();
    const SDL_Rect chosen = lineArea(selected);
    const SDL_Rect bar{box.x + kPadding / 2, chosen.y - 6, box.w - kPadding, kRowHeight - 4};
    ChoicePanel::drawBoxes(renderer, box, bar);

    drawLine(renderer, font, Texts::text(title), box.x + box.w / 2, box.y + kPadding, true);
    const std::size_t last = first + shownLines();
    for (std::size_t i = first; i < last && i < rows.size(); ++i) {
        const int y = lineArea(i).y;
        const std::string value = rows[i].screen || rows[i].isSwitch ? valueOf(i) : "< " + valueOf(i) + " >";
        drawRow(renderer, Texts::shownAs(rows[i].label.c_str()), value, box, y);
    }
    if (last > rows.size()) {
        drawLine(renderer, font, kBack, box.x + box.w / 2, lineArea(rows.size()).y, true);
    }
    // Rows scrolled out of view are shown by a small arrow at the edge of the first or last line.
    SDL_SetRenderDrawColor(renderer, ChoicePanel::kInk.r, ChoicePanel::kInk.g, ChoicePanel::kInk.b, 255);
    const int tipX = box.x + box.w - kPadding / 2 - 6;
    for (int up = 0; up < 2; ++up) {
        if (up == 1 ? first == 0 : last >= lines()) {
            continue;
        }
        const SDL_Rect area = lineArea(up == 1 ? first : last - 1);
        const int tipY = up == 1 ? area.y + 4 : area.y + 28;
        for (int i = 0; i < 8; ++i) {
            const int y = up == 1 ? tipY + i : tipY - i;
            SDL_RenderDrawLine(renderer, tipX - i, y, tipX + i, y);
        }
    }
    drawLine(renderer, smallFont, kHint, box.x + box.w / 2, hintY(), true);
}
