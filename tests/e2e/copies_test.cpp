// Two copies of Vrel.exe started in one folder, each storing a word of its
// own and saving on exit: one after the other in both orders, and both at the
// same moment. VREL.DAT must then hold every word of the file and both new
// ones, the word of the copy that saved first at the end of its bucket.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"

namespace {

using namespace e2e;

constexpr char kAppCaption[] = "Vrel";
constexpr char kErrorCaption[] = "Vrel:  Error";
constexpr char kFatalCaption[] = "Vrel:  Fatal Error";

// Sorted, so already in the order in which the program writes its buckets.
const std::vector<std::string> kWords = {"ACE",  "ANT",  "ARE", "ATE",  "EAR", "EAST",
                                         "EAT",  "NEST", "NET", "OATS", "ONE", "RAT",
                                         "REST", "ROSE", "SEA", "SEAT", "SET", "STAR"};

bool Known(const std::string& word) {
    return std::find(kWords.begin(), kWords.end(), word) != kWords.end();
}

// One running copy of the program.
struct Copy {
    explicit Copy(std::string copyName) : name(std::move(copyName)) {}
    std::string name;
    ChildProcess process;
    HWND main = nullptr;
    std::string word;
    HWND question = nullptr;  // the save question, once asked
};

// Two copies of the program in one folder.
struct Pair {
    explicit Pair(const std::string& pairName)
        : name(pairName), a(pairName + ", copy A"), b(pairName + ", copy B") {
        app.WriteDictionary(DictionaryText(kWords));
    }
    std::string name;
    App app;
    Copy a;
    Copy b;
};

// The file after first's save and then second's: second's dictionary with
// first's word taken in at the end of its bucket.
std::string SavedInTurn(const Copy& first, const Copy& second) {
    std::vector<std::string> words = kWords;
    words.push_back(second.word);
    return SavedText(words, first.word);
}

// Stores a word that neither the file nor the other copy of its folder knows.
void StoreWord(Copy& copy, const std::string& other) {
    const std::string letters = StartGame(copy.main);
    ASSERT_EQ(letters.size(), 16u) << copy.name << ": the game did not start";
    copy.word = TraceableWord(
        letters, [&](const std::string& word) { return Known(word) || word == other; });
    ASSERT_FALSE(copy.word.empty()) << copy.name << ": board " << letters;
    const BoxView box = EnterWord(copy.main, copy.word, kAppCaption);
    ASSERT_TRUE(AnswerBox(box, IDYES)) << copy.name << ": no question for " << copy.word;
}

// Exit Program on each copy, then Yes to each save question at once; waits
// for them to end. None may show an error box.
void ExitAndSave(const std::vector<Copy*>& copies) {
    for (Copy* copy : copies) PostClick(copy->main, kExitProgram);
    for (Copy* copy : copies) {
        const BoxView box = WaitForBox(copy->process.Id(), kAppCaption);
        ASSERT_EQ(box.text, "You added new words to the dictionary.\n\nSave dictionary?")
            << copy->name;
        copy->question = box.hwnd;
    }
    for (Copy* copy : copies) PostClick(copy->question, IDYES);
    std::string error;
    EXPECT_TRUE(WaitUntil("the copies to end after saving", [&] {
        bool running = false;
        for (Copy* copy : copies) {
            for (HWND dialog : Dialogs(copy->process.Id(), true))
                if (Caption(dialog) == kErrorCaption) error = copy->name;
            running = running || copy->process.Running();
        }
        return !running;
    })) << "a copy did not end after saving";
    EXPECT_EQ(error, "") << "a save reported an error";
}

// Three folders, so that the cases run side by side: in the first A saves
// and then B, in the second B and then A, in the third both at once.
TEST(TwoCopies, NoOrderOfSavesLosesAWord) {
    Pair inTurn("A then B"), reversed("B then A"), together("together");
    std::vector<Pair*> pairs = {&inTurn, &reversed, &together};
    for (Pair* pair : pairs)
        for (Copy* copy : {&pair->a, &pair->b})
            ASSERT_TRUE(pair->app.StartCopy(copy->process)) << copy->name << ": " << pair->app.StartError();
    for (Pair* pair : pairs) {
        for (Copy* copy : {&pair->a, &pair->b}) {
            copy->main = WaitForDialog(copy->process.Id(), kMainWindow);
            ASSERT_TRUE(copy->main)
                << copy->name << ": no main window; fatal box: \""
                << WaitForBox(copy->process.Id(), kFatalCaption, 0).text << "\"";
        }
        ASSERT_NO_FATAL_FAILURE(StoreWord(pair->a, ""));
        ASSERT_NO_FATAL_FAILURE(StoreWord(pair->b, pair->a.word));
    }

    ASSERT_NO_FATAL_FAILURE(ExitAndSave({&inTurn.a, &reversed.b, &together.a, &together.b}));
    ASSERT_NO_FATAL_FAILURE(ExitAndSave({&inTurn.b, &reversed.a}));

    const std::string inTurnSaved = inTurn.app.ReadDictionary();
    EXPECT_TRUE(inTurnSaved == SavedInTurn(inTurn.a, inTurn.b)) << inTurnSaved;
    const std::string reversedSaved = reversed.app.ReadDictionary();
    EXPECT_TRUE(reversedSaved == SavedInTurn(reversed.b, reversed.a)) << reversedSaved;
    const std::string togetherSaved = together.app.ReadDictionary();
    EXPECT_TRUE(togetherSaved == SavedInTurn(together.a, together.b) ||
                togetherSaved == SavedInTurn(together.b, together.a))
        << togetherSaved;
    for (Pair* pair : pairs) {
        const std::string saved = pair->app.ReadDictionary();
        std::printf("%s: A stored %s, B %s; VREL.DAT holds %zu words\n", pair->name.c_str(),
                    pair->a.word.c_str(), pair->b.word.c_str(),
                    static_cast<std::size_t>(std::count(saved.begin(), saved.end(), '\n')));
    }
}

}  // namespace
