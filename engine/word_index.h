// WordIndex: the stored words of each two-letter bucket as a sorted array of
// codes of their remaining letters. A lookup is a binary search in one
// bucket, and the words that begin with any prefix form one run of it, so the
// board search can give up a path as soon as no stored word begins with it.
//
//   WordIndex index;
//   index.Insert(bucket, tail);               // false when it is there already
//   WordRange words = index.WithThird(bucket, letter);  // bucket words, third letter
//   words = WordIndex::Narrow(words, 1, next);          // ... and fourth letter next
//   if (WordIndex::FirstIsPrefix(words, 2)) ...         // four-letter word stored
//
// A tail code packs the letters after the first two, each as its alphabet
// index + 1 in five bits, the third letter of the word highest, 0 where the
// word ends. Codes sort as their words do, each word just before the words
// that continue it.
#ifndef VREL_ENGINE_WORD_INDEX_H_
#define VREL_ENGINE_WORD_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <vector>

using TailCode = std::uint32_t;

// A run of one bucket's sorted tail codes.
struct WordRange {
    const TailCode* first = nullptr;
    const TailCode* last = nullptr;
    bool Empty() const { return first == last; }
    std::size_t Size() const { return static_cast<std::size_t>(last - first); }
};

class WordIndex {
  public:
    static constexpr int TAIL_LETTERS = 4;  // letters after the first two
    static constexpr int LETTER_BITS = 5;   // alphabet index + 1, at most 29
    static constexpr int BUCKETS = 29 * 29;

    // The code of the letter with alphabet index letter at tail position
    // (0 for the word's third letter).
    static constexpr TailCode LetterCode(int position, int letter) {
        return static_cast<TailCode>(letter + 1) << Shift(position);
    }
    // Alphabet index of the letter at tail position, or -1 where the word ends.
    static constexpr int LetterAt(TailCode tail, int position) {
        return static_cast<int>((tail >> Shift(position)) & ((1u << LETTER_BITS) - 1)) - 1;
    }

    WordIndex() : m_buckets(BUCKETS) {}

    bool Contains(int bucket, TailCode tail) const;
    // Stores the tail in its sorted place; false when it was there already.
    bool Insert(int bucket, TailCode tail);
    // Replaces the bucket's contents with these codes, sorted and distinct.
    void Assign(int bucket, std::vector<TailCode> sorted);
    // The bucket's codes, sorted.
    const std::vector<TailCode>& Tails(int bucket) const { return m_buckets[bucket].tails; }

    // Every word of the bucket.
    WordRange Words(int bucket) const {
        const std::vector<TailCode>& tails = m_buckets[bucket].tails;
        return {tails.data(), tails.data() + tails.size()};
    }
    // The words of the bucket whose third letter has the alphabet index letter.
    WordRange WithThird(int bucket, int letter) const {
        const Bucket& b = m_buckets[bucket];
        if (b.thirdStart.empty()) return {};
        const TailCode* base = b.tails.data();
        return {base + b.thirdStart[letter + 1], base + b.thirdStart[letter + 2]};
    }
    // The third letters of the bucket's words, bit index + 1 for each.
    std::uint32_t ThirdLetters(int bucket) const { return m_buckets[bucket].thirdLetters; }
    // Bits (alphabet index + 1) of the letters that may stand at tail
    // position in the range's words, bit 0 for a word that ends before it:
    // exactly those of a short run; every bit for a long one, where finding
    // them would cost more than they save.
    static std::uint32_t LettersAt(WordRange range, int position) {
        if (range.Size() > LONG_RUN) return ~0u;
        std::uint32_t letters = 0;
        for (const TailCode* code = range.first; code != range.last; ++code)
            letters |= 1u << ((*code >> Shift(position)) & (CODES - 1));
        return letters;
    }
    // Of a range of words that agree on their tail letters before position,
    // those whose letter at position has the alphabet index letter.
    static WordRange Narrow(WordRange range, int position, int letter);
    // Of a non-empty range of words that agree on their first length tail
    // letters, whether its first word has no more letters than those.
    static bool FirstIsPrefix(WordRange range, int length) {
        return length >= TAIL_LETTERS || (*range.first & ((1u << Shift(length - 1)) - 1)) == 0;
    }

  private:
    static constexpr int Shift(int position) { return LETTER_BITS * (TAIL_LETTERS - 1 - position); }
    static constexpr int CODES = 1 << LETTER_BITS;
    // Runs longer than this are searched by halving rather than scanned.
    static constexpr std::size_t LONG_RUN = 32;

    struct Bucket {
        std::vector<TailCode> tails;
        // thirdStart[c]: the first tail whose third-letter code is c or more;
        // empty while the bucket is, so that empty buckets stay small.
        std::vector<std::uint32_t> thirdStart;
        std::uint32_t thirdLetters = 0;  // as ThirdLetters
    };
    void CountThirdLetters(Bucket& bucket);

    std::vector<Bucket> m_buckets;
};

#endif  // VREL_ENGINE_WORD_INDEX_H_
