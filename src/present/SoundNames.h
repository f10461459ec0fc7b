#pragma once

// Every sound the game plays, each named here once: its value in Sound::Effect or Sound::Tune,
// then the name of its notes in tools/sounds/sounds.txt, which is also its file, sounds/NAME.wav.
// An effect's notes are a `sound` there, a tune's a `tune`. Sound's enums, their counts and the
// files it loads follow from these rows; the build makes a file for each name in sounds.txt, and
// tests/tools/SoundsTest.cpp fails while the two lists disagree.
#define BRAMBLEHOOF_EFFECTS(SOUND) \
    SOUND(Swing, swing)            \
    SOUND(Hit, hit)                \
    SOUND(Hurt, hurt)              \
    SOUND(EnemyFalls, enemy_falls) \
    SOUND(FarmFalls, farm_falls)   \
    SOUND(Bull, bull)              \
    SOUND(LevelUp, level_up)       \
    SOUND(Win, win)                \
    SOUND(Death, death)            \
    SOUND(Click, click)

// Each tune plays on a channel of its own, its place in this list.
#define BRAMBLEHOOF_TUNES(SOUND) \
    SOUND(Menu, menu_tune)       \
    SOUND(Play, play_tune)
