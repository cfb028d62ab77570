// WordKeySet: a set of WordKey values in one flat, open-addressed table, so
// that a lookup in a dictionary of a million words costs about one cache miss.
#ifndef VREL_ENGINE_WORD_KEY_SET_H_
#define VREL_ENGINE_WORD_KEY_SET_H_

#include <cstddef>
#include <cstdint>
#include <vector>

class WordKeySet {
  public:
    // Answers false when the key was there already. Keys are never 0.
    bool Insert(std::uint64_t key) {
        if (2 * (m_nSize + 1) > m_slots.size()) Grow();
        std::uint64_t& slot = m_slots[Slot(m_slots, key)];
        if (slot == key) return false;
        slot = key;
        ++m_nSize;
        return true;
    }
    bool Contains(std::uint64_t key) const {
        return !m_slots.empty() && m_slots[Slot(m_slots, key)] == key;
    }
    std::size_t Size() const { return m_nSize; }
    void Clear() {
        m_slots.clear();
        m_nSize = 0;
    }

  private:
    // Index of the slot holding key, or of the empty slot where it belongs.
    // The table is never more than half full, so the probe ends.
    static std::size_t Slot(const std::vector<std::uint64_t>& slots, std::uint64_t key) {
        const std::size_t mask = slots.size() - 1;
        std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
        while (slots[i] != 0 && slots[i] != key) i = (i + 1) & mask;
        return i;
    }
    void Grow() {
        std::vector<std::uint64_t> slots(m_slots.empty() ? 64 : 2 * m_slots.size(), 0);
        for (std::uint64_t key : m_slots)
            if (key != 0) slots[Slot(slots, key)] = key;
        m_slots.swap(slots);
    }

    std::vector<std::uint64_t> m_slots;
    std::size_t m_nSize = 0;
};

#endif  // VREL_ENGINE_WORD_KEY_SET_H_
