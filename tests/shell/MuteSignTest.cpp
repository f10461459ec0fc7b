#include "PlayFixture.h"

#include "present/MuteSign.h"

namespace {

// The mute sign in a whole game, read on the strike's line, halfway along it.
class MuteSignInAGame : public PlayTest {
protected:
    static constexpr int kStrikeX = MuteSign::kBox.x + MuteSign::kBox.w / 2;
    static constexpr int kStrikeY = MuteSign::kBox.y + MuteSign::kBox.h / 2;
    static constexpr Uint32 kStrike = static_cast<Uint32>(MuteSign::kStrike.r) << 24 |
                                      static_cast<Uint32>(MuteSign::kStrike.g) << 16 |
                                      static_cast<Uint32>(MuteSign::kStrike.b) << 8 | 0xFFu;
};

// A player who hears nothing sees why: the struck speaker in the corner while the sound is off,
// over whatever the field has there, and nothing of it once the sound is back.
TEST_F(MuteSignInAGame, AMutedGameShowsTheStruckSpeakerInTheCornerAndOnlyThen) {
    startNewGame();
    shell->sound.setMuted(false);
    frame();
    EXPECT_NE(pixelAt(kStrikeX, kStrikeY), kStrike);
    shell->sound.setMuted(true);
    frame();
    EXPECT_EQ(pixelAt(kStrikeX, kStrikeY), kStrike);
    shell->sound.setMuted(false);
    frame();
    EXPECT_NE(pixelAt(kStrikeX, kStrikeY), kStrike);
}

}  // namespace
