#pragma once

#include "present/OptionsScreen.h"
#include "present/Services.h"
#include "present/Settings.h"

#include <functional>
#include <memory>
#include <vector>

// The options screen's rows, made from the settings table: one for each setting with a label, in
// the table's order, and Controls last. What a change acts on is the caller's, told the table's row.
class OptionRows {
public:
    static constexpr Texts::Ref kControls{Texts::Id::OptionsControls};
    static constexpr Texts::Ref kAssists{Texts::Id::OptionsAssists};

    struct Hooks {
        // The value a row shows; unset, the member's. (The mute and the window may stand apart
        // from their members: the sound or the window is what the player hears and sees.)
        std::function<int(const Settings::Row&)> shown;
        // After a row's member took a new value: apply it (as its row's acts says) and keep it.
        std::function<void(const Settings::Row&)> changed;
        // The Controls row's screen, readied.
        std::function<std::unique_ptr<Screen>()> controls;
        // The Assists row's screen, readied; unset, the assists are rows among the others.
        std::function<std::unique_ptr<Screen>()> assists;
    };

    // A Number's or a Switch's value in settings (a switch is 0 or 1).
    static int memberValue(const Settings& settings, const Settings::Row& row);

    // The options screen the game shows: its rows show what is heard and seen, and each change
    // acts at once (as its row says); what changed is written when the screen closes (a whole
    // write and its flushes at each click or wheel step would stall the panel). Controls opens
    // the controls screen.
    static std::unique_ptr<OptionsScreen> screen(Services& services);
    // What a changed row acts on.
    static void apply(Services& services, const Settings::Row& row);

    // The rows bound to settings; table outlives them (Settings::table() does). The assists are
    // not among them: with an assists hook, one row before Controls opens their panel (assistRows).
    static std::vector<OptionsScreen::Row> of(Settings& settings, const Hooks& hooks,
                                              const std::vector<Settings::Row>& table = Settings::table());
    // The assists' rows alone, and Back.
    static std::vector<OptionsScreen::Row> assistRows(Settings& settings, const Hooks& hooks,
                                                      const std::vector<Settings::Row>& table = Settings::table());

private:
    static std::vector<OptionsScreen::Row> rowsOf(Settings& settings, const Hooks& hooks,
                                                  const std::vector<Settings::Row>& table, bool onlyAssists);
};
