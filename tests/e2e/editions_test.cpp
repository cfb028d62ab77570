// The German, Danish and Spanish editions played through their windows: the
// letters beyond A-Z (Spanish Ñ between N and O) typed in lower case, traced,
// found by the search, added, listed and saved as Windows-1252 bytes in the
// edition's bucket order, with its own texts on screen and its own help file
// in the help viewer.
#include "editions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "driver.h"
#include "word_list.h"

namespace {

using namespace e2e;

// The edition's entry id formatted with the arguments.
std::string Format(const Edition& edition, int id, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, id);
    std::vsnprintf(buffer, sizeof buffer, edition.Text(id), args);
    va_end(args);
    return buffer;
}

std::string Program(const char* code) {
    return std::string(VREL_EDITIONS_PATH) + "\\" + code + "\\Vrel.exe";
}

// Lower case in Windows-1252: A-Z and the letters from 0xC0 up.
char Lower(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)
               ? static_cast<char>(u + 32)
               : c;
}

bool Has(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

struct EditionCase {
    const char* code;
    char first, second;  // the letters of the dictionary beyond E and S, at
                         // least one of them not in A-Z
    char known;          // in the dictionary word that is added
    char fresh;          // in the new word that is answered Yes
    const char* startGame;
    const char* addWord;
    const wchar_t* helpText;  // words of its help's contents
};

class EditionGame : public ::testing::TestWithParam<EditionCase> {};

TEST_P(EditionGame, LettersAboveZAreTypedFoundAddedListedAndSaved) {
    const EditionCase& c = GetParam();
    ASSERT_EQ(GetACP(), 1252u) << "run under a locale whose ANSI code page is Windows-1252";
    const Edition& edition = *FindEdition(c.code);
    EditionPlatform platform(edition);

    // Every three-letter string of first, second, E and S with exactly one
    // of first and second, in lower case: a string with two is never known.
    const std::string letters = {c.first, c.second, 'E', 'S'};
    CWordDictionary model;
    std::string file;
    for (char a : letters)
        for (char b : letters)
            for (char d : letters) {
                const std::string word = {a, b, d};
                const auto above = std::count_if(word.begin(), word.end(), [&](char x) {
                    return x == c.first || x == c.second;
                });
                if (above != 1) continue;
                ASSERT_TRUE(model.AddWord(word));
                file += {Lower(a), Lower(b), Lower(d), '\r', '\n'};
            }

    App app(Program(c.code));
    app.WriteDictionary(file);
    ASSERT_TRUE(app.AddProgramFile("Vrel.HLP"));
    ASSERT_TRUE(app.Start()) << app.StartError();
    const HWND main = WaitForDialog(app.ProcessId(), kMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ItemText(main, kStartGame), c.startGame);
    EXPECT_EQ(ItemText(main, kAddWord), c.addWord);

    // Deal until the board has a known word with c.known and three cells in a
    // row with two letters above Z, one of them c.fresh.
    std::string known, fresh;
    WordList found;
    int possible = 0;
    for (int deal = 0; deal < 20 && fresh.empty(); ++deal) {
        PostClick(main, kStartGame);
        const HWND search = WaitForDialog(app.ProcessId(), kSearchDialog);
        ASSERT_NE(search, nullptr);
        ASSERT_TRUE(WaitUntil("the search's OK button to be enabled",
                              [&] { return IsWindowEnabled(GetDlgItem(search, IDOK)) != 0; }));
        std::string cells;
        for (int i = 0; i < 16; ++i) cells += ItemText(main, kFirstLetter + i);
        ASSERT_EQ(cells.size(), 16u);
        Board board;
        board.SetLetters(cells);
        struct : ProgressSink {
            void ReportCount(int) override {}
        } progress;
        board.FindAllWords(model, found, progress);
        possible += static_cast<int>(found.size());
        if (!found.empty()) {
            EXPECT_EQ(ItemText(search, IDC_PROGRESS_LINE),
                      Format(edition, IDS_SEARCH_PROGRESS, static_cast<int>(found.size())));
        }
        PostClick(search, IDOK);
        ASSERT_TRUE(WaitForNoDialog(app.ProcessId(), kSearchDialog));
        known.clear();
        for (const std::string& word : found)
            if (known.empty() && word.find(c.known) != std::string::npos) known = word;
        fresh = TraceableWord(cells, [&](const std::string& word) {
            const auto above = std::count_if(word.begin(), word.end(),
                                             [&](char x) { return x == c.first || x == c.second; });
            return above < 2 || word.find(c.fresh) == std::string::npos;
        });
        if (known.empty()) fresh.clear();
        if (fresh.empty()) {
            PostClick(main, kQuitGame);
            const HWND results = WaitForDialog(app.ProcessId(), kResultsDialog);
            ASSERT_NE(results, nullptr);
            PostClick(results, IDOK);
            ASSERT_TRUE(WaitForNoDialog(app.ProcessId(), kResultsDialog));
        }
    }
    ASSERT_FALSE(fresh.empty()) << "no suitable board in 20 deals";

    // Typed in lower case, each letter arrives in upper case and is traced.
    const HWND field = GetDlgItem(main, kWordField);
    for (std::size_t i = 0; i < known.size(); ++i) {
        TypeChar(field, Lower(known[i]));
        EXPECT_EQ(Text(field), known.substr(0, i + 1));
    }
    PostClick(main, kAddWord);
    ASSERT_TRUE(WaitUntil("the known word in the found list", [&] {
        return Has(ListItems(GetDlgItem(main, kFoundList)), known);
    })) << known;
    const int total = static_cast<int>(found.size());
    EXPECT_EQ(ItemText(main, kScoreLine), Format(edition, IDS_SCORE_LINE, 1, total, 100 / total));

    // A new word, answered Yes, is listed and stored.
    for (char letter : fresh) TypeChar(field, Lower(letter));
    ASSERT_EQ(Text(field), fresh);
    PostClick(main, kAddWord);
    BoxView ask = WaitForBox(app.ProcessId(), "Vrel");
    EXPECT_EQ(ask.text, Format(edition, IDS_ASK_VALID_WORD, fresh.c_str()));
    ASSERT_TRUE(AnswerBox(ask, IDYES));
    ASSERT_TRUE(WaitUntil("the new word in the found list",
                          [&] { return Has(ListItems(GetDlgItem(main, kFoundList)), fresh); }));
    ASSERT_TRUE(model.AddWord(fresh));

    PostClick(main, kQuitGame);
    const HWND results = WaitForDialog(app.ProcessId(), kResultsDialog);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(ItemText(results, IDC_FOUND_HEADING), Format(edition, IDS_FOUND_HEADING, 2));
    EXPECT_EQ(ItemText(results, IDC_MISSED_HEADING),
              Format(edition, IDS_MISSED_HEADING, total - 1));
    const std::vector<std::string> listed = ListItems(GetDlgItem(results, IDC_FOUND_WORDS));
    EXPECT_TRUE(Has(listed, known) && Has(listed, fresh)) << known << " " << fresh;
    EXPECT_EQ(ListItems(GetDlgItem(results, IDC_MISSED_LIST)).size(),
              static_cast<std::size_t>(total - 1));
    PostClick(results, IDOK);
    ASSERT_TRUE(WaitForNoDialog(app.ProcessId(), kResultsDialog));
    EXPECT_EQ(ItemText(main, kAverageLine), Format(edition, IDS_AVERAGE_LINE, 200 / possible));

    // Help... opens the edition's help file; exiting closes the viewer.
    PostClick(main, kHelp);
    EXPECT_TRUE(WaitUntil("a help viewer showing the edition's help", [&] {
        return FindWindowShowing(c.helpText, app.ProcessId()) != nullptr;
    })) << "no help viewer showing the edition's help";

    PostClick(main, kExitProgram);
    BoxView save = WaitForBox(app.ProcessId(), "Vrel");
    EXPECT_EQ(save.text, edition.Text(IDS_ASK_SAVE));
    ASSERT_TRUE(AnswerBox(save, IDYES));
    EXPECT_EQ(app.WaitForExit(), 0);
    EXPECT_TRUE(WaitUntil("the help viewer to close",
                          [&] { return !FindWindowShowing(c.helpText, app.ProcessId()); }));

    // The file as the edition saves it: its buckets in alphabet order, the
    // letters above Z as their Windows-1252 bytes.
    std::string saved;
    const int size = static_cast<int>(model.GetAlphabet().size());
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            for (const std::string& word : model.Bucket(i, j)) saved += word + "\r\n";
    EXPECT_EQ(app.ReadDictionary(), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Editions, EditionGame,
    ::testing::Values(EditionCase{"de", '\xC4', '\xD6', '\xC4', '\xC4', "&Starten",
                                  "Wort &eintragen", L"so viele W\u00F6rter wie m\u00F6glich"},
                      EditionCase{"da", '\xC5', '\xD8', '\xD8', '\xC5', "Nyt &spil",
                                  "&Tilf\xF8j ord", L"Find s\u00E5 mange ord i den"},
                      EditionCase{"es", '\xD1', 'O', '\xD1', '\xD1', "&Empezar",
                                  "&A\361adir palabra", L"tantas palabras como pueda"}),
    [](const ::testing::TestParamInfo<EditionCase>& info) { return std::string(info.param.code); });

// The error boxes show the edition's texts, letters above Z included.
TEST(EditionErrors, MissingDictionaryIsReportedInTheEditionsWords) {
    const Edition& german = *FindEdition("de");
    App app(Program("de"));
    ASSERT_TRUE(app.Start()) << app.StartError();
    const BoxView box = WaitForBox(app.ProcessId(), german.Text(IDS_FATAL_ERROR_CAPTION));
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, Format(german, IDS_CANNOT_LOAD, app.DictionaryPath().c_str()));
    ASSERT_TRUE(AnswerBox(box, IDOK));
    EXPECT_NE(app.WaitForExit(), -1);
}

}  // namespace
