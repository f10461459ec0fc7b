#include "present/HelpPanel.h"

#include "input/PanelKeys.h"

#include "present/FontCache.h"
#include "present/Render.h"
#include "present/Text.h"
#include "present/Texts.h"

#include <algorithm>

namespace {

constexpr SDL_Color kInk{255, 236, 200, 255};  // light text on the dark panel, as on the cards
constexpr int kPictureW = Render::kPicture.w;  // the picture the panel is laid out in
constexpr int kPictureH = Render::kPicture.h;

// The keys that pause play, as the help names them: a key one of the hero's actions has is the
// hero's. The defaults keep their short texts ("Esc or P", "Esc" while an action has P); keys the
// player gave pause are named as SDL names them.
std::string pauseKeysOf(const KeyBindings& keys) {
    using Chord = KeyBindings::Chord;
    std::vector<Chord> pauses;
    for (const Chord& chord : keys.chordsOf(KeyBindings::Command::Pause)) {
        if (keys.actionOf(chord.key) == KeyBindings::Action::None) {
            pauses.push_back(chord);
        }
    }
    const std::vector<Chord>& defaults = KeyBindings::defaults().chordsOf(KeyBindings::Command::Pause);
    if (pauses == defaults) {
        return Texts::text(Texts::Id::PauseKeysOrP);
    }
    if (pauses.size() == 1 && pauses.front() == defaults.front()) {
        return Texts::text(Texts::Id::PauseKeys);
    }
    std::vector<std::string> names;
    for (const Chord& chord : pauses) {
        names.push_back(KeyBindings::chordName(chord));
    }
    return names.empty() ? Texts::text(Texts::Id::ControlsNone) : Texts::join(Texts::Id::EitherOf, names);
}

}  // namespace

HelpPanel::~HelpPanel() { close(); }

std::vector<std::string> HelpPanel::linesFor(const KeyBindings& keys, bool pad) {
    using Action = KeyBindings::Action;
    using Id = Texts::Id;
    // The walking keys in rows: each action's first key, then each one's second, and so on.
    std::vector<std::string> rows;
    for (std::size_t row = 0;; ++row) {
        std::vector<std::string> keysInRow;
        for (const Action action : {Action::Up, Action::Left, Action::Down, Action::Right}) {
            const std::vector<SDL_Keycode>& bound = keys.keysOf(action);
            if (row < bound.size()) {
                keysInRow.push_back(KeyBindings::keyName(bound[row]));
            }
        }
        if (keysInRow.empty()) {
            break;
        }
        rows.push_back(Texts::join(Id::KeysInRow, keysInRow));
    }
    const std::string walk = Texts::join(Id::EitherOf, rows);
    const auto either = [&](Action action) {
        std::vector<std::string> names;
        for (const SDL_Keycode key : keys.keysOf(action)) {
            names.push_back(KeyBindings::keyName(key));
        }
        return Texts::join(Id::EitherOf, names);
    };
    const auto buttons = [&](Action action) {
        std::vector<std::string> names;
        for (const SDL_GameControllerButton button : keys.buttonsOf(action)) {
            names.push_back(KeyBindings::buttonName(button));
        }
        return Texts::join(Id::EitherOf, names);
    };
    const std::string attack = either(Action::Attack);
    const std::string padAttack = buttons(Action::Attack);
    const std::string padStop = buttons(Action::Stop);
    const std::string pauseKeys = pauseKeysOf(keys);
    std::vector<std::string> lines;
    if (pad) {
        std::vector<std::string> padWalks;
        for (const Action action : {Action::Up, Action::Left, Action::Down, Action::Right}) {
            const std::string named = buttons(action);
            if (!named.empty()) {
                padWalks.push_back(named);
            }
        }
        const std::string padWalk = Texts::join(Id::ListOf, padWalks);
        const Id walkLine = padWalk.empty() ? (padStop.empty() ? Id::HelpStick : Id::HelpStickStop)
                                            : (padStop.empty() ? Id::HelpStickOr : Id::HelpStickOrStop);
        lines = {
            padWalk.empty() ? Texts::format(walkLine, {padStop}) : Texts::format(walkLine, {padWalk, padStop}),
            padAttack.empty() ? Texts::text(Id::HelpPadPause) : Texts::format(Id::HelpPadAttack, {padAttack}),
            Texts::format(Id::HelpKeyboard, {walk, attack.empty() ? Texts::text(Id::HelpClick) : attack, pauseKeys}),
            Texts::text(Id::HelpPadToggles),
        };
    } else {
        lines = {
            Texts::format(Id::HelpWalk, {walk, either(Action::Stop)}),
            attack.empty() ? Texts::format(Id::HelpAttack, {pauseKeys})
                           : Texts::format(Id::HelpAttackOr, {attack, pauseKeys}),
            padAttack.empty() ? Texts::text(Id::HelpGamepad) : Texts::format(Id::HelpGamepadAttack, {padAttack}),
            Texts::text(Id::HelpToggles),
        };
    }
    lines.push_back(Texts::text(Id::HelpAim));
    lines.push_back(Texts::text(Id::HelpArrow));
    return lines;
}

Uint8 HelpPanel::alphaFor(int framesLeft) {
    if (framesLeft <= 0) {
        return 0;
    }
    if (framesLeft >= kFadeFrames) {
        return 255;
    }
    return static_cast<Uint8>(255 * framesLeft / kFadeFrames);
}

void HelpPanel::open(SDL_Renderer* renderer, const char* fontPath, const std::vector<std::string>& lines) {
    close();
    if (renderer != nullptr) {
        font = FontCache::get(fontPath, kPointSize);
    }
    setLines(renderer, lines);
}

void HelpPanel::setLines(SDL_Renderer* renderer, const std::vector<std::string>& lines) {
    for (SDL_Texture* texture : rendered) {
        SDL_DestroyTexture(texture);
    }
    rendered.clear();
    shown = lines;
    if (renderer == nullptr || font == nullptr) {
        return;
    }
    for (const std::string& line : shown) {
        SDL_Texture* texture = Text::lineTexture(renderer, font, line, kInk);
        if (texture != nullptr) {
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        }
        rendered.push_back(texture);
    }
}

void HelpPanel::close() {
    for (SDL_Texture* texture : rendered) {
        SDL_DestroyTexture(texture);
    }
    rendered.clear();
    font = nullptr;  // the cache's
}

void HelpPanel::take(const SDL_Event& event) {
    if (PanelKeys::asksHelp(event, bindings != nullptr ? *bindings : KeyBindings::defaults())) {
        show();
    }
}

void HelpPanel::step() {
    if (framesLeft > 0) {
        --framesLeft;
    }
}

void HelpPanel::draw(SDL_Renderer* renderer) const {
    if (framesLeft > 0) {
        draw(renderer, alphaFor(framesLeft));
    }
}

void HelpPanel::draw(SDL_Renderer* renderer, Uint8 alpha) const {
    if (alpha == 0 || rendered.empty()) {
        return;
    }
    int width = 0;
    int height = 0;
    std::vector<SDL_Rect> boxes;
    for (SDL_Texture* texture : rendered) {
        SDL_Rect box{};
        SDL_QueryTexture(texture, nullptr, nullptr, &box.w, &box.h);
        width = std::max(width, box.w);
        height += box.h + (boxes.empty() ? 0 : kLineGap);
        boxes.push_back(box);
    }
    const SDL_Rect panel{(kPictureW - width) / 2 - kPadding, kPictureH - kBottomMargin - height - 2 * kPadding,
                         width + 2 * kPadding, height + 2 * kPadding};
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 40, 22, 10, static_cast<Uint8>(kPanelAlpha * alpha / 255));
    SDL_RenderFillRect(renderer, &panel);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    int y = panel.y + kPadding;
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        SDL_Rect box = boxes[i];
        box.x = panel.x + kPadding;
        box.y = y;
        if (rendered[i] != nullptr) {
            SDL_SetTextureAlphaMod(rendered[i], alpha);
            Text::fitToWindow(renderer, rendered[i]);
            SDL_RenderCopy(renderer, rendered[i], nullptr, &box);
        }
        y += box.h + kLineGap;
    }
}
