#include "game.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "random.h"
#include "test_platform.h"
#include "test_words.h"

namespace {

using vrel_test::ForEachPath;
using vrel_test::LettersOf;
using vrel_test::StoredWords;

using Log = std::vector<std::string>;

// A main window that records every request in order and answers questions
// from a script. Its search runs the real board search.
class FakeWindow : public GameWindow {
  public:
    Log log;
    std::deque<bool> answers;
    std::string word;  // the word field
    WordList listed;   // the found-words list
    std::string scoreLine;
    std::string averageLine;
    WordList resultsFound;
    WordList resultsMissed;
    const CWordDictionary* saved = nullptr;
    const Board* searchedBoard = nullptr;
    std::vector<int> progress;
    std::function<void(const Board&)> beforeSearch;

    void ShowBoard(const Board& board) override {
        std::string letters;
        for (int i = 0; i < BOARD_CELLS; ++i) letters += board.Cell(i);
        log.push_back("ShowBoard " + letters);
    }
    void EnableControl(GameControl control, bool enabled) override {
        static const char* const names[] = {"Letters",   "WordField", "FoundList", "StartGame",
                                            "QuitGame", "Clear",     "AddWord"};
        log.push_back(std::string("Enable ") + names[static_cast<int>(control)] +
                      (enabled ? " on" : " off"));
    }
    void ClearFoundList() override {
        listed.clear();
        log.push_back("ClearFoundList");
    }
    void AddFoundWord(const std::string& text) override {
        listed.push_back(text);
        log.push_back("AddFoundWord " + text);
    }
    std::string GetWordText() override {
        log.push_back("GetWordText");
        return word;
    }
    void SetWordText(const std::string& text) override {
        word = text;
        log.push_back("SetWordText " + text);
    }
    void RestoreWordText(const std::string& text) override {
        word = text;
        log.push_back("RestoreWordText " + text);
    }
    void ShowScoreLine(const std::string& text) override {
        scoreLine = text;
        log.push_back("ShowScoreLine " + text);
    }
    void ShowAverageLine(const std::string& text) override {
        averageLine = text;
        log.push_back("ShowAverageLine " + text);
    }
    void Beep() override { log.push_back("Beep"); }
    void ShowWarning(const std::string& text) override { log.push_back("ShowWarning " + text); }
    bool AskYesNo(const std::string& text) override {
        log.push_back("AskYesNo " + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void RunSearch(const CWordDictionary& dictionary, const Board& board,
                   WordList& allWords) override {
        log.push_back("RunSearch");
        searchedBoard = &board;
        if (beforeSearch) beforeSearch(board);
        struct Sink : ProgressSink {
            std::vector<int>& counts;
            explicit Sink(std::vector<int>& c) : counts(c) {}
            void ReportCount(int count) override { counts.push_back(count); }
        } sink(progress);
        progress.clear();
        board.FindAllWords(dictionary, allWords, sink);
    }
    void ShowResultsDialog(const WordList& found, const WordList& missed) override {
        resultsFound = found;
        resultsMissed = missed;
        log.push_back("ShowResultsDialog");
    }
    void SaveDictionary(const CWordDictionary& dictionary) override {
        saved = &dictionary;
        log.push_back("SaveDictionary");
    }
    void QuitHelp() override { log.push_back("QuitHelp"); }
    void FocusWordField() override { log.push_back("FocusWordField"); }
    void FocusStartGame() override { log.push_back("FocusStartGame"); }
    void WordStored(const std::string& text) override { log.push_back("WordStored " + text); }
    void SaveDeclined() override { log.push_back("SaveDeclined"); }
};

// The requests that switch the controls to the in-play or out-of-play set.
Log PlayControls(bool inPlay) {
    const char* on = inPlay ? " on" : " off";
    const char* off = inPlay ? " off" : " on";
    return {std::string("Enable Letters") + on, std::string("Enable WordField") + on,
            std::string("Enable FoundList") + on, std::string("Enable StartGame") + off,
            std::string("Enable QuitGame") + on};
}

// Stores words traced along paths of the board until exactly count stored
// words can be traced on it.
void StockBoard(CWordDictionary& dict, const Board& board, std::size_t count) {
    std::size_t onBoard = 0;
    for (const std::string& word : StoredWords(dict))
        if (board.CanTrace(word)) ++onBoard;
    ASSERT_LE(onBoard, count) << "the board already holds more stored words";
    ForEachPath(board, 4, [&](const std::string& path) {
        if (onBoard < count && path.size() >= 3 && dict.AddWord(path)) ++onBoard;
    });
    ASSERT_EQ(onBoard, count);
}

const char* const kSaveQuestion =
    "AskYesNo You added new words to the dictionary.\n\nSave dictionary?";

class Game : public ::testing::Test {
  protected:
    Game() { SeedRandom(1); }

    // Every later search finds exactly count words.
    void Stock(std::size_t count) {
        window.beforeSearch = [this, count](const Board& board) {
            StockBoard(game.Dictionary(), board, count);
        };
    }
    void Enter(const std::string& text) {
        window.word = text;
        game.OnAddWord();
    }
    // Runs the step and answers the requests it made of the window, in order.
    Log Calls(const std::function<void()>& step) {
        window.log.clear();
        step();
        return window.log;
    }
    // A traced sequence of seven letters, never a dictionary word.
    std::string SevenLetters() const { return LettersOf(*game.GetBoard(), {0, 1, 2, 3, 7, 6, 5}); }

    FakeWindow window;
    CGame game{window};
};

TEST(Percent, TruncatesAndNeverDividesByZero) {
    EXPECT_EQ(Percent(1, 3), 33);
    EXPECT_EQ(Percent(2, 3), 66);
    EXPECT_EQ(Percent(7, 23), 30);
    EXPECT_EQ(Percent(1, 1), 100);
    EXPECT_EQ(Percent(3, 2), 150);
    EXPECT_EQ(Percent(5, 0), 0);
    EXPECT_EQ(Percent(0, 0), 0);
    EXPECT_EQ(Percent(50000000, 100000000), 50);  // no overflow in n * 100
}

TEST_F(Game, StartGameSteps) {
    EXPECT_EQ(game.GetBoard(), nullptr);
    Log expected = PlayControls(true);
    // The first deal after seed 1, row by row.
    expected.insert(expected.end(),
                    {"ShowBoard MSQAEGOQKAAIACVI", "ClearFoundList", "RunSearch",
                     "ShowScoreLine Found 0 words from a maximum of 0 (0%).", "FocusWordField"});
    EXPECT_EQ(Calls([&] { game.OnStartGame(); }), expected);
    ASSERT_NE(game.GetBoard(), nullptr);
    EXPECT_EQ(window.searchedBoard, game.GetBoard());
    EXPECT_TRUE(game.AllWords().empty());
    EXPECT_EQ(game.TotalPossible(), 0);

    // Later games deal into the same board.
    const Board* board = game.GetBoard();
    game.OnQuitGame();
    game.OnStartGame();
    EXPECT_EQ(game.GetBoard(), board);
}

TEST_F(Game, QuitGameSteps) {
    game.OnStartGame();
    window.word = "ABC";
    Log expected{"SetWordText ", "ShowResultsDialog", "ShowAverageLine Average Score: 0%"};
    for (const std::string& step : PlayControls(false)) expected.push_back(step);
    expected.push_back("FocusStartGame");
    EXPECT_EQ(Calls([&] { game.OnQuitGame(); }), expected);
}

// A click on a cube adds its letter while the text stays traceable; before a
// game and after it the cubes do nothing.
TEST_F(Game, LetterClicksBuildTraceableTextInPlayOnly) {
    game.OnLetter(0);
    EXPECT_EQ(window.word, "");
    game.OnStartGame();
    game.OnLetter(0);
    game.OnLetter(1);
    EXPECT_EQ(window.word, LettersOf(*game.GetBoard(), {0, 1}));
    // M S and then the I of the last cell, which touches no S.
    EXPECT_EQ(Calls([&] { game.OnLetter(15); }), (Log{"GetWordText", "Beep"}));
    game.OnQuitGame();
    EXPECT_EQ(Calls([&] { game.OnLetter(2); }), Log{});
}

TEST_F(Game, WordFilterUndoesUntraceableTextAndClearAndAddWordFollowTheText) {
    game.OnStartGame();
    const std::string two = LettersOf(*game.GetBoard(), {0, 1});
    window.word = two;
    game.OnWordChanged();
    EXPECT_TRUE(game.IsEnabled(GameControl::kClear));
    EXPECT_FALSE(game.IsEnabled(GameControl::kAddWord));
    window.word = two + "Z";
    EXPECT_EQ(Calls([&] { game.OnWordChanged(); }),
              (Log{"GetWordText", "Beep", "RestoreWordText " + two, "GetWordText",
                   "Enable Clear on", "Enable AddWord off"}));
    window.word = LettersOf(*game.GetBoard(), {0, 1, 2});
    game.OnWordChanged();
    EXPECT_TRUE(game.IsEnabled(GameControl::kAddWord));
    game.OnClear();
    EXPECT_EQ(window.word, "");
    game.OnWordChanged();
    EXPECT_FALSE(game.IsEnabled(GameControl::kClear));
    EXPECT_FALSE(game.IsEnabled(GameControl::kAddWord));
}

TEST_F(Game, DealsWithTheWeightsOfTheMoment) {
    game.OnStartGame();
    game.OnQuitGame();
    for (const char* word : {"ZZZ", "ZZZZZZ", "QUIZ", "JAZZ"}) game.Dictionary().AddWord(word);
    Board expected;
    SeedRandom(99);
    expected.DealBoard(game.Dictionary());
    SeedRandom(99);
    game.OnStartGame();
    for (int cell = 0; cell < 16; ++cell)
        EXPECT_EQ(game.GetBoard()->LetterAt(cell / 4, cell % 4),
                  expected.LetterAt(cell / 4, cell % 4));
}

TEST_F(Game, KnownWordsAreAcceptedAndScored) {
    Stock(3);
    game.OnStartGame();
    EXPECT_EQ(window.scoreLine, "Found 0 words from a maximum of 3 (0%).");
    EXPECT_EQ(window.progress, (std::vector<int>{1, 2, 3}));
    const WordList all = game.AllWords();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(Calls([&] { Enter(all[2]); }),
              (Log{"FocusWordField", "GetWordText", "AddFoundWord " + all[2], "SetWordText ",
                   "ShowScoreLine Found 1 words from a maximum of 3 (33%)."}));
    Enter(all[0]);
    EXPECT_EQ(window.scoreLine, "Found 2 words from a maximum of 3 (66%).");
    EXPECT_EQ(window.listed, (WordList{all[2], all[0]}));
    EXPECT_EQ(game.FoundWords(), (WordList{all[2], all[0]}));
    EXPECT_EQ(game.Found(), 2);
    EXPECT_EQ(window.word, "");
}

TEST_F(Game, ShortWordsBeep) {
    game.OnStartGame();
    for (const char* text : {"", "A", "AB"}) {
        EXPECT_EQ(Calls([&] { Enter(text); }), (Log{"FocusWordField", "GetWordText", "Beep"}));
        EXPECT_EQ(window.word, text);
    }
    EXPECT_EQ(game.Found(), 0);
}

TEST_F(Game, DuplicateWordIsRefusedWithinOneGameOnly) {
    Stock(2);
    game.OnStartGame();
    const std::string known = game.AllWords()[0];
    const std::string unknown = SevenLetters();
    Enter(known);
    window.answers = {true};
    Enter(unknown);
    const std::string scoreLine = window.scoreLine;
    EXPECT_EQ(Calls([&] { Enter(known); }),
              (Log{"FocusWordField", "GetWordText",
                   "ShowWarning Error:  \"" + known + "\" already entered.", "SetWordText "}));
    // The duplicate check comes first: no question for a confirmed word.
    EXPECT_EQ(Calls([&] { Enter(unknown); }),
              (Log{"FocusWordField", "GetWordText",
                   "ShowWarning Error:  \"" + unknown + "\" already entered.", "SetWordText "}));
    EXPECT_EQ(game.Found(), 2);
    EXPECT_EQ(window.scoreLine, scoreLine);
    EXPECT_EQ(window.listed.size(), 2u);

    game.OnQuitGame();
    window.beforeSearch = nullptr;
    game.OnStartGame();
    Enter(known);  // stored, so accepted without a question
    EXPECT_EQ(game.FoundWords(), WordList{known});
}

TEST_F(Game, UnknownWordAnsweredYesIsStoredAndOffersSaving) {
    game.OnStartGame();
    const std::string word = LettersOf(*game.GetBoard(), {0, 1, 2});
    window.answers = {true};
    EXPECT_EQ(Calls([&] { Enter(word); }),
              (Log{"FocusWordField", "GetWordText", "AskYesNo Is \"" + word + "\" a valid word?",
                   "AddFoundWord " + word, "SetWordText ",
                   "ShowScoreLine Found 1 words from a maximum of 0 (0%).", "WordStored " + word}));
    EXPECT_TRUE(game.Dictionary().Contains(word));
    EXPECT_TRUE(game.Dictionary().IsModified());
    EXPECT_EQ(window.listed, WordList{word});
    EXPECT_EQ(game.Found(), 1);

    window.answers = {true};
    EXPECT_EQ(Calls([&] { game.OnExit(); }), (Log{kSaveQuestion, "SaveDictionary", "QuitHelp"}));
    EXPECT_EQ(window.saved, &game.Dictionary());
}

TEST_F(Game, UnknownWordAnsweredNoIsDropped) {
    game.OnStartGame();
    const std::string word = LettersOf(*game.GetBoard(), {0, 1, 2});
    window.answers = {false};
    EXPECT_EQ(Calls([&] { Enter(word); }),
              (Log{"FocusWordField", "GetWordText", "AskYesNo Is \"" + word + "\" a valid word?",
                   "SetWordText "}));
    EXPECT_FALSE(game.Dictionary().Contains(word));
    EXPECT_FALSE(game.Dictionary().IsModified());
    EXPECT_EQ(game.Found(), 0);
    EXPECT_TRUE(window.listed.empty());
    EXPECT_EQ(Calls([&] { game.OnExit(); }), Log{"QuitHelp"});
}

TEST_F(Game, SevenLetterWordCountsButIsNotStored) {
    game.OnStartGame();
    const std::string word = SevenLetters();
    window.answers = {true};
    EXPECT_EQ(Calls([&] { Enter(word); }).back(),
              "ShowScoreLine Found 1 words from a maximum of 0 (0%).");  // no WordStored
    EXPECT_EQ(window.listed, WordList{word});
    EXPECT_EQ(game.Found(), 1);
    EXPECT_FALSE(game.Dictionary().Contains(word));
    EXPECT_EQ(game.Dictionary().WordCount(), 0u);
    EXPECT_FALSE(game.Dictionary().IsModified());
    EXPECT_EQ(Calls([&] { game.OnExit(); }), Log{"QuitHelp"});
}

TEST_F(Game, ScoresCanExceedHundredPercent) {
    Stock(2);
    game.OnStartGame();
    const WordList all = game.AllWords();
    Enter(all[0]);
    Enter(all[1]);
    window.answers = {true};
    Enter(SevenLetters());
    EXPECT_EQ(window.scoreLine, "Found 3 words from a maximum of 2 (150%).");
    game.OnQuitGame();
    EXPECT_EQ(window.averageLine, "Average Score: 150%");
    EXPECT_TRUE(window.resultsMissed.empty());
}

TEST_F(Game, AverageIsARatioOfTotals) {
    Stock(20);
    game.OnStartGame();
    ASSERT_EQ(game.AllWords().size(), 20u);
    for (int i = 0; i < 10; ++i) Enter(game.AllWords()[i]);
    game.OnQuitGame();
    EXPECT_EQ(window.averageLine, "Average Score: 50%");

    Stock(30);
    game.OnStartGame();
    EXPECT_EQ(game.Found(), 0);
    EXPECT_TRUE(game.FoundWords().empty());
    EXPECT_TRUE(window.listed.empty());
    EXPECT_EQ(window.scoreLine, "Found 0 words from a maximum of 30 (0%).");
    EXPECT_EQ(game.TotalPossible(), 50);
    for (int i = 0; i < 5; ++i) Enter(game.AllWords()[i]);
    EXPECT_EQ(window.scoreLine, "Found 5 words from a maximum of 30 (16%).");
    EXPECT_EQ(game.TotalFound(), 10);  // the running game is not counted yet
    game.OnQuitGame();
    EXPECT_EQ(game.TotalFound(), 15);
    EXPECT_EQ(window.averageLine, "Average Score: 30%");
}

TEST_F(Game, ResultsListMissedWordsInSearchOrder) {
    Stock(6);
    game.OnStartGame();
    const WordList all = game.AllWords();
    ASSERT_EQ(all.size(), 6u);
    const std::string seven = SevenLetters();
    Enter(all[4]);
    Enter(all[1]);
    window.answers = {true};
    Enter(seven);
    const std::string scoreLine = window.scoreLine;
    game.OnQuitGame();
    EXPECT_EQ(window.resultsFound, (WordList{all[4], all[1], seven}));
    EXPECT_EQ(window.resultsMissed, (WordList{all[0], all[2], all[3], all[5]}));
    // The finished game stays on show.
    EXPECT_EQ(window.listed, (WordList{all[4], all[1], seven}));
    EXPECT_EQ(window.scoreLine, scoreLine);
    EXPECT_EQ(game.Found(), 3);
}

TEST_F(Game, ExitWithoutStoredWordsAsksNothing) {
    vrel_test::TestPlatform platform;
    vrel_test::ScratchFolder folder;
    vrel_test::WriteBytes(folder.File("VREL.DAT"), "CAT\r\nDOG\r\n");
    game.Dictionary().LoadFromFile(folder.Path());
    game.OnStartGame();
    window.answers = {false};
    Enter(SevenLetters());
    Enter("CAT");
    EXPECT_EQ(Calls([&] { game.OnExit(); }), Log{"QuitHelp"});
    EXPECT_EQ(game.TotalFound(), 0);  // leaving mid-game does not count the game
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Game, ExitAnsweredNoDoesNotSave) {
    game.OnStartGame();
    window.answers = {true};
    Enter(LettersOf(*game.GetBoard(), {0, 1, 2}));
    window.answers = {false};
    EXPECT_EQ(Calls([&] { game.OnExit(); }), (Log{kSaveQuestion, "SaveDeclined", "QuitHelp"}));
    EXPECT_EQ(window.saved, nullptr);
}

}  // namespace
