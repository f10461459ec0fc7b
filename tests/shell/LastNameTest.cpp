#include "ShellFixture.h"

#include <algorithm>
#include <dirent.h>
#include <string>
#include <vector>

namespace {

// The name last played, offered at the next start as a player meets it: faint on the empty name
// line, taken with Right, passed over when a name is typed; kept beside the settings.
class LastNameTest : public ShellTest {
protected:
    // Ends this process and starts the next game in the same folder.
    void nextProcess() {
        traced([&] { shell.reset(); });
        shell = std::make_unique<Shell>();
        SetUp();
    }

    // A run with the name as it stands, closed in play, with its end of run.
    void playARun() {
        startNewGame();
        traced([&] { shell->frame(); });
        testsupport::pushQuit();
        traced([&] {
            shell->frame();
            shell->endOfRun();
        });
    }

    // The strings made into pictures by one menu pass.
    std::vector<std::string> menuPassDrawing() {
        std::vector<std::string> drawn;
        Text::onRender = [&drawn](const std::string& s) { drawn.push_back(s); };
        traced([&] { shell->menuPass(); });
        Text::onRender = nullptr;
        return drawn;
    }

    static bool has(const std::vector<std::string>& drawn, const std::string& s) {
        return std::find(drawn.begin(), drawn.end(), s) != drawn.end();
    }

    std::string keptName() const { return testsupport::readFile(scratch.file("config/bramblehoof/last-name")); }

    static std::vector<std::string> filesFolder() {
        std::vector<std::string> names;
        if (DIR* dir = opendir("files")) {
            while (dirent* entry = readdir(dir)) {
                names.push_back(entry->d_name);
            }
            closedir(dir);
        }
        return names;
    }

    // The name of the players file's last record.
    static std::string lastRecordName() {
        const std::string players = testsupport::readFile("files/players.bin");
        return players.size() < 56 ? "" : std::string(players.c_str() + players.size() - 56);
    }
};

TEST_F(LastNameTest, TheLastNameIsOfferedFaintlyTakenWithRightAndIgnoredWhenANameIsTyped) {
    // A first start offers nothing: the prompt as always.
    EXPECT_TRUE(has(menuPassDrawing(), Texts::text(Texts::Id::NamePrompt)));
    testsupport::pushText("Ann");
    playARun();
    EXPECT_EQ(keptName(), "Ann\n") << "kept beside the settings";
    for (const std::string& name : filesFolder()) {
        EXPECT_EQ(testsupport::readFile("files/" + name).find("Ann\n"), std::string::npos) << name;
        EXPECT_EQ(name.find("name"), std::string::npos) << name;
    }

    // The next start: Ann shows, with how to take her, but is nobody's name yet.
    nextProcess();
    std::vector<std::string> drawn = menuPassDrawing();
    EXPECT_TRUE(has(drawn, "Ann"));
    EXPECT_FALSE(has(drawn, Texts::text(Texts::Id::NamePrompt)));
    EXPECT_TRUE(has(drawn, Texts::format(Texts::Id::MenuLastName, {"Ann"})));
    EXPECT_EQ(button->getInputText(), "");
    testsupport::pushKeyDown(SDLK_RIGHT);
    drawn = menuPassDrawing();
    EXPECT_EQ(button->getInputText(), "Ann") << "Right takes it";
    EXPECT_FALSE(has(drawn, Texts::format(Texts::Id::MenuLastName, {"Ann"}))) << "nothing offered any more";
    testsupport::pushKeyDown(SDLK_RIGHT);
    menuPassDrawing();
    EXPECT_EQ(button->getInputText(), "Ann") << "taken once";
    playARun();
    EXPECT_EQ(lastRecordName(), "Ann");

    // Typing starts another name: the offer is gone, and the run is as one with a typed name.
    nextProcess();
    testsupport::pushText("B");
    testsupport::pushKeyDown(SDLK_RIGHT);
    testsupport::pushText("o");
    traced([&] {
        for (int pass = 0; pass < 3; ++pass) {
            shell->menuPass();
        }
    });
    EXPECT_EQ(button->getInputText(), "Bo");
    playARun();
    EXPECT_EQ(lastRecordName(), "Bo");
    EXPECT_EQ(keptName(), "Bo\n");

    // A run with no name leaves the one kept; it is offered again, and left untaken the run has
    // no name, as before.
    nextProcess();
    playARun();
    EXPECT_EQ(lastRecordName(), "");
    EXPECT_EQ(keptName(), "Bo\n");
}

}  // namespace
