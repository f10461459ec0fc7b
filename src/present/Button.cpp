#include "present/Button.h"

#include "input/Gamepads.h"
#include "present/Render.h"

#include <iostream>

int Button::checkIs = 1;
int Button::flag = 1;
int Button::flagText = 0;

namespace {

using Command = KeyBindings::Command;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the longest prefix of s, at most limit bytes, that ends on a character boundary.
std::size_t prefixOnBoundary(const std::string& s, std::size_t limit) {
    if (s.size() <= limit) {
        return s.size();
    }
    std::size_t cut = limit;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(s[cut]))) {
        --cut;
    }
    return cut;
}

// The items from the top of the screen down: SCORE BOARD, RESUME, REPLAY, NEW GAME.
const std::size_t kScreenOrder[] = {Button::kScoreBoardEntry, Button::kResumeEntry,  Button::kReplayEntry,
                                    Button::kNewGameEntry,    Button::kOptionsEntry, Button::kQuitEntry};
constexpr std::size_t kFocusable = sizeof kScreenOrder / sizeof kScreenOrder[0];

}  // namespace

Button::Button() : inputText("") {}

bool Button::isOnLoc(SDL_Rect at, SDL_Rect size, int x, int y) {
    return at.x <= x && x <= at.x + size.w && at.y <= y && y <= at.y + size.h;
}

void Button::appendText(const std::string& typed) {
    if (inputText.size() >= kMaxNameBytes) {
        return;
    }
    const std::string allowed = typed.substr(0, prefixOnBoundary(typed, kMaxNameBytes - inputText.size()));
    if (!fits) {
        inputText += allowed;
        return;
    }
    for (std::size_t i = 0; i < allowed.size();) {
        std::size_t next = i + 1;
        while (next < allowed.size() && isContinuationByte(static_cast<unsigned char>(allowed[next]))) {
            ++next;
        }
        std::string longer = inputText + allowed.substr(i, next - i);
        if (!fits(longer)) {
            return;
        }
        inputText = std::move(longer);
        i = next;
    }
}

void Button::eraseLastCharacter() {
    if (inputText.empty()) {
        return;
    }
    std::size_t cut = inputText.size() - 1;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(inputText[cut]))) {
        --cut;
    }
    inputText.erase(cut);
}

void Button::choose(std::size_t entry) {
    switch (entry) {
        case kNewGameEntry:
            std::cout << "huy";
            checkIs = 0;
            break;
        case kResumeEntry:
            if (refusesResume && refusesResume()) {
                // Nothing starts and nothing is traced, as for a click beside the items.
                focus = focus == kResumeEntry ? kNewGameEntry : focus;
                break;
            }
            flag = kResumePending;
            std::cout << flag;
            checkIs = 0;
            break;
        case kReplayEntry:
            std::cout << "replay" << flag;
            flag = kReplayPending;
            std::cout << flag;
            checkIs = 0;
            break;
        case kScoreBoardEntry:
            // SCORE BOARD chooses no run mode; it only shows or hides the best runs.
            showScores = !showScores;
            break;
        case kOptionsEntry:
            optionsAsked = true;
            break;
        case kQuitEntry:
            // Ends the process as a close on a menu shown again does, without a run or a word.
            quitAsked = true;
            Render::isRunning = false;
            checkIs = 0;
            break;
        default:
            break;
    }
}

void Button::back() {
    if (showScores) {
        showScores = false;  // the board shown is what back leaves first
        return;
    }
    choose(kQuitEntry);
}

bool Button::boardTakes(Command command, bool fresh) {
    if (!showScores || !onBoardKey) {
        return false;
    }
    if (command == Command::MenuUp || command == Command::MenuDown) {
        return onBoardKey(command == Command::MenuUp ? -1 : 1, false);
    }
    return command == Command::Confirm && fresh && onBoardKey(0, true);
}

void Button::moveFocus(int steps) {
    std::size_t at = 0;
    while (at < kFocusable && kScreenOrder[at] != focus) {
        ++at;
    }
    // The items under the score board are out of reach while it shows.
    const int n = static_cast<int>(showScores ? kItems : kFocusable);
    int now = static_cast<int>(at < static_cast<std::size_t>(n) ? at : 0);
    const int step = steps < 0 ? -1 : 1;
    for (int moved = 0; moved != steps; moved += step) {
        now = ((now + step) % n + n) % n;
        if (resumeShut && kScreenOrder[now] == kResumeEntry) {
            now = ((now + step) % n + n) % n;  // never the only item, so the next is another
        }
    }
    focus = kScreenOrder[static_cast<std::size_t>(now)];
}

std::string Button::clickOn(std::vector<SDL_Rect> positions, std::vector<SDL_Rect> sizes) {
    SDL_Event event;
    if (input != nullptr ? input->next(event) : SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_QUIT:
                Render::isRunning = false;
                checkIs = 0;
                if (firstMenu) {
                    std::cout << "pcchemu";
                }
                break;
            case SDL_KEYDOWN: {
                // Moving and erasing take the desktop's repeats; quitting and choosing do not.
                const bool fresh = event.key.repeat == 0;
                const Command command = keys().commandOf(event, KeyBindings::Place::Menu);
                if (command == Command::Back && fresh) {
                    back();
                    break;
                }
                if (command == Command::Erase) {
                    eraseLastCharacter();
                    return inputText;
                }
                if (command == Command::MenuRight && takeOffered()) {
                    return inputText;
                }
                if (boardTakes(command, fresh)) {
                    break;
                }
                if (command == Command::MenuUp || command == Command::Previous) {
                    moveFocus(-1);
                } else if (command == Command::MenuDown || command == Command::Next) {
                    moveFocus(1);
                } else if (command == Command::Confirm && fresh) {
                    choose(focus);
                }
                break;
            }
            case SDL_TEXTINPUT:
                type(event.text.text);
                return inputText;
            case SDL_MOUSEMOTION:
                if (showScores && onBoard) {
                    onBoard(event.motion.x, event.motion.y, false);
                }
                // The item under the pointer takes the focus, so only one item is ever highlighted.
                for (std::size_t entry = 0; entry < positions.size() && entry < sizes.size(); ++entry) {
                    const bool item =
                        (entry < kItems && !(resumeShut && entry == kResumeEntry)) || (entry > kItems && !showScores);
                    if (item && isOnLoc(positions[entry], sizes[entry], event.motion.x, event.motion.y)) {
                        focus = entry;
                    }
                }
                break;
            case SDL_MOUSEBUTTONDOWN: {
                if (positions.size() <= kResumeEntry || sizes.size() <= kResumeEntry) {
                    break;  // no items laid out yet: nothing to hit
                }
                const int x = event.button.x;
                const int y = event.button.y;
                if (showScores && onBoard && event.button.button == SDL_BUTTON_LEFT && onBoard(x, y, true)) {
                    break;  // a run on the board to watch, not an item under it
                }
                // Boxes that overlap all fire, in this order: the last run mode set decides.
                for (std::size_t entry : {kNewGameEntry, kResumeEntry, kReplayEntry, kScoreBoardEntry}) {
                    if (entry < positions.size() && entry < sizes.size() &&
                        isOnLoc(positions[entry], sizes[entry], x, y)) {
                        choose(entry);
                    }
                }
                for (std::size_t entry : {kOptionsEntry, kQuitEntry}) {
                    if (!showScores && entry < positions.size() && entry < sizes.size() &&
                        isOnLoc(positions[entry], sizes[entry], x, y)) {
                        choose(entry);
                    }
                }
                break;
            }
            case SDL_CONTROLLERDEVICEADDED:
            case SDL_CONTROLLERDEVICEREMOVED:
                Gamepads::deviceEvent(event);
                break;
            case SDL_CONTROLLERBUTTONDOWN: {
                const Command command = keys().commandOf(event, KeyBindings::Place::Menu);
                if (boardTakes(command, true)) {
                    break;
                }
                if (command == Command::MenuUp || command == Command::Previous) {
                    moveFocus(-1);
                } else if (command == Command::MenuDown || command == Command::Next) {
                    moveFocus(1);
                } else if (command == Command::Confirm) {
                    choose(focus);
                } else if (command == Command::Back) {
                    back();
                } else if (command == Command::Letters) {
                    nameAsked = true;
                } else if (command == Command::MenuRight && takeOffered()) {
                    return inputText;
                }
                break;
            }
            default:
                break;
        }
    }
    if (flagText == 0) {
        return kPrompt;
    }
    return inputText;
}

std::string Button::getInputText() { return inputText; }

void Button::startMenu(bool first) {
    showScores = false;
    focus = kNewGameEntry;
    firstMenu = first;
}

bool Button::takeOffered() {
    if (!offering()) {
        return false;
    }
    type(offered);
    return true;
}

void Button::type(const std::string& typed) {
    flagText = 1;
    appendText(typed);
}
