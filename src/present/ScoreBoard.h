#pragma once

#include "persist/Player.h"
#include "present/Render.h"
#include "present/Screen.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

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
    static constexpr int kRowHeight = 44;
    static constexpr int kColumns = 2;
    static constexpr int kRowsPerColumn = 5;

    // One listed run.
    struct Entry {
        std::string name;  // shown as is: valid UTF-8, never empty
        int score = 0;     // the run's points
    };

    ScoreBoard() = default;
    ScoreBoard(const ScoreBoard&) = delete;
    ScoreBoard& operator=(const ScoreBoard&) = delete;
    ~ScoreBoard();

    // The best kShown runs, highest score first; equal scores keep their file order. Runs that
    // never played (no points and no name) are left out; the players file keeps them.
    static std::vector<Entry> best(const std::vector<PlayerRecord>& records);
    // Whether a run with this score and stored name was played: it scored or was named.
    static bool played(int score, const std::string& storedName) { return score != 0 || !storedName.empty(); }
    // The same straight from the players file, streamed: only the best kShown are ever held, so
    // memory stays flat whatever the file's size. A file that cannot be read lists nothing and is
    // reported on stderr.
    static std::vector<Entry> bestInFile(const std::string& playersPath);
    // A stored name made fit to show: bad UTF-8 becomes U+FFFD, an empty name a dash, a long one cut.
    static std::string displayName(const std::string& stored);
    // The text of each listed line, or the one line saying there is nothing yet.
    static std::vector<std::string> lines(const std::vector<Entry>& entries);

    // Reads the players file and renders the heading and the lines with font in colour.
    void open(const std::string& playersPath, TTF_Font* font, SDL_Color colour);
    void close();
    bool isOpen() const { return opened; }
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
    static bool qualifies(const std::vector<Entry>& entries, int score);
    static void keep(std::vector<Entry>& entries, Entry entry);

    bool opened = false;                 // the board is showing
    SDL_Texture* heading = nullptr;      // the heading line
    std::vector<SDL_Texture*> rendered;  // one texture per listed line
    std::vector<std::string> kept;       // per listed line, its recording or nothing
};
