#include "word_key_set.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "dictionary.h"

TEST(WordKey, TellsWordsApartByBytesAndLength) {
    EXPECT_EQ(WordKey("CAT"), WordKey(std::string("CAT")));
    EXPECT_NE(WordKey("CAT"), WordKey("CAB"));
    EXPECT_NE(WordKey("CAT"), WordKey("TAC"));
    EXPECT_NE(WordKey("AAA"), WordKey("AAAA"));
    EXPECT_NE(WordKey(std::string("AA\0", 3)), WordKey("AA"));
    EXPECT_NE(WordKey("\xFF\xFF\xFF\xFF\xFF\xFF"), WordKey("\xFF\xFF\xFF\xFF\xFF"));
}

// Checked against std::set over enough keys to grow the table many times,
// with runs of neighbouring keys that collide in the probe.
TEST(WordKeySet, AgreesWithASetThroughGrowth) {
    WordKeySet keys;
    std::set<std::uint64_t> model;
    std::mt19937_64 random(99);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t key =
            i % 3 == 0 ? (random() | 1) : (static_cast<std::uint64_t>(i / 3) << 8) + 1;
        EXPECT_EQ(keys.Insert(key), model.insert(key).second) << "key " << key;
    }
    EXPECT_EQ(keys.Size(), model.size());
    for (std::uint64_t key : model) ASSERT_TRUE(keys.Contains(key)) << "key " << key;
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t key = random() | 1;
        EXPECT_EQ(keys.Contains(key), model.count(key) == 1) << "key " << key;
    }
    keys.Clear();
    EXPECT_EQ(keys.Size(), 0u);
    EXPECT_FALSE(keys.Contains(*model.begin()));
}
