#include "dictionary.h"

#include <algorithm>

#include "platform.h"
#include "texts.h"

CWordDictionary::CWordDictionary() : m_strAlphabet(LoadText(IDS_ALPHABET)), m_bModified(false) {
    // Longer alphabets do not fit the tables; only their first letters are used.
    if (m_strAlphabet.size() > static_cast<std::size_t>(MAX_LETTERS))
        m_strAlphabet.resize(MAX_LETTERS);
    for (int i = 0; i < MAX_LETTERS; ++i)
        m_nLetterWeight[i] = i < static_cast<int>(m_strAlphabet.size()) ? 1 : 0;
    m_letterIndex.fill(-1);
    // The first occurrence of a byte in the alphabet gives its index.
    for (int i = static_cast<int>(m_strAlphabet.size()) - 1; i >= 0; --i)
        m_letterIndex[static_cast<unsigned char>(m_strAlphabet[i])] = static_cast<std::int8_t>(i);
}

int CWordDictionary::LetterIndex(char letter) const {
    return m_letterIndex[static_cast<unsigned char>(letter)];
}

void CWordDictionary::NormalizeWord(std::string& word) {
    Platform::Get().UpperCase(word);
    const char sharpS = static_cast<char>(0xDF);
    if (word.find(sharpS) == std::string::npos) return;
    std::string expanded;
    expanded.reserve(word.size() + 8);
    for (char c : word) {
        if (c == sharpS)
            expanded += "SS";
        else
            expanded += c;
    }
    word.swap(expanded);
}

bool CWordDictionary::IsValidWord(std::string_view word) const {
    if (word.size() < static_cast<std::size_t>(MIN_WORD_LEN) ||
        word.size() > static_cast<std::size_t>(MAX_WORD_LEN))
        return false;
    return std::all_of(word.begin(), word.end(), [this](char c) { return LetterIndex(c) >= 0; });
}

TailCode CWordDictionary::TailOf(std::string_view word) const {
    TailCode tail = 0;
    for (std::size_t k = 2; k < word.size(); ++k)
        tail |= WordIndex::LetterCode(static_cast<int>(k - 2), LetterIndex(word[k]));
    return tail;
}

bool CWordDictionary::Contains(std::string_view word) const {
    // The index holds exactly the words of the buckets.
    return IsValidWord(word) &&
           m_index.Contains(BucketNumber(LetterIndex(word[0]), LetterIndex(word[1])), TailOf(word));
}

bool CWordDictionary::AddWord(std::string_view word) {
    if (!IsValidWord(word)) return false;
    const int first = LetterIndex(word[0]);
    const int second = LetterIndex(word[1]);
    if (!m_index.Insert(BucketNumber(first, second), TailOf(word))) return false;
    m_buckets[first][second].emplace_back(word);
    m_bModified = true;
    for (char c : word) ++m_nLetterWeight[LetterIndex(c)];
    return true;
}

int CWordDictionary::LetterWeight(char letter) const {
    const int index = LetterIndex(letter);
    return index < 0 ? 0 : m_nLetterWeight[index];
}

int CWordDictionary::BucketSize(char first, char second) const {
    const int i = LetterIndex(first);
    const int j = LetterIndex(second);
    if (i < 0 || j < 0) return 0;
    return static_cast<int>(m_buckets[i][j].size());
}

std::size_t CWordDictionary::WordCount() const {
    std::size_t count = 0;
    for (const auto& row : m_buckets)
        for (const WordList& bucket : row) count += bucket.size();
    return count;
}
