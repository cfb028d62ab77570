// Generated word lists for load and search tests and benchmarks.
#ifndef VREL_TESTS_GENERATED_WORDS_H_
#define VREL_TESTS_GENERATED_WORDS_H_

#include <string>

// Calls f with count distinct valid words: every four-letter word from AAAA to
// ZZZZ, then five-letter words from AAAAA on.
template <typename F>
void ForEachGeneratedWord(long count, F f) {
    for (int length = 4; length <= 6 && count > 0; ++length) {
        std::string word(length, 'A');
        for (;;) {
            f(word);
            if (--count == 0) return;
            int i = length - 1;
            while (i >= 0 && word[i] == 'Z') word[i--] = 'A';
            if (i < 0) break;
            ++word[i];
        }
    }
}

// Calls f with every word of three to six letters A-Z that starts with prefix.
template <typename F>
void ForEachWordStartingWith(const std::string& prefix, F f) {
    for (int length = 3; length <= 6; ++length) {
        std::string word = prefix + std::string(length - prefix.size(), 'A');
        for (;;) {
            f(word);
            int i = length - 1;
            while (i >= static_cast<int>(prefix.size()) && word[i] == 'Z') word[i--] = 'A';
            if (i < static_cast<int>(prefix.size())) break;
            ++word[i];
        }
    }
}

#endif  // VREL_TESTS_GENERATED_WORDS_H_
