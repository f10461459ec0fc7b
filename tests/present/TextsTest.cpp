#include "present/Texts.h"

#include "input/KeyBindings.h"
#include "present/HelpPanel.h"
#include "present/ResultCard.h"
#include "present/ScoreBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

using Id = Texts::Id;

bool noName(const std::string&) { return false; }

}  // namespace

// The table: each id once and in its place, every row with its text and a note, placeholders
// numbered from {0} without a gap.
TEST(TextsTable, EveryIdOnceWithItsTextAndANote) {
    std::set<int> seen;
    std::set<std::string> notes;
    for (std::size_t i = 0; i < Texts::table().size(); ++i) {
        const Texts::Row& row = Texts::table()[i];
        EXPECT_EQ(static_cast<std::size_t>(row.id), i) << "rows stand in the order of their ids";
        EXPECT_TRUE(seen.insert(static_cast<int>(row.id)).second) << "id " << i << " twice";
        ASSERT_NE(row.english, nullptr);
        ASSERT_NE(row.note, nullptr);
        EXPECT_STRNE(row.english, "") << "row " << i;
        EXPECT_STRNE(row.note, "") << "row " << i << " (" << row.english << ") has no note";
        EXPECT_EQ(Texts::text(row.id), row.english);
        EXPECT_EQ(&Texts::row(row.id), &row);
        const std::string text = row.english;
        int highest = -1;
        for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
            highest = std::max(highest, text[at + 1] - '0');
        }
        for (int n = 0; n <= highest; ++n) {
            EXPECT_NE(text.find("{" + std::to_string(n) + "}"), std::string::npos) << text << " lacks {" << n << "}";
        }
    }
    EXPECT_EQ(seen.size(), Texts::table().size());
}

TEST(TextsTable, FormatFillsPlaceholdersInAnyOrderAndJoinFoldsLists) {
    EXPECT_EQ(Texts::format(Id::HudEnemies, {"3", "7"}), "Enemies killed: 3/7");
    EXPECT_EQ(Texts::format(Id::CardScore, {"120", "2"}), "Score: 120   Level reached: 2");
    EXPECT_EQ(Texts::format(Id::HudHealth, {}), "Health: {0}") << "a placeholder without its argument stays";
    EXPECT_EQ(Texts::format(Id::GridName, {"{1}"}), "{1}_") << "an argument is never read as a pattern";
    EXPECT_EQ(Texts::join(Id::ListOf, {"W", "Up", "Keypad 8"}), "W, Up, Keypad 8");
    EXPECT_EQ(Texts::join(Id::EitherOf, {"Space"}), "Space");
    EXPECT_EQ(Texts::join(Id::EitherOf, {}), "");
}

// What the menu, cards and board built from parts before read byte for byte as they did.
TEST(TextsTable, LinesBuiltFromPartsReadAsBefore) {
    EXPECT_EQ(ResultCard::placeLine(1, 10), "The best run so far");
    EXPECT_EQ(ResultCard::placeLine(3, 10), "Place 3 among the best runs");
    EXPECT_EQ(ResultCard::placeLine(11, 10), "Not among the best 10 runs");
    EXPECT_EQ(ScoreBoard::lines({ScoreBoard::Entry{"Ann", 190}})[0], "1. Ann 190");
    const std::vector<std::string> help = HelpPanel::linesFor(KeyBindings());
    ASSERT_EQ(help.size(), 6u);
    EXPECT_EQ(help[3], "Mute: M   Fullscreen: F11");
    EXPECT_EQ(help[4], "Defeat the outlaws and collect the bulls at every farm;");
    const Texts::Ref title{Id::CardPaused};
    EXPECT_TRUE(std::string("PAUSED") == title);
    EXPECT_FALSE(std::string("PAUSE") == title);
    EXPECT_EQ(std::string(title), "PAUSED");
}

// The judge of what is shown: lines of the table with names, numbers or parts in their
// placeholders; never a text of its own.
TEST(TextsTable, IsShownTakesTheTablesLinesFilledAndNothingElse) {
    const auto keyName = [](const std::string& s) { return s == "W" || s == "Up" || s == "Space" || s == "5"; };
    EXPECT_TRUE(Texts::isShown("NEW GAME", noName));
    EXPECT_TRUE(Texts::isShown("Enemies killed: 5/5", keyName));
    EXPECT_TRUE(Texts::isShown("Up: Space", keyName)) << "a row's text and a name";
    EXPECT_TRUE(Texts::isShown("W, Up", keyName)) << "a list of names";
    EXPECT_TRUE(Texts::isShown("W or Up, Space", keyName)) << "parts within parts";
    EXPECT_TRUE(Texts::isShown("Walk: W or Up   Stop walking: ", keyName)) << "an empty list";
    EXPECT_FALSE(Texts::isShown("NEW GAME!", noName));
    EXPECT_FALSE(Texts::isShown("Points: 5", keyName)) << "a literal that only looks like a row";
    EXPECT_FALSE(Texts::isShown("Enemies killed: lots/5", keyName)) << "a placeholder holds names, not words";
    EXPECT_FALSE(Texts::isShown("W, Hello", keyName));
    EXPECT_FALSE(Texts::isShown("", noName));
}
