#include "present/OptionRows.h"

#include "present/ControlsScreen.h"
#include "present/Language.h"

#include <string>

int OptionRows::memberValue(const Settings& settings, const Settings::Row& row) {
    return row.kind == Settings::Kind::Switch ? (settings.*row.flag ? 1 : 0) : settings.*row.number;
}

namespace {

bool isAssist(const Settings::Row& row) { return std::string(row.section) == Settings::kAssistSection; }

}  // namespace

std::vector<OptionsScreen::Row> OptionRows::assistRows(Settings& settings, const Hooks& hooks,
                                                       const std::vector<Settings::Row>& table) {
    return rowsOf(settings, Hooks{hooks.shown, hooks.changed, nullptr, nullptr}, table, true);
}

std::vector<OptionsScreen::Row> OptionRows::of(Settings& settings, const Hooks& hooks,
                                               const std::vector<Settings::Row>& table) {
    return rowsOf(settings, hooks, table, false);
}

std::vector<OptionsScreen::Row> OptionRows::rowsOf(Settings& settings, const Hooks& hooks,
                                                   const std::vector<Settings::Row>& table, bool onlyAssists) {
    std::vector<OptionsScreen::Row> rows;
    for (const Settings::Row& setting : table) {
        if (setting.label == nullptr || isAssist(setting) != onlyAssists) {
            continue;
        }
        const Settings::Row* row = &setting;
        const bool isSwitch = row->kind == Settings::Kind::Switch;
        OptionsScreen::Row shown;
        shown.label = row->label;
        shown.low = isSwitch ? 0 : row->low;
        shown.high = isSwitch ? 1 : row->high;
        shown.isSwitch = isSwitch;
        if (row->acts == Settings::Acts::Language) {
            // A language by its own name, so a player lost in another one still finds theirs.
            shown.named = [](int value) {
                return value <= 0 ? Texts::text(Texts::Id::OptionsSystem)
                                  : std::string(Language::shipped()[static_cast<std::size_t>(value - 1)].ownName);
            };
        }
        shown.steps = row->steps;
        shown.percent = !row->steps.empty();
        shown.get = [&settings, row, of = hooks.shown] { return of ? of(*row) : memberValue(settings, *row); };
        shown.set = [&settings, row, changed = hooks.changed](int value) {
            if (row->kind == Settings::Kind::Switch) {
                settings.*row->flag = value != 0;
            } else {
                settings.*row->number = value;
            }
            if (changed) {
                changed(*row);
            }
        };
        rows.push_back(std::move(shown));
    }
    if (hooks.assists) {
        OptionsScreen::Row assists;
        assists.label = kAssists;
        assists.low = 0;
        assists.high = 0;
        assists.isSwitch = false;
        assists.screen = hooks.assists;
        rows.push_back(std::move(assists));
    }
    if (onlyAssists) {
        return rows;
    }
    OptionsScreen::Row controls;
    controls.label = Texts::row(kControls.id).english;
    controls.low = 0;
    controls.high = 0;
    controls.isSwitch = false;
    controls.screen = hooks.controls;
    rows.push_back(std::move(controls));
    return rows;
}

std::unique_ptr<OptionsScreen> OptionRows::screen(Services& services) {
    Hooks hooks;
    hooks.shown = [&services](const Settings::Row& row) {
        // What is heard and seen, which M, F11 and a refused fullscreen may have set apart.
        if (row.acts == Settings::Acts::Mute) {
            return services.sound->isMuted() ? 1 : 0;
        }
        if (row.acts == Settings::Acts::Fullscreen) {
            return services.game->isFullscreen() ? 1 : 0;
        }
        return memberValue(*services.settings, row);
    };
    hooks.changed = [&services](const Settings::Row& row) { apply(services, row); };
    hooks.controls = [&services]() -> std::unique_ptr<Screen> { return ControlsScreen::forGame(services); };
    hooks.assists = [&services, hooks]() -> std::unique_ptr<Screen> {
        auto assists = std::make_unique<OptionsScreen>();
        assists->title = Texts::Id::AssistsTitle;
        assists->bindings = &services.settings->keys;
        assists->open(services.font, services.smallFont, assistRows(*services.settings, hooks));
        return assists;
    };
    auto options = std::make_unique<OptionsScreen>();
    options->bindings = &services.settings->keys;
    options->open(services.font, services.smallFont, of(*services.settings, hooks));
    options->closed = [&services] { services.keeper->save(); };
    return options;
}

void OptionRows::apply(Services& services, const Settings::Row& row) {
    // Heard and seen at once: the sound at its new level, the window as asked.
    Settings& settings = *services.settings;
    switch (row.acts) {
        case Settings::Acts::Volumes:
            services.sound->setVolumes(settings.musicVolume, settings.effectsVolume);
            break;
        case Settings::Acts::Mute:
            services.sound->setMuted(settings.*row.flag);
            services.keeper->applied(*services.game);
            break;
        case Settings::Acts::Fullscreen:
            services.game->setFullscreen(settings.*row.flag);
            services.keeper->applied(*services.game);
            break;
        case Settings::Acts::Language:
            Language::choose(settings.languageCode());
            // The help keeps its lines made: made again, it speaks the new language in play too.
            if (services.help != nullptr && services.device != nullptr) {
                services.help->setLines(Render::renderer,
                                        HelpPanel::linesFor(settings.keys, services.device->padLast()));
            }
            break;
        case Settings::Acts::Nothing:
            break;
    }
    if (row.clicks) {
        services.sound->play(Sound::Effect::Click);
    }
}
