// CWordDictionary: the game's words, bucketed by their first two letters, and
// the letter weights that drive the deal.
//
//   CWordDictionary dict;      // alphabet from the string table, no words
//   dict.LoadFromFile();       // VREL.DAT beside the executable
//   dict.AddWord("CAT");       // true when stored; refusals are results
//   if (dict.IsModified()) dict.SaveToFile();
//
// Words are compared byte for byte; callers pass upper-case text (the file
// reader through NormalizeWord).
#ifndef VREL_ENGINE_DICTIONARY_H_
#define VREL_ENGINE_DICTIONARY_H_

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "word_index.h"
#include "word_key_set.h"
#include "word_list.h"

class InputFile;

constexpr int MAX_LETTERS = 29;
constexpr int MIN_WORD_LEN = 3;
constexpr int MAX_WORD_LEN = 6;
static_assert(WordIndex::BUCKETS == MAX_LETTERS * MAX_LETTERS &&
                  WordIndex::TAIL_LETTERS == MAX_WORD_LEN - 2 &&
                  MAX_LETTERS < (1 << WordIndex::LETTER_BITS),
              "the word index has room for every word");

// A word of at most seven bytes packed into one number, its bytes from the
// lowest up and its length in the top byte: equal keys mean equal words.
// Used for lookups beside the buckets, whose words have at most six bytes.
inline std::uint64_t WordKey(std::string_view word) {
    assert(word.size() <= 7);
    std::uint64_t key = static_cast<std::uint64_t>(word.size()) << 56;
    for (std::size_t i = 0; i < word.size() && i < 7; ++i)
        key |= static_cast<std::uint64_t>(static_cast<unsigned char>(word[i])) << (8 * i);
    return key;
}

class CWordDictionary {
  public:
    CWordDictionary();
    CWordDictionary(const CWordDictionary&) = delete;
    CWordDictionary& operator=(const CWordDictionary&) = delete;
    // A dictionary read aside can take another's place whole.
    CWordDictionary(CWordDictionary&&) = default;
    CWordDictionary& operator=(CWordDictionary&&) = default;

    std::string GetAlphabet() const { return m_strAlphabet; }
    // Index of the letter in the alphabet, or -1.
    int LetterIndex(char letter) const;
    // Upper-cases the text by the system's code page and expands each sharp s
    // (0xDF) into "SS". Works on text of any length.
    static void NormalizeWord(std::string& word);
    // Three to six bytes, each a letter of the alphabet.
    bool IsValidWord(std::string_view word) const;
    // The word is valid and stored.
    bool Contains(std::string_view word) const;
    // Stores a valid word not yet stored; false when refused.
    bool AddWord(std::string_view word);
    // 1 + the occurrences of the letter in the stored words; 0 off the alphabet.
    int LetterWeight(char letter) const;
    // Number of stored words beginning with these two letters.
    int BucketSize(char first, char second) const;
    bool IsModified() const { return m_bModified; }

    // The words of bucket [first][second] in the order they were stored.
    const WordList& Bucket(int first, int second) const {
        assert(first >= 0 && first < MAX_LETTERS && second >= 0 && second < MAX_LETTERS);
        return m_buckets[first][second];
    }
    // The stored words sorted within their buckets, for prefix searches.
    const WordIndex& Index() const { return m_index; }
    // The number of bucket [first][second] in Index().
    static int BucketNumber(int first, int second) { return first * MAX_LETTERS + second; }
    // Number of stored words.
    std::size_t WordCount() const;

    // Adds the words of a dictionary file by the reader's rules (see
    // dictionary_file.h), as AddWord would one line after another. Answers
    // false when a read failed; the words before the failure are added.
    bool AddWordsFrom(InputFile& file);
    // Reads VREL.DAT from the program's folder; a file that cannot be opened or
    // read ends the process with the fatal error box. A file that another
    // program holds is tried again for about a second first.
    void LoadFromFile();
    void LoadFromFile(const std::string& folder);
    // Writes the dictionary to VREL.DAT in the program's folder through
    // VREL.XXX; failures are shown in error boxes and VREL.DAT stays whole.
    void SaveToFile() const;
    // The same into a folder's VREL.DAT; answers whether the new file is in
    // place.
    bool SaveToFile(const std::string& folder) const;
    // As SaveToFile, into any path, with a temporary file beside it.
    // Answers whether the new file is in place.
    //
    // Saves of one path never overlap: a save waits about two seconds for
    // another process's save to end. A save over the file that this
    // dictionary was loaded from first adds, in file order, the words that
    // the file holds now and the dictionary lacks (another copy of the
    // program may have saved them), so that no saved word is lost; they go to
    // the ends of their buckets. When that file is there but cannot be read,
    // the save fails. Files that another program holds briefly are tried
    // again for about a second.
    bool SaveAs(const std::string& path, const std::string& temporaryPath) const;

  private:
    // Adds the words of the dictionary file at path, as a save finds it.
    // Answers whether it was read whole or is not there at all.
    bool ReadSavedFile(const std::string& path);
    // The tail code of a valid word.
    TailCode TailOf(std::string_view word) const;
    // Stores valid words, given by bucket number as tail codes, as AddWord
    // would one after another; empties words.
    void StoreWords(std::vector<std::vector<TailCode>>& words);

    std::string m_strAlphabet;
    std::int32_t m_nLetterWeight[MAX_LETTERS];
    bool m_bModified;
    WordList m_buckets[MAX_LETTERS][MAX_LETTERS];
    // Indexes beside the buckets: each byte's letter index, and the stored
    // words sorted, so that lookups stay fast however large a bucket grows.
    std::array<std::int8_t, 256> m_letterIndex;
    WordIndex m_index;
    // The dictionary file of the last completed load.
    std::string m_strLoadedPath;
};

#endif  // VREL_ENGINE_DICTIONARY_H_
