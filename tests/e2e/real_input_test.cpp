// Vrel.exe played with real key presses: xdotool sends them through the X
// server that Wine draws on, so they travel the whole way a player's keys do
// (X server, Wine's keyboard driver, the dialog manager, the program). What
// the player sees is read back through the window messages of the driver.
//
// Wine can start a Unix program but gives no process to wait for, so every
// xdotool run goes through scripts/wine-xdotool, which reports in a file.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "driver.h"

namespace {

using namespace e2e;

constexpr char kAppCaption[] = "Vrel";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class RealInput : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!UnderWine()) GTEST_SKIP() << "X input needs Vrel.exe running under Wine";
    }

    // Starts the program on the dictionary and gives its main window the X
    // input focus, as a click on it would.
    void Launch(const std::string& dictionary) {
        m_app.WriteDictionary(dictionary);
        m_model.LoadFromFile(m_app.Folder());
        ASSERT_TRUE(m_app.Start()) << m_app.StartError();
        m_main = WaitForDialog(m_app.ProcessId(), kMainWindow);
        ASSERT_TRUE(m_main) << "the main window did not show";
        const unsigned long window = XWindowOf(m_main);
        ASSERT_NE(window, 0ul) << "the main window has no X window";
        const XdotoolResult focus = RunXdotool("windowfocus --sync " + std::to_string(window));
        ASSERT_TRUE(focus.finished && focus.status == 0)
            << "xdotool windowfocus: status " << focus.status << ": " << focus.output;
        ASSERT_TRUE(WaitUntil("the focus on Start Game",
                              [&] { return FocusOf(m_main) == Item(kStartGame); }))
            << "Start Game has no focus: " << Describe(FocusOf(m_main));
    }

    // Presses keys through the X server, e.g. "Tab", "shift+Tab", "alt+s".
    void Key(const std::string& keys) {
        const XdotoolResult run = RunXdotool("key --delay 30 " + keys);
        ASSERT_TRUE(run.finished && run.status == 0)
            << "xdotool key " << keys << ": status " << run.status << ": " << run.output;
    }

    // Types text through the X server, key by key.
    void TypeKeys(const std::string& text) {
        const XdotoolResult run = RunXdotool("type --delay 30 " + text);
        ASSERT_TRUE(run.finished && run.status == 0)
            << "xdotool type " << text << ": status " << run.status << ": " << run.output;
    }

    HWND Item(int id) const { return GetDlgItem(m_main, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
    std::string WordText() const { return Text(Item(kWordField)); }
    int FocusId() const { return GetDlgCtrlID(FocusOf(m_main)); }

    static std::string Describe(HWND hwnd) {
        if (!hwnd) return "nothing";
        return ClassName(hwnd) + " " + std::to_string(GetDlgCtrlID(hwnd)) + " \"" + Text(hwnd) +
               "\"";
    }

    // Presses one key that must move the focus from one control to another.
    void ExpectFocusMove(const std::string& key, int from, int to) {
        ASSERT_EQ(FocusId(), from) << "focus on " << Describe(FocusOf(m_main));
        ASSERT_NO_FATAL_FAILURE(Key(key));
        WaitUntil("the focus to move", [&] { return FocusId() != from; });
        EXPECT_EQ(FocusId(), to) << key << " from " << from << " went to "
                                 << Describe(FocusOf(m_main));
    }

    // Alt+S up to the closed searching dialog, closed with Escape: the
    // letters on the buttons and the words the engine finds on them.
    void StartGame() {
        ASSERT_TRUE(Enabled(kStartGame));
        ASSERT_NO_FATAL_FAILURE(Key("alt+s"));
        const HWND search = WaitForDialog(m_app.ProcessId(), kSearchDialog);
        ASSERT_TRUE(search) << "Alt+S did not start a game";
        ASSERT_TRUE(WaitUntil("the search's OK button to be enabled", [&] {
            return IsWindowEnabled(GetDlgItem(search, IDOK)) != 0;
        })) << "the search does not end";
        ASSERT_NO_FATAL_FAILURE(Key("Escape"));
        ASSERT_TRUE(WaitUntil("Escape to close the search", [&] { return !IsWindow(search); }))
            << "Escape did not close the searching dialog";
        ASSERT_TRUE(WaitUntil("the focus on the word field after the search",
                              [&] { return FocusOf(m_main) == Item(kWordField); }))
            << "the word field has no focus after the search: " << Describe(FocusOf(m_main));
        m_letters.clear();
        for (int i = 0; i < 16; ++i) m_letters += ItemText(m_main, kFirstLetter + i);
        ASSERT_EQ(m_letters.size(), 16u) << m_letters;
        m_board.SetLetters(m_letters);
        struct : ProgressSink {
            void ReportCount(int) override {}
        } progress;
        m_words.clear();
        m_board.FindAllWords(m_model, m_words, progress);
    }

    // Alt+Q, then Escape on the results dialog.
    void QuitGame() {
        ASSERT_NO_FATAL_FAILURE(Key("alt+q"));
        const HWND results = WaitForDialog(m_app.ProcessId(), kResultsDialog);
        ASSERT_TRUE(results) << "Alt+Q did not quit the game";
        ASSERT_NO_FATAL_FAILURE(Key("Escape"));
        ASSERT_TRUE(WaitUntil("Escape to close the results", [&] { return !IsWindow(results); }))
            << "Escape did not close the results dialog";
        ASSERT_TRUE(WaitUntil("the focus on Start Game after the game",
                              [&] { return FocusOf(m_main) == Item(kStartGame); }))
            << "Start Game has no focus after the game: " << Describe(FocusOf(m_main));
    }

    // Starts games until the board has two words and a word the dictionary
    // does not know; false after a few boards.
    bool StartUsefulGame() {
        for (int attempt = 0; attempt < 6; ++attempt) {
            StartGame();
            if (HasFatalFailure()) return false;
            if (m_words.size() >= 2 && !UnknownWord().empty()) return true;
            QuitGame();
            if (HasFatalFailure()) return false;
        }
        return false;
    }

    // A traceable three-letter string that the dictionary does not know.
    std::string UnknownWord() const {
        for (char a : m_letters)
            for (char b : m_letters)
                for (char c : m_letters) {
                    const std::string word{a, b, c};
                    if (m_board.CanTrace(word) && !m_model.Contains(word)) return word;
                }
        return {};
    }

    // Waits for the program to end, watching for message boxes meanwhile.
    bool EndsWithoutBox(bool& sawBox) {
        sawBox = false;
        return WaitUntil("the program to end", [&] {
            sawBox = sawBox || FindBox(m_app.ProcessId(), kAppCaption) != nullptr;
            return !m_app.Running();
        });
    }

    App m_app;
    CWordDictionary m_model;
    HWND m_main = nullptr;
    Board m_board;
    std::string m_letters;
    WordList m_words;
};

TEST_F(RealInput, OutOfPlayTabOrderEscapeAboutAndAltF4) {
    ASSERT_NO_FATAL_FAILURE(Launch(GameDictionary()));

    // Out of play only Start Game, Help, About and Exit Program take the
    // focus; the rest of the template's tab stops are disabled.
    ExpectFocusMove("Tab", kStartGame, kHelp);
    ExpectFocusMove("Tab", kHelp, kAbout);
    ExpectFocusMove("Tab", kAbout, kExitProgram);
    ExpectFocusMove("Tab", kExitProgram, kStartGame);
    ExpectFocusMove("shift+Tab", kStartGame, kExitProgram);
    ExpectFocusMove("shift+Tab", kExitProgram, kAbout);

    // Escape does nothing here; Alt+A after it proves it was handled.
    ASSERT_NO_FATAL_FAILURE(Key("Escape alt+a"));
    HWND about = nullptr;
    WaitUntil("the About box", [&] {
        return (about = FindAbout(m_app.ProcessId())) != nullptr || !m_app.Running();
    });
    ASSERT_TRUE(m_app.Running()) << "Escape ended the program";
    ASSERT_TRUE(about) << "Alt+A did not open the About box";
    EXPECT_TRUE(IsWindowVisible(m_main));

    ASSERT_NO_FATAL_FAILURE(Key("Escape"));
    ASSERT_TRUE(WaitUntil("Escape to close the About box", [&] {
        return FindAbout(m_app.ProcessId()) == nullptr;
    })) << "Escape did not close the About box";
    ASSERT_TRUE(WaitUntil("the main window to be enabled again",
                          [&] { return IsWindowEnabled(m_main) != 0; }));
    EXPECT_TRUE(m_app.Running());

    // Nothing stored: Alt+F4 ends the program at once.
    ASSERT_NO_FATAL_FAILURE(Key("alt+F4"));
    bool asked = false;
    EXPECT_TRUE(EndsWithoutBox(asked)) << "Alt+F4 did not end the program";
    EXPECT_FALSE(asked) << "asked a question though the dictionary is unchanged";
}

TEST_F(RealInput, GamePlayedFromTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(Launch(GameDictionary()));
    ASSERT_TRUE(StartUsefulGame()) << "no board with two words in six games";
    const std::string first = m_words[0];
    const std::string second = m_words[1];

    // Lower-case keys arrive in upper case, and Enter adds the word.
    ASSERT_NO_FATAL_FAILURE(TypeKeys(Lower(first)));
    EXPECT_TRUE(WaitUntil("the typed word in the field", [&] { return WordText() == first; }))
        << "typed " << Lower(first) << ", the field shows " << WordText();
    ASSERT_NO_FATAL_FAILURE(Key("Return"));
    EXPECT_TRUE(WaitUntil("the word in the found list",
                          [&] { return ListItems(Item(kFoundList)).size() == 1; }))
        << "Enter did not add " << first;
    EXPECT_EQ(ListItems(Item(kFoundList)), std::vector<std::string>{first});
    EXPECT_EQ(WordText(), "");
    EXPECT_TRUE(m_app.Running()) << "Enter ended the program";

    // Alt+C clears the field.
    ASSERT_NO_FATAL_FAILURE(TypeKeys(Lower(second.substr(0, 2))));
    ASSERT_TRUE(WaitUntil("the typed letters in the field", [&] {
        return WordText() == second.substr(0, 2);
    })) << WordText();
    ASSERT_NO_FATAL_FAILURE(Key("alt+c"));
    EXPECT_TRUE(WaitUntil("Alt+C to empty the field", [&] { return WordText().empty(); }))
        << "Alt+C left " << WordText();
    EXPECT_FALSE(Enabled(kClear));
    EXPECT_EQ(FocusId(), kWordField);

    // Alt+L adds a word.
    ASSERT_NO_FATAL_FAILURE(TypeKeys(Lower(second)));
    ASSERT_TRUE(WaitUntil("the typed word in the field", [&] { return WordText() == second; }))
        << WordText();
    ASSERT_NO_FATAL_FAILURE(Key("alt+l"));
    EXPECT_TRUE(WaitUntil("the second word in the found list",
                          [&] { return ListItems(Item(kFoundList)).size() == 2; }))
        << "Alt+L did not add " << second;
    EXPECT_EQ(WordText(), "");

    // In play with an empty field: the field, the list, then the buttons
    // below, the letter buttons, and round to the field again.
    ExpectFocusMove("Tab", kWordField, kFoundList);
    ExpectFocusMove("Tab", kFoundList, kQuitGame);
    ExpectFocusMove("Tab", kQuitGame, kHelp);
    ExpectFocusMove("Tab", kHelp, kAbout);
    ExpectFocusMove("Tab", kAbout, kExitProgram);
    ExpectFocusMove("Tab", kExitProgram, kFirstLetter);
    ExpectFocusMove("Tab", kFirstLetter, kFirstLetter + 1);
    ExpectFocusMove("shift+Tab", kFirstLetter + 1, kFirstLetter);
    ExpectFocusMove("shift+Tab", kFirstLetter, kExitProgram);
    // Alt+W, the mnemonic of the group box, reaches the word field.
    ASSERT_NO_FATAL_FAILURE(Key("alt+w"));
    EXPECT_TRUE(WaitUntil("the focus on the word field", [&] { return FocusId() == kWordField; }))
        << "Alt+W went to " << Describe(FocusOf(m_main));
    ExpectFocusMove("shift+Tab", kWordField, kFirstLetter + 15);

    // Space presses the focused letter button, which keeps the focus.
    ASSERT_NO_FATAL_FAILURE(Key("space"));
    std::string expected(1, m_letters[15]);
    EXPECT_TRUE(WaitUntil("the letter in the field", [&] { return WordText() == expected; }))
        << "space on the last letter button: the field shows " << WordText();
    EXPECT_EQ(FocusId(), kFirstLetter + 15);
    ExpectFocusMove("shift+Tab", kFirstLetter + 15, kFirstLetter + 14);
    ASSERT_NO_FATAL_FAILURE(Key("space"));
    expected += m_letters[14];
    EXPECT_TRUE(WaitUntil("the letter in the field", [&] { return WordText() == expected; }))
        << "space on button " << kFirstLetter + 14 << ": the field shows " << WordText();

    // Tab skips Add Word while it is disabled (two letters) and reaches it
    // with three.
    ExpectFocusMove("Tab", kFirstLetter + 14, kFirstLetter + 15);
    ExpectFocusMove("Tab", kFirstLetter + 15, kWordField);
    ExpectFocusMove("Tab", kWordField, kClear);
    ExpectFocusMove("shift+Tab", kClear, kWordField);
    // Cell 13 is next to cell 14, so its letter extends the path.
    ASSERT_NO_FATAL_FAILURE(TypeKeys(Lower(std::string(1, m_letters[13]))));
    expected += m_letters[13];
    ASSERT_TRUE(WaitUntil("the letters in the field", [&] { return WordText() == expected; }))
        << WordText();
    ExpectFocusMove("Tab", kWordField, kAddWord);
    ExpectFocusMove("Tab", kAddWord, kClear);
    ExpectFocusMove("shift+Tab", kClear, kAddWord);
    ExpectFocusMove("shift+Tab", kAddWord, kWordField);

    // Alt+Q shows the results; Escape closes them and the game is over.
    ASSERT_NO_FATAL_FAILURE(QuitGame());
    EXPECT_FALSE(Enabled(kWordField));
    EXPECT_FALSE(Enabled(kQuitGame));
    EXPECT_EQ(ListItems(Item(kFoundList)).size(), 2u);

    // Nothing stored: Alt+X ends the program without a question.
    ASSERT_NO_FATAL_FAILURE(Key("alt+x"));
    bool asked = false;
    EXPECT_TRUE(EndsWithoutBox(asked)) << "Alt+X did not end the program";
    EXPECT_FALSE(asked) << "asked a question though the dictionary is unchanged";
}

TEST_F(RealInput, AltF4AsksToSaveOnceAWordWasStored) {
    const std::string dictionary = GameDictionary();
    ASSERT_NO_FATAL_FAILURE(Launch(dictionary));
    ASSERT_TRUE(StartUsefulGame()) << "no board with an unknown word in six games";
    const std::string unknown = UnknownWord();

    // Enter offers the word; Y answers Yes to the question.
    ASSERT_NO_FATAL_FAILURE(TypeKeys(Lower(unknown)));
    ASSERT_TRUE(WaitUntil("the typed word in the field", [&] { return WordText() == unknown; }))
        << WordText();
    ASSERT_NO_FATAL_FAILURE(Key("Return"));
    BoxView box = WaitForBox(m_app.ProcessId(), kAppCaption);
    ASSERT_TRUE(box.hwnd) << "Enter brought no question for " << unknown;
    EXPECT_EQ(box.text, "Is \"" + unknown + "\" a valid word?");
    ASSERT_NO_FATAL_FAILURE(Key("y"));
    ASSERT_TRUE(WaitUntil("Y to answer the box", [&] { return !IsWindow(box.hwnd); }))
        << "Y did not answer the box";
    EXPECT_TRUE(WaitUntil("the stored word in the found list", [&] {
        return ListItems(Item(kFoundList)).size() == 1;
    })) << "the stored word is not listed";

    // Alt+F4 asks, as Exit Program does; N leaves the file as it was.
    ASSERT_NO_FATAL_FAILURE(Key("alt+F4"));
    box = WaitForBox(m_app.ProcessId(), kAppCaption);
    ASSERT_TRUE(box.hwnd) << "Alt+F4 did not ask to save";
    EXPECT_EQ(box.text, "You added new words to the dictionary.\n\nSave dictionary?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    ASSERT_NO_FATAL_FAILURE(Key("n"));
    EXPECT_NE(m_app.WaitForExit(), -1) << "the program did not end after N";
    EXPECT_TRUE(m_app.ReadDictionary() == dictionary) << "the dictionary file changed";
}

}  // namespace
