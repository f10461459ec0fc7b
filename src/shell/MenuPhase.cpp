#include "shell/MenuPhase.h"

#include "persist/FileIO.h"
#include "present/Language.h"
#include "present/MuteSign.h"
#include "persist/Player.h"
#include "persist/Replay.h"
#include "persist/SavedGame.h"

#include <algorithm>
#include <string>

namespace {

// Labels of menu items 1 to 4; item 0 is the name line.
const Texts::Id kMenuLabels[MenuPhase::kMenuTexts - 1] = {Texts::Id::MenuReplay, Texts::Id::MenuNewGame,
                                                          Texts::Id::MenuResume, Texts::Id::MenuScoreBoard};
// Vertical offsets of the menu items from the window centre: SCORE BOARD on top, NEW GAME lowest.
const int kMenuOffsets[MenuPhase::kMenuTexts] = {0, -50, 0, -100, -150};

}  // namespace

void MenuPhase::makeTexts() {
    for (auto& text : menuTexts) {
        text = std::make_unique<Text>();
    }
}

void MenuPhase::initTexts() {
    for (auto& text : menuTexts) {
        text->init();
    }
}

void MenuPhase::layOut(Button& button) {
    button.onBoard = [this](int x, int y, bool click) {
        const int row = scoreBoard.rowAt(x, y);
        const std::string recording = scoreBoard.recordingOf(row);
        const int lit = recording.empty() ? -1 : row;
        if (lit != scoreBoard.pointed) {
            scoreBoard.pointed = lit;
            reset();  // drawn anew with the row lit
        }
        if (click && !recording.empty()) {
            watchAsked = recording;
            return true;
        }
        return false;
    };
    button.onBoardKey = [this](int steps, bool choose) {
        if (choose) {
            watchAsked = scoreBoard.recordingOf(scoreBoard.pointed);
            return !watchAsked.empty();
        }
        // The next row with a recording, round the ends; none: the items move as before.
        const int rows = static_cast<int>(ScoreBoard::kShown);
        int at = scoreBoard.pointed;
        for (int tried = 0; tried < rows; ++tried) {
            at = at < 0 ? (steps > 0 ? 0 : rows - 1) : ((at + steps) % rows + rows) % rows;
            if (!scoreBoard.recordingOf(at).empty()) {
                scoreBoard.pointed = at;
                reset();
                return true;
            }
        }
        return false;
    };
    for (int i = 0; i < kMenuTexts; ++i) {
        menuTexts[i]->Create(kMenuOffsets[i]);
    }
    menuSizes.clear();
    menuPositions.clear();
    for (int i = 1; i < kMenuTexts; ++i) {
        menuSizes.push_back(menuTexts[i]->getRect());
        menuPositions.push_back(menuTexts[i]->getPos(0));
    }
    menuSizes.push_back(menuTexts[kNameItem]->getRect());
    menuPositions.push_back(menuTexts[kNameItem]->getPos(kNameLineOffset));

    layOutLower();

    chooser = &button;
    button.refusesResume = [this] { return refuseResume(); };
    shutResume(dimmed[kResumeItem]);

    Text& name = *menuTexts[kNameItem];
    name.display(name.showInput(" "), name.getPos(kNameLineOffset));
    // A longer name would run off the sign and past the window's edge; the cursor goes after it.
    button.fits = [&name](const std::string& typed) {
        return name.getPos(kNameLineOffset).x + name.widthOf(typed) + Text::kCursorGap + Text::kCursorWidth <=
               kSignRight;
    };
}

void MenuPhase::layOutLower() {
    // OPTIONS and QUIT side by side under the sign.
    release();
    const std::string lower[2] = {kOptionsLabel, kQuitLabel};
    int widths[2] = {0, 0};
    int height = 0;
    for (int i = 0; i < 2; ++i) {
        lowerLabels[i] = Text::lineTexture(Render::renderer, menuTexts[kNameItem]->font, lower[i], Text::kMenuColor);
        if (lowerLabels[i] != nullptr) {
            SDL_QueryTexture(lowerLabels[i], nullptr, nullptr, &widths[i], &height);
        }
    }
    const int centre = Render::kPicture.w / 2;
    const int room = kPostsInnerRight - kPostsInnerLeft;
    const int gap = std::max(kLowerMinGap, std::min(kLowerGap, room - widths[0] - widths[1]));
    const int left = std::max(kPostsInnerLeft,
                              std::min(centre - gap / 2 - widths[0], kPostsInnerRight - widths[0] - gap - widths[1]));
    lowerAt[0] = SDL_Rect{left, kLowerRowY, widths[0], height};
    lowerAt[1] = SDL_Rect{left + widths[0] + gap, kLowerRowY, widths[1], height};
    // Entries 5 and 6, after the name line: made anew when the language changes.
    menuPositions.resize(Button::kOptionsEntry);
    menuSizes.resize(Button::kOptionsEntry);
    for (const SDL_Rect& at : lowerAt) {
        menuPositions.push_back(SDL_Rect{at.x, at.y, 0, 0});
        menuSizes.push_back(SDL_Rect{0, 0, at.w, at.h});
    }
    lowerLanguage = Language::generation();
}

void MenuPhase::release() {
    for (SDL_Texture*& label : lowerLabels) {
        if (label != nullptr && Render::renderer != nullptr) {
            SDL_DestroyTexture(label);
        }
        label = nullptr;
    }
}

void MenuPhase::reset() {
    open = true;
    const auto menuClock = menuRedraw.clock;  // a test's own clock stays
    menuRedraw = MenuRedraw();
    menuRedraw.clock = menuClock;
    for (auto& text : menuTexts) {
        text->freeALL();
    }
    // Once per menu: no menu pass writes or removes these files.
    unsigned char first = 0;
    dimmed.fill(false);
    dimmed[kReplayItem] = FileIO::readPrefix(Replay::kDefaultPath, &first, 1) == 0;
    std::string reason;
    shutResume(SavedGame::judgeResume(reason) != SavedGame::Verdict::Resumable);
}

void MenuPhase::shutResume(bool shut) {
    dimmed[kResumeItem] = shut;
    if (chooser != nullptr) {
        chooser->resumeShut = shut;
        if (shut && chooser->focus == Button::kResumeEntry) {
            chooser->focus = Button::kNewGameEntry;
        }
    }
}

bool MenuPhase::refuseResume() {
    // Judged again: another game may have saved since the menu opened.
    std::string reason;
    const SavedGame::Verdict verdict = SavedGame::judgeResume(reason);
    shutResume(verdict != SavedGame::Verdict::Resumable);
    switch (verdict) {
        case SavedGame::Verdict::Resumable:
            return false;
        case SavedGame::Verdict::NoSave:
            resumeNote = Texts::Id::MenuResumeNone;
            break;
        case SavedGame::Verdict::RunOver:
            resumeNote = Texts::Id::MenuResumeOver;
            break;
        case SavedGame::Verdict::Unusable:
            resumeNote = Texts::Id::MenuResumeBroken;
            break;
    }
    FileIO::report("cannot resume (" + reason + ")");
    return true;
}

void MenuPhase::pass(Menu& menu, Button& button, Sound& sound, bool eventWaiting) {
    // Nothing new since the last picture: it stays on screen, and the pass costs next to nothing.
    if (!menuRedraw.needed(eventWaiting)) {
        return;
    }
    menu.copyTex(menu.getPos(), menu.getRect());

    const bool scoresShown = button.showScores;
    const std::string line = button.clickOn(menuPositions, menuSizes);
    // A click on an item either ends the menu (the window still open) or toggles the score board.
    if ((Button::checkIs == 0 && Render::isRunning) || button.showScores != scoresShown) {
        sound.play(Sound::Effect::Click);
    }
    drawOver(menu, button, line, sound.isMuted());
}

void MenuPhase::showFirst(Menu& menu, Button& button, bool muted) {
    menuRedraw.notePhase();  // the cursor's phase by the clock, as a pass takes it
    menu.copyTex(menu.getPos(), menu.getRect());
    drawOver(menu, button, Button::flagText == 0 ? Button::kPrompt : button.getInputText(), muted);
}

SDL_Rect MenuPhase::labelBox(std::size_t entry) const {
    if (entry >= Button::kOptionsEntry && entry <= Button::kQuitEntry) {
        return lowerAt[entry - Button::kOptionsEntry];
    }
    if (entry >= Button::kItems) {
        return SDL_Rect{0, 0, 0, 0};
    }
    // The label as drawn, not the item's hit box: the box is narrower than the longer labels.
    const Text& item = *menuTexts[entry + 1];
    const SDL_Rect at = menuPositions[entry];
    int w = 0;
    int h = 0;
    if (item.font != nullptr) {
        TTF_SizeUTF8(item.font, Texts::text(kMenuLabels[entry]).c_str(), &w, &h);
    }
    return SDL_Rect{at.x, at.y, w, h};
}

void MenuPhase::strikeThrough(const SDL_Rect& label) {
    // Struck through as well as faint: a faint item reads as one whatever the eyes make of its ink.
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(Render::renderer, &mode);
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawBlendMode(Render::renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(Render::renderer, Text::kMenuColor.r, Text::kMenuColor.g, Text::kMenuColor.b, kStrikeAlpha);
    const SDL_Rect bar{label.x - kStrikeOver, label.y + label.h / 2 - kStrikeH / 2, label.w + 2 * kStrikeOver,
                       kStrikeH};
    SDL_RenderFillRect(Render::renderer, &bar);
    SDL_SetRenderDrawColor(Render::renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(Render::renderer, mode);
    Render::markDrawn();
}

void MenuPhase::drawOver(Menu& menu, Button& button, const std::string& line, bool muted) {
    if (lowerLanguage != Language::generation() && chooser != nullptr) {
        layOutLower();  // the options chose another language
    }
    Text& name = *menuTexts[kNameItem];
    // The name last played stands faint where the prompt would, until it is taken or another typed.
    const bool offering = button.offering() && line == Button::kPrompt;
    SDL_Texture* shownName = name.showInput(offering ? button.offered : line);
    if (offering && shownName != nullptr) {
        SDL_SetTextureAlphaMod(shownName, kDimmedAlpha);
    }
    name.display(shownName, name.getPos(kNameLineOffset));
    if (menuRedraw.cursorShown()) {
        name.drawCursor(offering ? std::string() : line, name.getPos(kNameLineOffset));
    }

    const bool lowerShown = !button.showScores;  // the board covers the ground under the sign
    if (button.focus < menuPositions.size() && (lowerShown || button.focus < Button::kItems)) {
        menu.drawFocus(labelBox(button.focus));
    }
    for (int i = 1; i < kMenuTexts; ++i) {
        Text& item = *menuTexts[i];
        SDL_Texture* label = item.PrintButton(Texts::text(kMenuLabels[i - 1]));
        if (dimmed[i] && label != nullptr) {
            SDL_SetTextureAlphaMod(label, kDimmedAlpha);
        }
        item.display(label, item.getPos(0));
        if (dimmed[i] && label != nullptr) {
            strikeThrough(labelBox(static_cast<std::size_t>(i - 1)));
        }
    }
    for (int i = 0; i < 2 && lowerShown; ++i) {
        if (lowerLabels[i] != nullptr) {
            SDL_RenderCopy(Render::renderer, lowerLabels[i], nullptr, &lowerAt[i]);
        }
    }
    if (button.showScores != scoreBoard.isOpen()) {
        if (button.showScores) {
            scoreBoard.open(Player::kDefaultPath, name.font, Text::kMenuColor);
        } else {
            scoreBoard.close();
        }
    }
    if (lastRunNotSaved && !button.showScores) {
        SDL_Texture* note = Text::lineTexture(Render::renderer, name.font, kNotSaved, Text::kMenuColor);
        int w = 0;
        int h = 0;
        if (note != nullptr && SDL_QueryTexture(note, nullptr, nullptr, &w, &h) == 0) {
            const SDL_Rect at{(Render::kPicture.w - w) / 2, kNoteY, w, h};
            SDL_RenderCopy(Render::renderer, note, nullptr, &at);
        }
        SDL_DestroyTexture(note);
    }
    // The notes stand one above the other from the picture's foot up.
    int noteY = lastRunNotSaved ? kNoteY - kNoteGap : kNoteY;
    if (resumeNote && !button.showScores) {
        Text::drawLine(Render::renderer, name.font, Texts::text(*resumeNote), Render::kPicture.w / 2, noteY, true,
                       Text::kMenuColor);
        noteY -= kNoteGap;
    }
    if (offering && !button.showScores) {
        const Texts::Id take = padHint ? Texts::Id::MenuPadLastName : Texts::Id::MenuLastName;
        Text::drawLine(Render::renderer, name.font, Texts::format(take, {button.offered}), Render::kPicture.w / 2,
                       noteY, true, Text::kMenuColor);
        noteY -= kNoteGap;
    }
    if (padHint && !button.showScores) {
        Text::drawLine(Render::renderer, name.font, kPadHint, Render::kPicture.w / 2, noteY, true, Text::kMenuColor);
    }
    scoreBoard.draw(Render::renderer);
    if (scoreBoard.isOpen() && smallFont != nullptr) {
        // How to close it, in the board's top right corner, beside its heading.
        const std::string close = padHint ? kBoardPadClose : kBoardClose;
        int w = 0;
        TTF_SizeUTF8(smallFont, close.c_str(), &w, nullptr);
        const SDL_Rect board = scoreBoard.shownPanel();
        Text::drawLine(Render::renderer, smallFont, close, board.x + board.w - kBoardMargin - w, board.y + kBoardMargin,
                       false, Text::kMenuColor);
    }
    if (muted) {
        MuteSign::draw(Render::renderer);
    }
    for (auto& item : menuTexts) {
        item->present();
        item->freeALL();
    }
    menu.present();
    menu.clear();
}
