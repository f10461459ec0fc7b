#include "present/ControlsScreen.h"

#include "input/PanelKeys.h"
#include "present/ChoicePanel.h"
#include "present/Settings.h"
#include "present/Text.h"

namespace {

constexpr SDL_Color kRefusedInk{255, 140, 110, 255};
constexpr SDL_Color kWaitingColour{150, 60, 30, 255};  // the row waiting for its press stands out
constexpr int kPadding = 20;
constexpr int kHeader = 14;             // room for the columns' names under the title
constexpr int kKeysX = kPadding + 190;  // from the panel's left edge
constexpr int kPadX = kPadding + 520;
constexpr int kColumn = kPadX - kKeysX - kPadding;  // the widest a list of keys may be

// A list (or an action's name) in the game's font when it fits its column, else in the small one.
void drawList(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& text, int x, int y,
              int room = kColumn) {
    int w = 0;
    const bool fits = font != nullptr && TTF_SizeUTF8(font, text.c_str(), &w, nullptr) == 0 && w <= room;
    Text::drawLine(renderer, fits ? font : smallFont, text, x, fits ? y : y + 8, false, ChoicePanel::kInk);
}

KeyBindings::Action actionAt(std::size_t row) { return static_cast<KeyBindings::Action>(row + 1); }

// "Up", "Attack": an action as a row names it.
std::string labelOf(KeyBindings::Action action) {
    static constexpr Texts::Id kLabels[KeyBindings::kActions] = {Texts::Id::ActionUp,   Texts::Id::ActionLeft,
                                                                 Texts::Id::ActionDown, Texts::Id::ActionRight,
                                                                 Texts::Id::ActionStop, Texts::Id::ActionAttack};
    return Texts::text(kLabels[static_cast<std::size_t>(action) - 1]);
}

// Why the bindings refused a press, judged in their order: a control the game keeps, the comma,
// then one serving another action.
std::string refusal(bool reserved, bool comma, const std::string& name, KeyBindings::Action holder) {
    if (reserved) {
        return Texts::format(Texts::Id::ControlsReserved, {name});
    }
    if (comma) {
        return Texts::text(Texts::Id::ControlsComma);
    }
    return Texts::format(Texts::Id::ControlsTaken, {name, labelOf(holder)});
}

template <typename T>
std::string listed(const std::vector<T>& items, std::string (*nameOf)(T)) {
    std::vector<std::string> names;
    for (const T item : items) {
        names.push_back(nameOf(item));
    }
    return names.empty() ? Texts::text(Texts::Id::ControlsNone) : Texts::join(Texts::Id::ListOf, names);
}

// The keys of an action as its row lists them; the attack's end with the click, which always
// attacks and is no key the player can give or take.
std::string keysOf(const KeyBindings& bindings, KeyBindings::Action action) {
    const std::string keys = listed(bindings.keysOf(action), &KeyBindings::keyName);
    if (action != KeyBindings::Action::Attack) {
        return keys;
    }
    const std::string click = Texts::text(Texts::Id::HelpClick);
    return bindings.keysOf(action).empty() ? click : Texts::join(Texts::Id::ListOf, {keys, click});
}

}  // namespace

void ControlsScreen::open(TTF_Font* textFont, TTF_Font* small, KeyBindings& keys) {
    font = textFont;
    smallFont = small;
    bindings = &keys;
    selected = 0;
    listening = false;
    leaving = false;
    said.clear();
}

std::size_t ControlsScreen::rowAt(int x, int y) const {
    const int top = kPanel.y + kPadding + kRowHeight + kHeader;
    if (x < kPanel.x || x >= kPanel.x + kPanel.w || y < top) {
        return kBackRow + 1;
    }
    const auto row = static_cast<std::size_t>((y - top) / kRowHeight);
    return row <= kBackRow ? row : kBackRow + 1;
}

void ControlsScreen::activate() {
    if (selected == kBackRow) {
        leaving = true;
    } else if (selected == kResetRow) {
        bindings->resetActions();
        said = Texts::text(Texts::Id::ControlsAllReset);
        heed();
    } else {
        listening = true;
        said.clear();
    }
}

void ControlsScreen::takeBinding(const SDL_Event& event) {
    const KeyBindings::Action action = actionAt(selected);
    bool bound = false;
    std::string why;
    const bool leaves = bindings->commandOf(event, KeyBindings::Place::Waiting) == KeyBindings::Command::Back ||
                        bindings->commandOf(event, KeyBindings::Place::Waiting) == KeyBindings::Command::Pause;
    if ((leaves && PanelKeys::fresh(event)) || event.type == SDL_MOUSEBUTTONDOWN) {
        listening = false;
        said = Texts::format(Texts::Id::ControlsKept, {labelOf(action)});
        return;
    }
    if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
        const SDL_Keycode key = event.key.keysym.sym;
        // A key whose name reads back as another (the second Return reads as the game's Return)
        // could not be kept in settings.ini: refused as that key would be.
        const bool named = Settings::namesKey(key);
        bound = named && bindings->rebindKey(action, key, why);
        said = bound ? Texts::format(Texts::Id::ControlsBound, {labelOf(action), KeyBindings::keyName(key)})
                     : refusal(!named || bindings->kept(key), KeyBindings::separates(key), KeyBindings::keyName(key),
                               bindings->actionOf(key));
    } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        const auto button = static_cast<SDL_GameControllerButton>(event.cbutton.button);
        bound = bindings->rebindButton(action, button, why);
        said = bound ? Texts::format(Texts::Id::ControlsBound, {labelOf(action), KeyBindings::buttonName(button)})
                     : refusal(bindings->keptButton(button), false, KeyBindings::buttonName(button),
                               bindings->actionOfButton(button));
    } else {
        return;  // still waiting: a key let go, the mouse moved, a stick
    }
    // A refused press leaves the row waiting, so the player simply tries another.
    listening = !bound;
    if (bound) {
        heed();
    }
}

void ControlsScreen::heed() {
    if (services != nullptr) {
        // How to play names the keys as they now are; the settings keep them.
        services->help->setLines(Render::renderer,
                                 HelpPanel::linesFor(services->settings->keys, services->device->padLast()));
    }
    if (changed) {
        changed();
    }
}

std::unique_ptr<ControlsScreen> ControlsScreen::forGame(Services& services) {
    auto controls = std::make_unique<ControlsScreen>();
    controls->open(services.font, services.smallFont, services.settings->keys);
    controls->services = &services;
    return controls;
}

void ControlsScreen::take(const SDL_Event& event) {
    if (leaving) {
        return;
    }
    takeOne(event);
    if (leaving && services != nullptr) {
        services->keeper->save();  // what changed here, once as the screen closes
    }
}

void ControlsScreen::takeOne(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        leaving = true;  // the window closes: whoever opened the screen heeds it
        return;
    }
    if (listening) {
        takeBinding(event);
        return;
    }
    using Command = KeyBindings::Command;
    // Moving takes the desktop's repeats; leaving and choosing a fresh press.
    const Command command = bindings->commandOf(event, KeyBindings::Place::Controls);
    if (command == Command::Back) {
        leaving = leaving || PanelKeys::fresh(event);
    } else if (command == Command::MenuUp) {
        selected = selected == 0 ? kBackRow : selected - 1;
    } else if (command == Command::MenuDown || command == Command::Next) {
        selected = selected == kBackRow ? 0 : selected + 1;
    } else if (command == Command::Confirm || command == Command::Select) {
        if (PanelKeys::fresh(event)) {
            activate();
        }
    } else if (event.type == SDL_MOUSEMOTION) {
        const std::size_t row = rowAt(event.motion.x, event.motion.y);
        selected = row <= kBackRow ? row : selected;
    } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
        const std::size_t row = rowAt(event.button.x, event.button.y);
        if (row <= kBackRow) {
            selected = row;
            activate();
        }
    }
}

void ControlsScreen::drawCross(SDL_Renderer* renderer, int x, int y) {
    SDL_SetRenderDrawColor(renderer, kRefusedInk.r, kRefusedInk.g, kRefusedInk.b, 255);
    for (int i = 0; i < kCrossSize; ++i) {
        // Two strokes, three pixels thick.
        const SDL_Rect down{x + i, y + i, 3, 3};
        const SDL_Rect up{x + kCrossSize - 1 - i, y + i, 3, 3};
        SDL_RenderFillRect(renderer, &down);
        SDL_RenderFillRect(renderer, &up);
    }
}

void ControlsScreen::draw(SDL_Renderer* renderer) const {
    const int top = kPanel.y + kPadding + kRowHeight + kHeader;
    const SDL_Rect bar{kPanel.x + kPadding / 2, top + static_cast<int>(selected) * kRowHeight - 6, kPanel.w - kPadding,
                       kRowHeight - 4};
    ChoicePanel::drawBoxes(renderer, kPanel, bar, listening ? kWaitingColour : ChoicePanel::kChosenColour);

    const int centre = kPanel.x + kPanel.w / 2;
    Text::drawLine(renderer, font, kTitle, centre, kPanel.y + kPadding, true, ChoicePanel::kInk);
    Text::drawLine(renderer, smallFont, Texts::text(Texts::Id::ControlsKeys), kPanel.x + kKeysX, top - 22, false,
                   ChoicePanel::kInk);
    Text::drawLine(renderer, smallFont, Texts::text(Texts::Id::ControlsPad), kPanel.x + kPadX, top - 22, false,
                   ChoicePanel::kInk);
    for (std::size_t row = 0; row < kResetRow; ++row) {
        const KeyBindings::Action action = actionAt(row);
        const int y = top + static_cast<int>(row) * kRowHeight;
        // A translated action's name longer than its column ("Izquierda") goes small before it meets the keys.
        drawList(renderer, font, smallFont, labelOf(action), kPanel.x + kPadding * 2, y, kKeysX - kPadding * 3);
        if (listening && row == selected) {
            Text::drawLine(renderer, font, Texts::text(Texts::Id::ControlsWaitingRow), kPanel.x + kKeysX, y, false,
                           ChoicePanel::kInk);
            continue;
        }
        drawList(renderer, font, smallFont, keysOf(*bindings, action), kPanel.x + kKeysX, y);
        drawList(renderer, font, smallFont, listed(bindings->buttonsOf(action), &KeyBindings::buttonName),
                 kPanel.x + kPadX, y);
    }
    Text::drawLine(renderer, font, kReset, centre, top + static_cast<int>(kResetRow) * kRowHeight, true,
                   ChoicePanel::kInk);
    Text::drawLine(renderer, font, kBack, centre, top + static_cast<int>(kBackRow) * kRowHeight, true,
                   ChoicePanel::kInk);
    const int foot = kPanel.y + kPanel.h - kPadding - 16;
    if (!said.empty()) {
        const bool refused = listening;
        // A long refusal in the small font, so it stays inside the panel.
        int w = 0;
        const bool fits =
            font != nullptr && TTF_SizeUTF8(font, said.c_str(), &w, nullptr) == 0 && w <= kPanel.w - 2 * kPadding;
        Text::drawLine(renderer, fits ? font : smallFont, said, centre, fits ? foot - 40 : foot - 34, true,
                       refused ? kRefusedInk : ChoicePanel::kInk);
        if (refused) {
            // A cross before a refusal, as well as its colour.
            TTF_Font* used = fits ? font : smallFont;
            int shownW = 0;
            int shownH = 0;
            if (used != nullptr) {
                TTF_SizeUTF8(used, said.c_str(), &shownW, &shownH);
            }
            const int x = std::max(kPanel.x + kFrameGap, centre - shownW / 2 - kCrossSize - kCrossGap);
            drawCross(renderer, x, (fits ? foot - 40 : foot - 34) + (shownH - kCrossSize) / 2);
        }
    }
    Text::drawLine(renderer, smallFont, listening ? kWaiting : kHint, centre, foot, true, ChoicePanel::kInk);
}
