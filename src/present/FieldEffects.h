#pragma once

#include "present/DrawQueue.h"
#include "present/OpaqueMask.h"

#include <SDL.h>

#include <array>
#include <memory>
#include <vector>

// What play shows of its blows and finds beyond the figures themselves: a struck outlaw's white
// flash, recoil and health pips, the fall of one removed, the hero's flash and the field's shake
// when he is hurt, a farm's cracks and its dust, a bull's sparkle, the arrow's pulse. Drawing
// only: the world never reads any of it, and nothing here draws a random number. Its clock
// counts frames (60 a second), so a frame shows the same whatever the machine's speed.
class FieldEffects {
public:
    static constexpr int kSlots = 8;           // outlaw slots followed (the last level has 6)
    static constexpr int kFlashFrames = 9;     // a struck or hurt figure blinks white this long
    static constexpr int kBlinkFrames = 3;     // white for 3 frames, plain for 3
    static constexpr Uint8 kFlashAlpha = 210;  // white enough to read over the red tint
    static constexpr int kRecoilFrames = 8;    // a struck outlaw eases back to his place
    static constexpr int kRecoil = 6;          // pixels he is pushed away from the hero
    static constexpr int kPipFrames = 60;      // his health shows over his head for 1 s
    static constexpr int kPips = 5;            // each a fifth of an outlaw's health
    static constexpr int kGhostFrames = 30;    // a removed outlaw sinks and fades in 0.5 s
    static constexpr int kGhostSink = 12;      // pixels he sinks meanwhile
    static constexpr int kShakeFrames = 12;    // 0.2 s of shake
    static constexpr int kShakeRest = 18;      // at least this long between two shakes
    static constexpr int kDustFrames = 40;     // a fallen farm's dust settles in 2/3 s
    static constexpr int kSparkleFrames = 30;  // a collected bull's sparkle
    static constexpr int kPulseFrames = 30;    // the arrow grows and shrinks back once
    static constexpr float kPulseGrowth = 0.45f;
    static constexpr int kCrackStages = 3;  // a farm cracks at 3/4, 1/2 and 1/4 of its health
    static constexpr int kFarmSlots = 4;    // farm slots followed (the last level has 3)
    // With reduced motion a struck or hurt figure or farm holds its red this long after each blow,
    // instead of showing it only in the frames a blow lands: blows in a row leave it red throughout.
    static constexpr int kHeldRedFrames = kFlashFrames;
    static constexpr SDL_Color kHurtRed{255, 0, 0, 255};  // the tint the world gives a struck thing
    static constexpr Uint8 kBestRunAlpha = 96;            // the best run's hero: faint, never mistaken for the live one
    // A struck outlaw and the hurt hero are also framed by corner marks for as long as they show
    // their red or flash: a shape that tells the blow to eyes that cannot tell red from the rest.
    static constexpr SDL_Color kMarkInk{250, 250, 250, 255};
    static constexpr SDL_Color kMarkEdge{24, 14, 6, 255};  // around the ink, so it reads on light sand
    static constexpr int kMarkLength = 14;                 // each arm of a corner
    static constexpr int kMarkWidth = 3;

    long now = 0;                // frames counted by tick(); tests set it to move time on
    bool reducedMotion = false;  // no shake, no blinking, no twinkle: a steady red tells a hit

    FieldEffects() = default;
    FieldEffects(const FieldEffects&) = delete;
    FieldEffects& operator=(const FieldEffects&) = delete;
    ~FieldEffects();

    // Makes the white figures from the outlaw's and the hero's sheets, the ghosts' sheet and the
    // small pictures (cracks, dust, sparkle). A sheet held by a PictureFetch is taken from it, not
    // decoded again. Without a picture its effect is left out.
    void open(SDL_Renderer* renderer, const char* outlawSheet, const char* heroSheet);
    void close();
    // Forgets everything shown: a new run.
    void reset();
    // Forgets the outlaws' states and the nearest farm: the slots are made anew (a level change).
    void newWave();
    // One frame on. Each outlaw's recoil for this frame is fixed here, so every drawing of him
    // in the frame stands at the same place, whenever in the frame he is struck.
    void tick();

    // An outlaw in `slot` was struck; he recoils along (dx, dy), pointing away from the hero.
    void struck(int slot, int dx, int dy);
    // Where an outlaw's drawings go this frame, moved from where he stands.
    SDL_Point recoil(int slot) const;
    // After an outlaw's last drawing of the frame: his white flash over it, and where his pips go.
    void outlawShown(DrawQueue& field, int slot, SDL_Rect src, SDL_Rect dst, int health, int fullHealth);
    // An outlaw removed: his fall at his last place on the screen (src from the ghosts' sheet).
    void outlawGone(int slot, SDL_Rect src, SDL_Rect dst, SDL_Point cam);

    // The hero was hurt this frame.
    void heroHurt();
    // After the hero's last drawing of the frame: his flash over it.
    void heroShown(DrawQueue& field, SDL_Rect src, SDL_Rect dst);
    // The hero of the best run where he stood at this moment: faint, as a memory, not a figure.
    void bestRunShown(DrawQueue& field, SDL_Rect src, SDL_Rect dst);
    // How far the field is drawn from its place this frame; 0 unless shaking.
    SDL_Point viewOffset() const;
    // Whether the hero, the outlaw in slot or the farm in slot is drawn in the hurt red this frame
    // whatever the world's tint: with reduced motion, for a while after each blow.
    bool heroHeldRed() const;
    bool outlawHeldRed(int slot) const;
    bool farmHeldRed(int slot) const;

    // The farm in slot was struck this frame.
    void farmStruck(int slot);
    // A farm drawn at dst with health of fullHealth left: its cracks over it.
    void farmShown(DrawQueue& field, SDL_Rect dst, int health, int fullHealth);
    // A farm fell where it stood (world rectangle): its dust.
    void farmFell(SDL_Rect world);
    // A bull collected where it lay (world rectangle): its sparkle.
    void bullCollected(SDL_Rect world);
    // The farm the arrow points to; another than before makes the arrow pulse.
    void nearestFarm(int slot);
    // How large the arrow is drawn this frame, 1 when not pulsing.
    float arrowScale() const;

    // The falling outlaws and the dust, among the figures by their feet.
    void addToField(DrawQueue& field, SDL_Point cam) const;
    // Over the field: the outlaws' pips and the sparkles.
    void drawOverField(SDL_Renderer* renderer, SDL_Point cam) const;

    // Counts for tests and the curious: effects under way.
    std::size_t ghostsShown() const { return ghosts.size(); }
    std::size_t dustShown() const { return dust.size(); }
    bool pipsShown(int slot) const;
    bool flashing(int slot) const;

private:
    struct Outlaw {
        long struckAt = -1000;  // frame of the last blow
        long streakAt = -1000;  // frame of the first blow of blows in a row
        int dx = 0;             // away from the hero, by sign
        int dy = 0;
        SDL_Point shown{0, 0};  // the recoil this frame
        SDL_Rect dst{};         // his last place on the screen
        int health = 0;
        int fullHealth = 1;
        bool seen = false;  // placed on the screen this frame
    };
    struct Ghost {
        SDL_Rect src{};
        SDL_Rect world{};  // where he fell
        long since = 0;
    };
    struct Puff {
        SDL_Rect world{};
        long since = 0;
    };
    // A picture and the mask that lets drawings leave out its clear margins.
    struct Picture {
        SDL_Texture* texture = nullptr;
        std::unique_ptr<OpaqueMask> mask;
    };

    // White in the first frames of blows in a row that began at streakAt, then on and off.
    bool blinkOn(long streakAt) const;
    Picture make(SDL_Surface* surface, bool withMask) const;
    void release(Picture& picture);

    SDL_Renderer* renderer = nullptr;
    std::array<Outlaw, kSlots> outlaws{};
    std::array<long, kFarmSlots> farmStruckAt{-1000, -1000, -1000, -1000};  // frame of each farm's last blow
    std::vector<Ghost> ghosts;
    std::vector<Puff> dust;
    std::vector<Puff> sparkles;
    long hurtAt = -1000;
    long hurtStreakAt = -1000;
    SDL_Rect heroDst{0, 0, 0, 0};  // where the hero was last drawn
    long shakeAt = -1000;
    SDL_Point shake{0, 0};  // the field's offset this frame
    int nearest = -1;
    long pulseAt = -1000;

    Picture outlawWhite;  // the outlaw's sheet, every shown pixel white
    Picture heroWhite;
    Picture ghostSheet;  // the outlaw's sheet as it is
    Picture heroSheet;   // the hero's sheet as it is, for the best run's hero
    std::array<Picture, kCrackStages> cracks;
    Picture puff;
    Picture star;
};
