#include "word_index.h"

#include <algorithm>

bool WordIndex::Contains(int bucket, TailCode tail) const {
    const std::vector<TailCode>& tails = m_buckets[bucket].tails;
    return std::binary_search(tails.begin(), tails.end(), tail);
}

bool WordIndex::Insert(int bucket, TailCode tail) {
    Bucket& b = m_buckets[bucket];
    const auto place = std::lower_bound(b.tails.begin(), b.tails.end(), tail);
    if (place != b.tails.end() && *place == tail) return false;
    b.tails.insert(place, tail);
    if (b.thirdStart.empty()) b.thirdStart.assign(CODES + 1, 0);
    b.thirdLetters |= 1u << (LetterAt(tail, 0) + 1);
    for (int code = LetterAt(tail, 0) + 2; code <= CODES; ++code) ++b.thirdStart[code];
    return true;
}

void WordIndex::Assign(int bucket, std::vector<TailCode> sorted) {
    Bucket& b = m_buckets[bucket];
    b.tails = std::move(sorted);
    CountThirdLetters(b);
}

void WordIndex::CountThirdLetters(Bucket& bucket) {
    std::size_t i = 0;
    bucket.thirdStart.assign(CODES + 1, 0);
    for (int code = 0; code <= CODES; ++code) {
        while (i < bucket.tails.size() && LetterAt(bucket.tails[i], 0) + 1 < code) ++i;
        bucket.thirdStart[code] = static_cast<std::uint32_t>(i);
    }
    bucket.thirdLetters = 0;
    for (TailCode tail : bucket.tails) bucket.thirdLetters |= 1u << (LetterAt(tail, 0) + 1);
}

WordRange WordIndex::Narrow(WordRange range, int position, int letter) {
    if (range.Empty()) return range;
    // The letters before position, which every code of the range shares.
    const TailCode before = ((1u << Shift(-1)) - 1) & ~((1u << Shift(position - 1)) - 1);
    const TailCode low = (*range.first & before) | LetterCode(position, letter);
    const TailCode high = low + (1u << Shift(position));
    const TailCode* first = range.first;
    const TailCode* last = range.last;
    if (range.Size() <= LONG_RUN) {
        // Short runs: a forward scan beats the branches of a binary search.
        while (first != last && *first < low) ++first;
        const TailCode* end = first;
        while (end != last && *end < high) ++end;
        return {first, end};
    }
    first = std::lower_bound(first, last, low);
    return {first, std::lower_bound(first, last, high)};
}
