#include <gtest/gtest.h>

#include "board.h"
#include "dictionary.h"

TEST(Smoke, WorkedExample) {
    CWordDictionary dict;
    for (const char* w : {"ACT", "ATE", "CAT", "CATS", "COAT", "DATE", "DOG", "EAT", "GOD", "LIP",
                          "RED", "ROD", "SEA", "SET", "TEA", "TIDE", "TOAD"})
        dict.AddWord(w);
    Board board;
    board.SetLetters("CATSODERGNILUMPY");
    struct Sink : ProgressSink {
        void ReportCount(int) override {}
    } sink;
    WordList found;
    board.FindAllWords(dict, found, sink);
    EXPECT_EQ(found, (WordList{"CAT", "CATS", "COAT", "ATE", "TEA", "SET", "SEA", "DATE", "DOG",
                               "EAT", "RED", "GOD", "LIP"}));
}
