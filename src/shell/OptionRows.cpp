#include "shell/OptionRows.h"

int OptionRows::memberValue(const Settings& settings, const Settings::Row& row) {
    return row.kind == Settings::Kind::Switch ? (settings.*row.flag ? 1 : 0) : settings.*row.number;
}

std::vector<OptionsScreen::Row> OptionRows::of(Settings& settings, const Hooks& hooks,
                                               const std::vector<Settings::Row>& table) {
    std::vector<OptionsScreen::Row> rows;
    for (const Settings::Row& setting : table) {
        if (setting.label == nullptr) {
            continue;
        }
        const Settings::Row* row = &setting;
        const bool isSwitch = row->kind == Settings::Kind::Switch;
        OptionsScreen::Row shown;
        shown.label = row->label;
        shown.low = isSwitch ? 0 : row->low;
        shown.high = isSwitch ? 1 : row->high;
        shown.isSwitch = isSwitch;
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
    OptionsScreen::Row controls;
    controls.label = kControls;
    controls.low = 0;
    controls.high = 0;
    controls.isSwitch = false;
    controls.screen = hooks.controls;
    rows.push_back(std::move(controls));
    return rows;
}
