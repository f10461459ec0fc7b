#include "present/FieldEffects.h"

#include "present/PictureFetch.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr SDL_Color kCrackInk{46, 24, 16, 255};
constexpr SDL_Color kDustColour{222, 196, 150, 255};
constexpr SDL_Color kStarColour{255, 246, 178, 255};
constexpr SDL_Color kPipBack{30, 18, 10, 255};
constexpr SDL_Color kPipFull{226, 62, 40, 255};
constexpr SDL_Color kPipEmpty{104, 72, 58, 255};
constexpr double kPi = 3.14159265358979323846;
constexpr int kPipW = 7;
constexpr int kPipH = 5;
constexpr int kPipGap = 2;
constexpr int kPipLift = 10;  // pixels between the pips and the top of his frame
constexpr int kPuffSize = 24;
constexpr int kPuffs = 6;
constexpr int kStarSize = 11;
constexpr int kStars = 5;
constexpr int kStarReach = 30;  // pixels a star travels from the bull's middle

// A light shake that settles: a few pixels, never the same way twice in a row.
constexpr SDL_Point kShake[FieldEffects::kShakeFrames] = {{3, -2}, {-3, 2}, {2, 3}, {-2, -3}, {3, 1}, {-1, -3},
                                                          {2, -2}, {-2, 2}, {1, 1}, {-1, -1}, {1, 0}, {0, 1}};
// Directions the stars of a sparkle fly, in eighths of their reach.
constexpr SDL_Point kStarWays[kStars] = {{0, -8}, {7, -3}, {5, 6}, {-5, 6}, {-7, -3}};

// Cracks in the 200 by 100 farm picture, one polyline a row of points, three polylines a stage:
// the barn's left wall, the silo and the roof, then the right wall.
struct Crack {
    int stage;
    std::array<SDL_Point, 5> points;
    int count;
};
constexpr Crack kCracks[] = {
    {1, {{{62, 46}, {66, 55}, {63, 63}, {68, 72}, {66, 78}}}, 5},
    {1, {{{66, 55}, {72, 58}, {0, 0}, {0, 0}, {0, 0}}}, 2},
    {2, {{{22, 28}, {27, 37}, {24, 45}, {29, 54}, {0, 0}}}, 4},
    {2, {{{120, 20}, {116, 28}, {121, 35}, {0, 0}, {0, 0}}}, 3},
    {3, {{{140, 48}, {146, 57}, {142, 66}, {148, 77}, {145, 86}}}, 5},
    {3, {{{35, 60}, {31, 70}, {36, 80}, {33, 88}, {0, 0}}}, 4},
    {3, {{{146, 57}, {152, 60}, {0, 0}, {0, 0}, {0, 0}}}, 2},
};

Uint32* pixelOf(SDL_Surface* surface, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch) + x;
}

void plot(SDL_Surface* surface, int x, int y, Uint32 colour) {
    if (x >= 0 && y >= 0 && x < surface->w && y < surface->h) {
        *pixelOf(surface, x, y) = colour;
    }
}

// A line two pixels thick from a to b.
void line(SDL_Surface* surface, SDL_Point a, SDL_Point b, Uint32 colour) {
    const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    for (int i = 0; i <= steps; ++i) {
        const int x = a.x + (steps == 0 ? 0 : (b.x - a.x) * i / steps);
        const int y = a.y + (steps == 0 ? 0 : (b.y - a.y) * i / steps);
        plot(surface, x, y, colour);
        plot(surface, x + 1, y, colour);
    }
}

SDL_Surface* blank(int w, int h) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
    }
    return surface;
}

// A picture as ARGB, or null: a copy of its fetch's when one holds it (the figures' sheets are
// decoded once, at start-up), else read from its file.
SDL_Surface* loadArgb(const char* path) {
    const PictureFetch* fetched = PictureFetch::find(path);
    if (fetched != nullptr && fetched->picture() != nullptr) {
        return SDL_ConvertSurfaceFormat(fetched->picture(), SDL_PIXELFORMAT_ARGB8888, 0);
    }
    SDL_Surface* loaded = IMG_Load(path);
    if (loaded == nullptr) {
        return nullptr;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    return argb;
}

// Every pixel of surface white, its alpha kept.
void whiten(SDL_Surface* surface) {
    const Uint32 alphaBits = surface->format->Amask;
    const Uint32 white = SDL_MapRGBA(surface->format, 255, 255, 255, 0);
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            Uint32* pixel = pixelOf(surface, x, y);
            *pixel = (*pixel & alphaBits) | white;
        }
    }
}

SDL_Rect centredOn(int x, int y, int w, int h) { return SDL_Rect{x - w / 2, y - h / 2, w, h}; }

Uint8 fading(long since, int frames) {
    return static_cast<Uint8>(std::clamp(255L * (frames - since) / frames, 0L, 255L));
}

}  // namespace

FieldEffects::~FieldEffects() { close(); }

FieldEffects::Picture FieldEffects::make(SDL_Surface* surface, bool withMask) const {
    Picture picture;
    if (surface == nullptr || renderer == nullptr) {
        return picture;
    }
    picture.texture = SDL_CreateTextureFromSurface(renderer, surface);
    if (picture.texture != nullptr) {
        SDL_SetTextureBlendMode(picture.texture, SDL_BLENDMODE_BLEND);
        if (withMask) {
            // Drawn unscaled like the figures: their clear margins are left out alike.
            picture.mask = std::make_unique<OpaqueMask>(surface);
            SDL_SetTextureUserData(picture.texture, picture.mask.get());
            if (Render::atlas != nullptr && Atlas::drawsAlike(picture.texture)) {
                picture.mask->inAtlas = Render::atlas->add(surface);
            }
        }
    }
    return picture;
}

void FieldEffects::release(Picture& picture) {
    if (picture.texture != nullptr && renderer != nullptr) {
        SDL_DestroyTexture(picture.texture);
    }
    picture.texture = nullptr;
    picture.mask.reset();
}

void FieldEffects::open(SDL_Renderer* to, const char* outlawSheet, const char* heroSheet) {
    close();
    renderer = to;
    if (renderer == nullptr) {
        return;
    }
    SDL_Surface* sheet = loadArgb(outlawSheet);
    if (sheet != nullptr) {
        ghostSheet = make(sheet, true);
        whiten(sheet);
        outlawWhite = make(sheet, true);
        SDL_FreeSurface(sheet);
    }
    sheet = loadArgb(heroSheet);
    if (sheet != nullptr) {
        this->heroSheet = make(sheet, true);
        whiten(sheet);
        heroWhite = make(sheet, true);
        SDL_FreeSurface(sheet);
    }
    for (int stage = 1; stage <= kCrackStages; ++stage) {
        SDL_Surface* surface = blank(200, 100);
        if (surface == nullptr) {
            continue;
        }
        const Uint32 ink = SDL_MapRGBA(surface->format, kCrackInk.r, kCrackInk.g, kCrackInk.b, kCrackInk.a);
        for (const Crack& crack : kCracks) {
            for (int i = 0; crack.stage <= stage && i + 1 < crack.count; ++i) {
                line(surface, crack.points[i], crack.points[i + 1], ink);
            }
        }
        cracks[stage - 1] = make(surface, true);
        SDL_FreeSurface(surface);
    }
    // A round puff, thick in the middle and thin at its edge.
    SDL_Surface* surface = blank(kPuffSize, kPuffSize);
    if (surface != nullptr) {
        const double radius = kPuffSize / 2.0;
        for (int y = 0; y < kPuffSize; ++y) {
            for (int x = 0; x < kPuffSize; ++x) {
                const double d = std::hypot(x + 0.5 - radius, y + 0.5 - radius) / radius;
                const auto alpha = static_cast<Uint8>(d >= 1.0 ? 0 : 210 * (1.0 - d * d));
                *pixelOf(surface, x, y) =
                    SDL_MapRGBA(surface->format, kDustColour.r, kDustColour.g, kDustColour.b, alpha);
            }
        }
        puff = make(surface, false);
        SDL_FreeSurface(surface);
    }
    // A four-pointed star, its arms thinning to their tips.
    surface = blank(kStarSize, kStarSize);
    if (surface != nullptr) {
        const int c = kStarSize / 2;
        for (int y = 0; y < kStarSize; ++y) {
            for (int x = 0; x < kStarSize; ++x) {
                const int dx = std::abs(x - c);
                const int dy = std::abs(y - c);
                Uint8 alpha = 0;
                if ((dx == 0 || dy == 0) && dx + dy <= c) {
                    alpha = static_cast<Uint8>(255 - 30 * (dx + dy));
                } else if (dx == 1 && dy == 1) {
                    alpha = 200;
                }
                *pixelOf(surface, x, y) =
                    SDL_MapRGBA(surface->format, kStarColour.r, kStarColour.g, kStarColour.b, alpha);
            }
        }
        star = make(surface, false);
        SDL_FreeSurface(surface);
    }
}

void FieldEffects::close() {
    for (Picture* picture : {&outlawWhite, &heroWhite, &ghostSheet, &heroSheet, &puff, &star}) {
        release(*picture);
    }
    for (Picture& picture : cracks) {
        release(picture);
    }
    renderer = nullptr;
}

void FieldEffects::reset() {
    newWave();
    ghosts.clear();
    dust.clear();
    sparkles.clear();
    hurtAt = -1000;
    hurtStreakAt = -1000;
    shakeAt = -1000;
    shake = SDL_Point{0, 0};
}

void FieldEffects::newWave() {
    outlaws.fill(Outlaw{});
    farmStruckAt.fill(-1000);
    nearest = -1;
    pulseAt = -1000;
}

void FieldEffects::tick() {
    ++now;
    for (Outlaw& outlaw : outlaws) {
        const long since = now - outlaw.struckAt;
        const int push =
            since >= 1 && since <= kRecoilFrames ? kRecoil * (kRecoilFrames + 1 - since) / kRecoilFrames : 0;
        outlaw.shown = SDL_Point{outlaw.dx * push, outlaw.dy * push};
        outlaw.seen = false;
    }
    const long shaking = now - shakeAt;
    shake = !reducedMotion && shaking >= 1 && shaking <= kShakeFrames ? kShake[shaking - 1] : SDL_Point{0, 0};
    const auto over = [this](const auto& effect, int frames) { return now - effect.since >= frames; };
    ghosts.erase(std::remove_if(ghosts.begin(), ghosts.end(), [&](const Ghost& g) { return over(g, kGhostFrames); }),
                 ghosts.end());
    dust.erase(std::remove_if(dust.begin(), dust.end(), [&](const Puff& p) { return over(p, kDustFrames); }),
               dust.end());
    sparkles.erase(
        std::remove_if(sparkles.begin(), sparkles.end(), [&](const Puff& p) { return over(p, kSparkleFrames); }),
        sparkles.end());
}

bool FieldEffects::blinkOn(long streakAt) const { return ((now - streakAt) / kBlinkFrames) % 2 == 0; }

void FieldEffects::struck(int slot, int dx, int dy) {
    if (slot < 0 || slot >= kSlots) {
        return;
    }
    Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
    if (now - outlaw.struckAt > 1) {
        outlaw.streakAt = now;  // a new run of blows: white at once
    }
    outlaw.struckAt = now;
    outlaw.dx = dx;
    outlaw.dy = dy;
}

SDL_Point FieldEffects::recoil(int slot) const {
    return slot >= 0 && slot < kSlots ? outlaws[static_cast<std::size_t>(slot)].shown : SDL_Point{0, 0};
}

bool FieldEffects::flashing(int slot) const {
    if (slot < 0 || slot >= kSlots || reducedMotion) {
        return false;
    }
    const Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
    return now - outlaw.struckAt < kFlashFrames && blinkOn(outlaw.streakAt);
}

bool FieldEffects::pipsShown(int slot) const {
    if (slot < 0 || slot >= kSlots) {
        return false;
    }
    const Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
    return outlaw.seen && now - outlaw.struckAt < kPipFrames;
}

void FieldEffects::outlawShown(DrawQueue& field, int slot, SDL_Rect src, SDL_Rect dst, int health, int fullHealth) {
    if (slot < 0 || slot >= kSlots) {
        return;
    }
    Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
    outlaw.seen = true;
    outlaw.dst = dst;
    outlaw.health = health;
    outlaw.fullHealth = std::max(1, fullHealth);
    if (flashing(slot)) {
        field.addPicture(outlawWhite.texture, src, dst, kFlashAlpha);
    }
}

void FieldEffects::outlawGone(int slot, SDL_Rect src, SDL_Rect dst, SDL_Point cam) {
    if (slot >= 0 && slot < kSlots) {
        outlaws[static_cast<std::size_t>(slot)] = Outlaw{};
    }
    ghosts.push_back(Ghost{src, SDL_Rect{dst.x + cam.x, dst.y + cam.y, dst.w, dst.h}, now});
}

void FieldEffects::heroHurt() {
    if (now - hurtAt > 1) {
        hurtStreakAt = now;
    }
    hurtAt = now;
    // A fight hurts him often: the field shakes once, then rests before it may shake again.
    if (now - shakeAt >= kShakeFrames + kShakeRest) {
        shakeAt = now;
    }
}

void FieldEffects::bestRunShown(DrawQueue& field, SDL_Rect src, SDL_Rect dst) {
    field.addPicture(heroSheet.texture, src, dst, kBestRunAlpha);
}

void FieldEffects::heroShown(DrawQueue& field, SDL_Rect src, SDL_Rect dst) {
    heroDst = dst;
    if (!reducedMotion && now - hurtAt < kFlashFrames && blinkOn(hurtStreakAt)) {
        field.addPicture(heroWhite.texture, src, dst, kFlashAlpha);
    }
}

SDL_Point FieldEffects::viewOffset() const { return shake; }

bool FieldEffects::heroHeldRed() const { return reducedMotion && now - hurtAt < kHeldRedFrames; }

bool FieldEffects::outlawHeldRed(int slot) const {
    return reducedMotion && slot >= 0 && slot < kSlots &&
           now - outlaws[static_cast<std::size_t>(slot)].struckAt < kHeldRedFrames;
}

bool FieldEffects::farmHeldRed(int slot) const {
    return reducedMotion && slot >= 0 && slot < kFarmSlots &&
           now - farmStruckAt[static_cast<std::size_t>(slot)] < kHeldRedFrames;
}

void FieldEffects::farmStruck(int slot) {
    if (slot >= 0 && slot < kFarmSlots) {
        farmStruckAt[static_cast<std::size_t>(slot)] = now;
    }
}

void FieldEffects::farmShown(DrawQueue& field, SDL_Rect dst, int health, int fullHealth) {
    const int full = std::max(1, fullHealth);
    int stage = 0;
    for (int s = 1; s <= kCrackStages; ++s) {
        // Stage s once health is at or below (4 - s) quarters of the whole.
        if (static_cast<long>(health) * (kCrackStages + 1) <= static_cast<long>(full) * (kCrackStages + 1 - s)) {
            stage = s;
        }
    }
    if (stage > 0) {
        field.addPicture(cracks[static_cast<std::size_t>(stage - 1)].texture, SDL_Rect{0, 0, 200, 100}, dst);
    }
}

void FieldEffects::farmFell(SDL_Rect world) { dust.push_back(Puff{world, now}); }

void FieldEffects::bullCollected(SDL_Rect world) { sparkles.push_back(Puff{world, now}); }

void FieldEffects::nearestFarm(int slot) {
    if (slot != nearest) {
        nearest = slot;
        pulseAt = now;
    }
}

float FieldEffects::arrowScale() const {
    const long since = now - pulseAt;
    if (since < 0 || since >= kPulseFrames) {
        return 1.0f;
    }
    return 1.0f + kPulseGrowth * static_cast<float>(std::sin(kPi * static_cast<double>(since) / kPulseFrames));
}

void FieldEffects::addToField(DrawQueue& field, SDL_Point cam) const {
    for (const Ghost& ghost : ghosts) {
        const long since = now - ghost.since;
        const SDL_Rect at{ghost.world.x - cam.x,
                          ghost.world.y - cam.y + static_cast<int>(kGhostSink * since / kGhostFrames), ghost.world.w,
                          ghost.world.h};
        field.addPicture(ghostSheet.texture, ghost.src, at, fading(since, kGhostFrames));
    }
    for (const Puff& cloud : dust) {
        const long since = now - cloud.since;
        const int size = kPuffSize + static_cast<int>(40 * since / kDustFrames);
        const int rise = static_cast<int>(14 * since / kDustFrames);
        for (int i = 0; i < kPuffs; ++i) {
            const int x = cloud.world.x - cam.x + cloud.world.w * (2 * i + 1) / (2 * kPuffs);
            const int y = cloud.world.y - cam.y + cloud.world.h - 16 - rise - (i % 2) * 10;
            field.addPicture(puff.texture, SDL_Rect{0, 0, kPuffSize, kPuffSize}, centredOn(x, y, size, size),
                             fading(since, kDustFrames));
        }
    }
}

void FieldEffects::drawOverField(SDL_Renderer* to, SDL_Point cam) const {
    if (to == nullptr) {
        return;
    }
    std::array<SDL_Rect, kSlots> backs{};
    std::array<SDL_Rect, kSlots * kPips> full{};
    std::array<SDL_Rect, kSlots * kPips> empty{};
    int backCount = 0;
    int fullCount = 0;
    int emptyCount = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!pipsShown(slot)) {
            continue;
        }
        const Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
        const int width = kPips * kPipW + (kPips - 1) * kPipGap;
        const int left = outlaw.dst.x + shake.x + (outlaw.dst.w - width) / 2;
        const int top = outlaw.dst.y + shake.y - kPipLift;
        backs[static_cast<std::size_t>(backCount++)] = SDL_Rect{left - 2, top - 2, width + 4, kPipH + 4};
        // A pip for every fifth of his health begun.
        const long left5 = std::max(0L, static_cast<long>(outlaw.health));
        const long filled = std::min<long>(kPips, (left5 * kPips + outlaw.fullHealth - 1) / outlaw.fullHealth);
        for (int pip = 0; pip < kPips; ++pip) {
            const SDL_Rect box{left + pip * (kPipW + kPipGap), top, kPipW, kPipH};
            if (pip < filled) {
                full[static_cast<std::size_t>(fullCount++)] = box;
            } else {
                empty[static_cast<std::size_t>(emptyCount++)] = box;
            }
        }
    }
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(to, &r, &g, &b, &a);
    // The corner marks of the figures a blow has just reached.
    std::array<SDL_Rect, kSlots + 1> marked{};
    std::size_t markedCount = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        const Outlaw& outlaw = outlaws[static_cast<std::size_t>(slot)];
        if (outlaw.seen && now - outlaw.struckAt < kHeldRedFrames) {
            marked[markedCount++] = outlaw.dst;
        }
    }
    if (now - hurtAt < kHeldRedFrames && heroDst.w > 0) {
        marked[markedCount++] = heroDst;
    }
    for (const bool ink : {false, true}) {
        const SDL_Color colour = ink ? kMarkInk : kMarkEdge;
        const int grow = ink ? 0 : 1;  // the edge reaches a pixel past the ink on every side
        SDL_SetRenderDrawColor(to, colour.r, colour.g, colour.b, colour.a);
        for (std::size_t i = 0; i < markedCount; ++i) {
            const SDL_Rect& figure = marked[i];
            const int left = figure.x + shake.x - kMarkWidth;
            const int top = figure.y + shake.y - kMarkWidth;
            const int right = figure.x + shake.x + figure.w;
            const int bottom = figure.y + shake.y + figure.h;
            const int arm = kMarkLength + 2 * grow;
            const int thick = kMarkWidth + 2 * grow;
            const SDL_Rect arms[] = {
                {left - grow, top - grow, arm, thick},
                {left - grow, top - grow, thick, arm},
                {right + kMarkWidth - arm + grow, top - grow, arm, thick},
                {right - grow, top - grow, thick, arm},
                {left - grow, bottom - grow, arm, thick},
                {left - grow, bottom + kMarkWidth - arm + grow, thick, arm},
                {right + kMarkWidth - arm + grow, bottom - grow, arm, thick},
                {right - grow, bottom + kMarkWidth - arm + grow, thick, arm},
            };
            SDL_RenderFillRects(to, arms, 8);
        }
    }
    if (backCount > 0) {
        // One call a colour: a drawing call costs a real window's driver more than its pixels.
        SDL_SetRenderDrawColor(to, kPipBack.r, kPipBack.g, kPipBack.b, kPipBack.a);
        SDL_RenderFillRects(to, backs.data(), backCount);
        SDL_SetRenderDrawColor(to, kPipFull.r, kPipFull.g, kPipFull.b, kPipFull.a);
        SDL_RenderFillRects(to, full.data(), fullCount);
        SDL_SetRenderDrawColor(to, kPipEmpty.r, kPipEmpty.g, kPipEmpty.b, kPipEmpty.a);
        SDL_RenderFillRects(to, empty.data(), emptyCount);
    }
    SDL_SetRenderDrawColor(to, r, g, b, a);
    for (const Puff& sparkle : sparkles) {
        const long since = now - sparkle.since;
        const int cx = sparkle.world.x - cam.x + shake.x + sparkle.world.w / 2;
        const int cy = sparkle.world.y - cam.y + shake.y + sparkle.world.h / 2;
        const int reach = static_cast<int>(kStarReach * since / kSparkleFrames);
        // Full for its first half, fading through its second.
        const Uint8 alpha = fading(std::max(0L, 2 * since - kSparkleFrames), kSparkleFrames);
        const int size = kStarSize + (!reducedMotion && since % 6 < 3 ? 4 : 0);  // a twinkle
        if (star.texture == nullptr || alpha == 0) {
            continue;
        }
        SDL_SetTextureAlphaMod(star.texture, alpha);
        for (const SDL_Point& way : kStarWays) {
            const SDL_Rect at = centredOn(cx + way.x * reach / 8, cy + way.y * reach / 8, size, size);
            SDL_RenderCopy(to, star.texture, nullptr, &at);
        }
        SDL_SetTextureAlphaMod(star.texture, SDL_ALPHA_OPAQUE);
    }
}
