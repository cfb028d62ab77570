#include "dictionary.h"

#include <gtest/gtest.h>

#include <string>

#include "test_words.h"

namespace {

using vrel_test::StoredWords;

std::string Normalized(std::string text) {
    CWordDictionary::NormalizeWord(text);
    return text;
}

TEST(Dictionary, FreshDictionary) {
    CWordDictionary dict;
    EXPECT_EQ(dict.GetAlphabet(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_FALSE(dict.IsModified());
    EXPECT_EQ(dict.WordCount(), 0u);
    for (char first = 'A'; first <= 'Z'; ++first) {
        EXPECT_EQ(dict.LetterWeight(first), 1) << first;
        for (char second = 'A'; second <= 'Z'; ++second)
            ASSERT_EQ(dict.BucketSize(first, second), 0) << first << second;
    }
    EXPECT_FALSE(dict.Contains("CAT"));
}

TEST(Dictionary, LetterIndexAndWeightOffTheAlphabet) {
    CWordDictionary dict;
    EXPECT_EQ(dict.LetterIndex('A'), 0);
    EXPECT_EQ(dict.LetterIndex('Z'), 25);
    EXPECT_EQ(dict.LetterIndex('a'), -1);
    EXPECT_EQ(dict.LetterIndex('\0'), -1);
    EXPECT_EQ(dict.LetterWeight('a'), 0);
    EXPECT_EQ(dict.LetterWeight('\xC4'), 0);
}

TEST(Dictionary, WordRule) {
    CWordDictionary dict;
    for (const char* word : {"CAT", "ABCDEF", "ZZZ"}) EXPECT_TRUE(dict.IsValidWord(word)) << word;
    for (const char* word :
         {"", "AB", "ABCDEFG", "cat", "Cat", "CA T", "CAT1", "CO-OP", "DON'T", "CAF\xC9", "CA\tT"})
        EXPECT_FALSE(dict.IsValidWord(word)) << word;
    EXPECT_FALSE(dict.IsValidWord(std::string("CA\0T", 4)));
}

TEST(Dictionary, AddWordStoresOnceAndRaisesWeights) {
    CWordDictionary dict;
    EXPECT_TRUE(dict.AddWord("CAT"));
    EXPECT_TRUE(dict.IsModified());
    EXPECT_TRUE(dict.Contains("CAT"));
    EXPECT_EQ(dict.LetterWeight('C'), 2);
    EXPECT_EQ(dict.LetterWeight('A'), 2);
    EXPECT_EQ(dict.LetterWeight('T'), 2);
    EXPECT_EQ(dict.LetterWeight('B'), 1);

    EXPECT_FALSE(dict.AddWord("CAT"));
    EXPECT_EQ(dict.LetterWeight('C'), 2);
    EXPECT_EQ(dict.WordCount(), 1u);

    EXPECT_TRUE(dict.AddWord("ABBA"));  // every occurrence counts
    EXPECT_EQ(dict.LetterWeight('A'), 4);
    EXPECT_EQ(dict.LetterWeight('B'), 3);
}

TEST(Dictionary, RefusedWordsChangeNothing) {
    CWordDictionary dict;
    for (const char* word : {"cat", "AB", "ABCDEFG", "ICE CREAM", "X-RAY"})
        EXPECT_FALSE(dict.AddWord(word)) << word;
    EXPECT_FALSE(dict.IsModified());
    EXPECT_EQ(dict.WordCount(), 0u);
    EXPECT_EQ(dict.LetterWeight('A'), 1);

    EXPECT_TRUE(dict.AddWord("ABCDEF"));
    EXPECT_FALSE(dict.AddWord("cat"));
    EXPECT_TRUE(dict.IsModified());  // stays set after later refusals
}

TEST(Dictionary, ContainsIsExact) {
    CWordDictionary dict;
    dict.AddWord("CATS");
    EXPECT_TRUE(dict.Contains("CATS"));
    EXPECT_FALSE(dict.Contains("CAT"));
    EXPECT_FALSE(dict.Contains("CATSS"));
    EXPECT_FALSE(dict.Contains("cats"));
}

TEST(Dictionary, BucketsKeepInsertionOrder) {
    CWordDictionary dict;
    for (const char* word : {"CAT", "DOG", "CAB", "ACE", "CAD", "COT"}) dict.AddWord(word);
    EXPECT_EQ(dict.BucketSize('C', 'A'), 3);
    EXPECT_EQ(dict.BucketSize('C', 'O'), 1);
    EXPECT_EQ(dict.BucketSize('A', 'C'), 1);
    EXPECT_EQ(dict.Bucket(2, 0), (WordList{"CAT", "CAB", "CAD"}));
    EXPECT_EQ(StoredWords(dict), (WordList{"ACE", "CAT", "CAB", "CAD", "COT", "DOG"}));
}

TEST(Dictionary, NormalizeWord) {
    EXPECT_EQ(Normalized("cat"), "CAT");
    EXPECT_EQ(Normalized("MiXeD"), "MIXED");
    EXPECT_EQ(Normalized(""), "");
    EXPECT_EQ(Normalized("fu\xDF"), "FUSS");
    EXPECT_EQ(Normalized("stra\xDF"
                         "e"),
              "STRASSE");
    EXPECT_EQ(Normalized("\xDF\xDF"), "SSSS");
    CWordDictionary dict;
    EXPECT_TRUE(dict.AddWord(Normalized("fu\xDF")));
    EXPECT_FALSE(
        dict.AddWord(Normalized("stra\xDF"
                                "e")));
    // Text of any length is handled whole.
    const std::string longText(5000, 'q');
    EXPECT_EQ(Normalized(longText), std::string(5000, 'Q'));
}

}  // namespace
