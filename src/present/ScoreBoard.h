#pragma once

#include "persist/Player.h"
#include "persist/RunTimes.h"
#include "present/Render.h"
#include "present/Screen.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <string>
#include <vector>

// The best runs of the players file, shown over the menu picture while SCORE BOARD is toggled on.
// The file is read and the lines rendered once when the board opens, released when it closes.
// The menu toggles it; it takes no input of its own.
class ScoreBoard : public Screen {
public:
    static constexpr std::size_t kShown = 10;      // runs listed
    static constexpr std::size_t kNameChars = 12;  // characters of a name shown before ".."
    static constexpr Texts::Ref kHeading{Texts::Id::BoardHeading};
    static constexpr Texts::Ref kEmpty{Texts::Id::BoardEmpty};
    static constexpr SDL_Rect kPanel{150, 436, 780, 278};  // below the name line, over the picture
    // As wide as the picture allows, for lines that tell times too.
    static constexpr SDL_Rect kWidePanel{20, 436, 1040, 278};
    static constexpr int kRowHeight = 44;
    static constexpr int kColumns = 2;
    static constexpr int kRowsPerColumn = 5;
    static constexpr int kColumnGap = 16;  // at least between a line and the next column

    // One listed run.
    struct Entry {
        std::string name;         // shown as is: valid UTF-8, never empty
        int score = 0;            // the run's points
        bool timed = false;       // its times are kept (a run of an older game has none)
        RunTimes::Entry times{};  // how it ended, the level reached and its frames, when timed
    };
    using Times = std::map<std::size_t, RunTimes::Entry>;  // by players-file record

    ScoreBoard() = default;
    ScoreBoard(const ScoreBoard&) = delete;
    ScoreBoard& operator=(const ScoreBoard&) = delete;
    ~ScoreBoard();

    // The best kShown runs, highest score first; equal scores the faster first (RunTimes::ahead),
    // else in their file order. Runs that never played (no points and no name) are left out; the
    // players file keeps them.
    static std::vector<Entry> best(const std::vector<PlayerRecord>& records, const Times& times = {});
    // Whether a run with this score and stored name was played: it scored or was named.
    static bool played(int score, const std::string& storedName) { return score != 0 || !storedName.empty(); }
    // The same straight from the players file, streamed: only the best kShown are ever held, so
    // memory stays flat whatever the file's size. A file that cannot be read lists nothing and is
    // reported on stderr. The times come from the file beside it; a damaged one is left out (and
    // said on stderr), and the board then shows as without it.
    static std::vector<Entry> bestInFile(const std::string& playersPath);
    // A stored name made fit to show: bad UTF-8 becomes U+FFFD, an empty name a dash, a long one cut.
    static std::string displayName(const std::string& stored);
    // The text of each listed line, or the one line saying there is nothing yet.
    static std::vector<std::string> lines(const std::vector<Entry>& entries);

    // Reads the players file and renders the heading and the lines with font in colour.
    void open(const std::string& playersPath, TTF_Font* font, SDL_Color colour);
    void close();
    bool isOpen() const { return opened; }
    // Where the board stands while open: kWidePanel when a line tells a time, else kPanel.
    const SDL_Rect& shownPanel() const { return panel; }
    // The listed row at a point of the picture, or -1 beside the rows.
    int rowAt(int x, int y) const;
    // The recording kept for a listed row (files/runs/N.run), or empty when it has none.
    std::string recordingOf(int row) const;
    // The row lit as the one a click would watch; -1 for none.
    int pointed = -1;
    void take(const SDL_Event&) override {}
    void draw(SDL_Renderer* renderer) const override;

private:
    // Whether a run with score enters the list as it stands, and putting it in its place.
    static bool qualifies(const std::vector<Entry>& entries, const Entry& entry);
    static Entry entryOf(const PlayerRecord& record, std::size_t index, const Times& times);
    static void keep(std::vector<Entry>& entries, Entry entry);

    bool opened = false;                 // the board is showing
    SDL_Rect panel = kPanel;             // where it stands
    SDL_Texture* heading = nullptr;      // the heading line
    std::vector<SDL_Texture*> rendered;  // one texture per listed line
    std::vector<std::string> kept;       // per listed line, its recording or nothing
};
