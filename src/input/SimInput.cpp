#include "input/SimInput.h"

#include "input/Gamepads.h"
#include "input/Input.h"

#include <sstream>

namespace {

using Op = RunRecording::Op;
using Take = RunRecording::Take;

constexpr int kFirstAction = static_cast<int>(KeyBindings::Action::Up);
constexpr int kLastAction = static_cast<int>(KeyBindings::Action::Attack);
constexpr long long kMaxListed = 64;  // keys or buttons of one action

bool readNumbers(const std::string& text, std::vector<long long>& numbers) {
    numbers.clear();
    if (text.empty()) {
        return true;
    }
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string item = text.substr(from, comma - from);
        if (item.empty() || item.size() > 12 || item.find_first_not_of("-0123456789") != std::string::npos ||
            item.find('-', 1) != std::string::npos || item == "-" || numbers.size() >= kMaxListed) {
            return false;
        }
        numbers.push_back(std::stoll(item));
        from = comma + 1;
    }
    return true;
}

}  // namespace

void SimInput::record() {
    current = Mode::Record;
    frame.clear();
    encoded.clear();
    lastClock = 0;
    lastKeys.clear();
    source = nullptr;
    calls = 0;
    ended = 0;
    parted = 0;
    hasParted = false;
}

void SimInput::feed(RunRecording& recording) {
    record();
    current = Mode::Feed;
    source = &recording;
    source->rewind();
}

void SimInput::stop() {
    current = Mode::Off;
    source = nullptr;
    frame.clear();
}

void SimInput::note(const Take& take) { frame.push_back(take); }

void SimInput::part() {
    if (!hasParted) {
        hasParted = true;
        parted = ended;
    }
}

bool SimInput::expect(Op op, Take& take) {
    if (hasParted || !source->next(take) || take.op != op) {
        part();
        return false;
    }
    return true;
}

bool SimInput::takeEvent(Input* input, SDL_Event& event) {
    const uint32_t call = calls++;
    if (current == Mode::Feed) {
        Take take;
        if (hasParted || !source->peek(take) || take.op != Op::Event) {
            return false;
        }
        if (take.call < call) {
            part();  // a step the recording took an event at never came
            return false;
        }
        if (take.call > call) {
            return false;
        }
        source->next(take);
        event = eventOf(take);
        return true;
    }
    const bool taken = input != nullptr ? input->next(event)
                                        : SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
    Take take;
    if (taken && current == Mode::Record) {
        takeOf(event, take);
        take.call = call;
        note(take);
    }
    return taken;
}

Uint64 SimInput::clock(HeldWalk::Clock sourceClock) {
    Take take;
    if (current == Mode::Feed) {
        if (expect(Op::Clock, take)) {
            lastClock = take.value;
        }
        return lastClock;
    }
    const Uint64 now = sourceClock();
    if (current == Mode::Record) {
        take.op = Op::Clock;
        take.value = now;
        note(take);
    }
    return now;
}

unsigned SimInput::seed(unsigned fromClock) {
    Take take;
    if (current == Mode::Feed) {
        return expect(Op::Seed, take) ? static_cast<unsigned>(take.value) : fromClock;
    }
    if (current == Mode::Record) {
        take.op = Op::Seed;
        take.value = fromClock;
        note(take);
    }
    return fromClock;
}

void SimInput::stick(SDL_JoystickID which, int& x, int& y) {
    Take take;
    if (current == Mode::Feed) {
        x = 0;
        y = 0;
        if (expect(Op::Stick, take)) {
            x = static_cast<int>(take.a);
            y = static_cast<int>(take.b);
        }
        return;
    }
    Gamepads::leftStick(which, x, y);
    if (current == Mode::Record) {
        take.op = Op::Stick;
        take.a = x;
        take.b = y;
        note(take);
    }
}

void SimInput::letGo() {
    if (current == Mode::Record) {
        Take take;
        take.op = Op::LetGo;
        note(take);
    }
}

void SimInput::keys(const KeyBindings& bindings) {
    if (current != Mode::Record) {
        return;
    }
    std::string now = encodeKeys(bindings);
    if (now != lastKeys) {
        // The first note is the header's; a change while playing (the controls, from the pause
        // panel) is a take before the next frame.
        if (!lastKeys.empty()) {
            Take take;
            take.op = Op::Keys;
            take.text = now;
            note(take);
        }
        lastKeys = std::move(now);
    }
}

bool SimInput::hashDue() const { return ended > 0 && (ended % RunRecording::kHashEvery) == 0; }

bool SimInput::endFrame(bool withHash, uint64_t hash) {
    calls = 0;
    if (current == Mode::Record) {
        Take take;
        if (withHash) {
            take.op = Op::Hash;
            take.value = hash;
            note(take);
        }
        take = Take{};
        take.op = Op::FrameEnd;
        note(take);
        RunRecording::encodeTakes(frame, encoded, lastClock);
        frame.clear();
    } else if (current == Mode::Feed && !hasParted) {
        Take take;
        // An event the frame never came to take is a frame that went another way.
        if (!source->next(take)) {
            part();
        } else if (take.op == Op::Hash) {
            if (!withHash || take.value != hash || !source->next(take) || take.op != Op::FrameEnd) {
                part();
            }
        } else if (take.op != Op::FrameEnd) {
            part();
        }
    }
    ++ended;
    return !hasParted;
}

void SimInput::end(RunRecording::Ending ending, int32_t level, int32_t score, uint64_t hash) {
    if (current != Mode::Record) {
        return;
    }
    Take take;
    take.op = Op::End;
    take.kind = static_cast<uint8_t>(ending);
    take.a = level;
    take.b = score;
    take.value = hash;
    note(take);
    RunRecording::encodeTakes(frame, encoded, lastClock);
    frame.clear();
}

std::string SimInput::drain() {
    std::string out;
    out.swap(encoded);
    return out;
}

bool SimInput::nextBetweenFrames(Take& take) {
    if (current != Mode::Feed || hasParted || !source->peek(take)) {
        return false;
    }
    if (take.op != Op::LetGo && take.op != Op::Keys && take.op != Op::End) {
        return false;
    }
    source->next(take);
    return true;
}

std::string SimInput::encodeKeys(const KeyBindings& bindings) {
    std::ostringstream out;
    for (int a = kFirstAction; a <= kLastAction; ++a) {
        const auto action = static_cast<KeyBindings::Action>(a);
        const char* sep = "";
        for (const SDL_Keycode key : bindings.keysOf(action)) {
            out << sep << key;
            sep = ",";
        }
        out << '|';
        sep = "";
        for (const SDL_GameControllerButton button : bindings.buttonsOf(action)) {
            out << sep << static_cast<int>(button);
            sep = ",";
        }
        out << ';';
    }
    return out.str();
}

bool SimInput::decodeKeys(const std::string& text, KeyBindings& bindings) {
    KeyBindings made;
    for (int a = kFirstAction; a <= kLastAction; ++a) {
        made.unbindKeys(static_cast<KeyBindings::Action>(a));
        std::string why;
        made.bindButtons(static_cast<KeyBindings::Action>(a), {}, why);
    }
    std::size_t from = 0;
    for (int a = kFirstAction; a <= kLastAction; ++a) {
        const std::size_t bar = text.find('|', from);
        const std::size_t semi = bar == std::string::npos ? std::string::npos : text.find(';', bar);
        if (semi == std::string::npos) {
            return false;
        }
        std::vector<long long> keyNumbers;
        std::vector<long long> buttonNumbers;
        if (!readNumbers(text.substr(from, bar - from), keyNumbers) ||
            !readNumbers(text.substr(bar + 1, semi - bar - 1), buttonNumbers)) {
            return false;
        }
        std::vector<SDL_Keycode> keys;
        for (const long long k : keyNumbers) {
            if (k < INT32_MIN || k > INT32_MAX) {
                return false;
            }
            keys.push_back(static_cast<SDL_Keycode>(k));
        }
        std::vector<SDL_GameControllerButton> buttons;
        for (const long long b : buttonNumbers) {
            if (b < 0 || b >= SDL_CONTROLLER_BUTTON_MAX) {
                return false;
            }
            buttons.push_back(static_cast<SDL_GameControllerButton>(b));
        }
        std::string why;
        const auto action = static_cast<KeyBindings::Action>(a);
        if (!made.bind(action, keys, why) || !made.bindButtons(action, buttons, why)) {
            return false;
        }
        from = semi + 1;
    }
    if (from != text.size()) {
        return false;
    }
    bindings = made;
    return true;
}

SDL_Event SimInput::eventOf(const Take& take) {
    SDL_Event event{};
    switch (static_cast<EventKind>(take.kind)) {
        case EventKind::Quit:
            event.type = SDL_QUIT;
            break;
        case EventKind::KeyDown:
        case EventKind::KeyRepeat:
        case EventKind::KeyUp:
            event.type = take.kind == static_cast<uint8_t>(EventKind::KeyUp) ? SDL_KEYUP : SDL_KEYDOWN;
            event.key.type = event.type;
            event.key.state = event.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.key.repeat = take.kind == static_cast<uint8_t>(EventKind::KeyRepeat) ? 1 : 0;
            event.key.keysym.sym = static_cast<SDL_Keycode>(take.a);
            break;
        case EventKind::MouseDown:
            event.type = SDL_MOUSEBUTTONDOWN;
            event.button.button = SDL_BUTTON_LEFT;
            break;
        case EventKind::PadDown:
        case EventKind::PadUp:
            event.type = take.kind == static_cast<uint8_t>(EventKind::PadDown) ? SDL_CONTROLLERBUTTONDOWN
                                                                               : SDL_CONTROLLERBUTTONUP;
            event.cbutton.which = static_cast<SDL_JoystickID>(take.a);
            event.cbutton.button = static_cast<Uint8>(take.b);
            break;
        case EventKind::PadAxis:
            event.type = SDL_CONTROLLERAXISMOTION;
            event.caxis.which = static_cast<SDL_JoystickID>(take.a);
            event.caxis.axis = static_cast<Uint8>(take.b);
            break;
        case EventKind::PadAdded:
        case EventKind::PadRemoved:
            event.type = take.kind == static_cast<uint8_t>(EventKind::PadAdded) ? SDL_CONTROLLERDEVICEADDED
                                                                                : SDL_CONTROLLERDEVICEREMOVED;
            event.cdevice.which = static_cast<Sint32>(take.a);
            break;
        case EventKind::Other:
        default:
            event.type = SDL_USEREVENT;  // nothing the hero acts on
            break;
    }
    return event;
}

bool SimInput::takeOf(const SDL_Event& event, Take& take) {
    take = Take{};
    take.op = Op::Event;
    EventKind kind = EventKind::Quit;
    switch (event.type) {
        case SDL_QUIT:
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            kind = event.type == SDL_KEYUP ? EventKind::KeyUp
                                           : (event.key.repeat != 0 ? EventKind::KeyRepeat : EventKind::KeyDown);
            take.a = event.key.keysym.sym;
            break;
        case SDL_MOUSEBUTTONDOWN:
            kind = EventKind::MouseDown;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            kind = event.type == SDL_CONTROLLERBUTTONDOWN ? EventKind::PadDown : EventKind::PadUp;
            take.a = event.cbutton.which;
            take.b = event.cbutton.button;
            break;
        case SDL_CONTROLLERAXISMOTION:
            kind = EventKind::PadAxis;
            take.a = event.caxis.which;
            take.b = event.caxis.axis;
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            kind = event.type == SDL_CONTROLLERDEVICEADDED ? EventKind::PadAdded : EventKind::PadRemoved;
            take.a = event.cdevice.which;
            break;
        default:
            kind = EventKind::Other;
            break;
    }
    take.kind = static_cast<uint8_t>(kind);
    return true;
}
