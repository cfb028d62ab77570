// An alphabet of the full 29 letters, as the German edition has it (A-Z, then
// the Windows-1252 bytes of Ä, Ö and Ü), through the dictionary, its file and
// the deal.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "board.h"
#include "dictionary.h"
#include "random.h"
#include "test_platform.h"
#include "test_words.h"

namespace {

using vrel_test::ReadBytes;
using vrel_test::ScratchFolder;
using vrel_test::StoredWords;
using vrel_test::TestPlatform;

const char kAe[] = "\xC4";  // Ä
const char kOe[] = "\xD6";  // Ö
const char kUe[] = "\xDC";  // Ü
const std::string kGerman = std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ") + kAe + kOe + kUe;

class FullAlphabet : public ::testing::Test {
  protected:
    FullAlphabet() { platform.alphabet = kGerman; }
    TestPlatform platform;
};

TEST_F(FullAlphabet, LettersAboveZHaveWeightsAndBuckets) {
    CWordDictionary dict;
    ASSERT_EQ(dict.GetAlphabet(), kGerman);
    EXPECT_EQ(dict.LetterIndex(kUe[0]), MAX_LETTERS - 1);
    for (const char* letter : {kAe, kOe, kUe}) EXPECT_EQ(dict.LetterWeight(letter[0]), 1);

    const std::string oede = std::string(kOe) + "DE";               // ÖDE
    const std::string uebel = std::string(kUe) + "BEL";             // ÜBEL
    const std::string aeoeue = std::string(kAe) + kOe + kUe + kAe;  // ÄÖÜÄ
    const std::string zuege = std::string("Z") + kUe + "GE";        // ZÜGE
    for (const std::string& word : {oede, uebel, aeoeue, zuege})
        EXPECT_TRUE(dict.AddWord(word)) << word;
    EXPECT_EQ(dict.LetterWeight(kAe[0]), 3);
    EXPECT_EQ(dict.LetterWeight(kOe[0]), 3);
    EXPECT_EQ(dict.LetterWeight(kUe[0]), 4);
    EXPECT_EQ(dict.BucketSize(kOe[0], 'D'), 1);
    EXPECT_EQ(dict.BucketSize(kAe[0], kOe[0]), 1);
    EXPECT_EQ(dict.BucketSize('Z', kUe[0]), 1);
    EXPECT_EQ(dict.Bucket(28, 1), WordList{uebel});
    EXPECT_TRUE(dict.Contains(zuege));
}

TEST_F(FullAlphabet, NormalizeUpperCasesTheLettersAboveZ) {
    std::string word = "\xE4\xF6\xFC\xE5\xE6\xF8";  // äöüåæø
    CWordDictionary::NormalizeWord(word);
    EXPECT_EQ(word, "\xC4\xD6\xDC\xC5\xC6\xD8");
    word = "fu\xDF\xF6l";  // fußöl
    CWordDictionary::NormalizeWord(word);
    EXPECT_EQ(word, "FUSS\xD6L");
}

TEST_F(FullAlphabet, DealDrawsTheLettersAboveZ) {
    CWordDictionary dict;
    // Words of Ä, Ö and Ü alone make them most of the weight.
    const std::string letters = std::string(kAe) + kOe + kUe;
    for (char a : letters)
        for (char b : letters)
            for (char c : letters) dict.AddWord(std::string{a, b, c, a});
    SeedRandom(7);
    Board board;
    board.DealBoard(dict);
    std::set<char> drawn;
    for (int row = 0; row < BOARD_SIZE; ++row)
        for (int column = 0; column < BOARD_SIZE; ++column) {
            const char letter = board.LetterAt(row, column);
            EXPECT_GE(dict.LetterIndex(letter), 0) << static_cast<int>(letter);
            drawn.insert(letter);
        }
    for (const char* letter : {kAe, kOe, kUe})
        EXPECT_EQ(drawn.count(letter[0]), 1u) << "no " << static_cast<int>(letter[0] & 0xFF);
}

TEST_F(FullAlphabet, SavePutsTheLettersAboveZLastAndLoadsBack) {
    ScratchFolder folder;
    CWordDictionary dict;
    const std::string uebel = std::string(kUe) + "BEL";
    const std::string aera = std::string(kAe) + "RA";
    const std::string oede = std::string(kOe) + "DE";
    const std::string kaese = std::string("K") + kAe + "SE";
    for (const std::string& word :
         {uebel, std::string("ZOO"), aera, oede, kaese, std::string("ABER"), std::string("KALT")})
        ASSERT_TRUE(dict.AddWord(word)) << word;
    dict.SaveToFile(folder.Path());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(ReadBytes(folder.File("VREL.DAT")), "ABER\r\nKALT\r\n" + kaese + "\r\nZOO\r\n" +
                                                      aera + "\r\n" + oede + "\r\n" + uebel +
                                                      "\r\n");

    CWordDictionary loaded;
    loaded.LoadFromFile(folder.Path());
    EXPECT_EQ(StoredWords(loaded), StoredWords(dict));
    for (char letter : kGerman)
        EXPECT_EQ(loaded.LetterWeight(letter), dict.LetterWeight(letter)) << letter;
    EXPECT_FALSE(loaded.IsModified());
}

}  // namespace
