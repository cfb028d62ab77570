// Reading and writing dictionary files: the line reader, the fast reader
// AddWordsFrom, and the load and save of VREL.DAT.
#include "dictionary_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary.h"
#include "platform.h"
#include "texts.h"

namespace {

constexpr char kEndOfFile = 0x1A;  // Ctrl-Z

// A file that another program holds for a moment (a backup program, an
// indexer, a virus scanner) is tried again every kRetryPauseMs for about a
// second; a save waits about two seconds for another copy's save to end.
constexpr int kRetryPauseMs = 20;
constexpr int kBriefHoldTries = 1000 / kRetryPauseMs;
constexpr int kSaveLockTries = 2000 / kRetryPauseMs;

// Runs attempt(&error) until it succeeds, fails for a reason other than a
// busy file, or has been tried `tries` times; answers its last result.
template <typename Attempt>
auto TryWhileBusy(int tries, FileError& error, Attempt attempt) {
    for (int tried = 1;; ++tried) {
        error = FileError::kFailed;
        auto result = attempt(&error);
        if (result || error != FileError::kBusy || tried >= tries) return result;
        Platform::Get().Pause(kRetryPauseMs);
    }
}

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// ---------------------------------------------------------------------------
// AddWordsFrom, the fast reader: for every line the same as ReadDictionaryLines
// followed by NormalizeWord and AddWord, but fast on big files. Lines are cut
// out of large reads in place; a line that cannot become a word is dropped
// before any copy; the words are collected as numbers and stored at the end,
// one bucket at a time.

constexpr std::size_t kReadSize = 64 * 1024;
constexpr int kTailBits = WordIndex::TAIL_LETTERS * WordIndex::LETTER_BITS;

// Turns lines into the numbers of the valid words they hold.
class LineCleaner {
  public:
    explicit LineCleaner(const CWordDictionary& dictionary) : m_dictionary(dictionary) {
        // Letters below 0x80 that upper-casing leaves as they are need no
        // normalising: such bytes are single characters in every code page.
        m_plainLetter.fill(-1);
        std::string letters;
        for (char c : dictionary.GetAlphabet())
            if (static_cast<unsigned char>(c) < 0x80) letters += c;
        std::string upper = letters;
        Platform::Get().UpperCase(upper);
        if (upper.size() != letters.size()) return;
        for (std::size_t i = 0; i < letters.size(); ++i)
            if (upper[i] == letters[i])
                m_plainLetter[static_cast<unsigned char>(letters[i])] =
                    static_cast<std::int8_t>(dictionary.LetterIndex(letters[i]));
    }

    // One line, without its line end.
    void Line(const char* begin, const char* end) {
        while (begin != end && IsWhiteSpace(*begin)) ++begin;
        while (end != begin && IsWhiteSpace(end[-1])) --end;
        const std::size_t length = static_cast<std::size_t>(end - begin);
        // Normalising never shortens text, and one byte gives at most "SS".
        if (length < 2 || length > static_cast<std::size_t>(MAX_WORD_LEN)) return;
        if (length >= static_cast<std::size_t>(MIN_WORD_LEN)) {
            // A byte off the plain letters makes some index negative.
            const int first = m_plainLetter[static_cast<unsigned char>(begin[0])];
            const int second = m_plainLetter[static_cast<unsigned char>(begin[1])];
            int all = first | second;
            TailCode tail = 0;
            for (std::size_t k = 2; k < length; ++k) {
                const int letter = m_plainLetter[static_cast<unsigned char>(begin[k])];
                all |= letter;
                tail |= WordIndex::LetterCode(static_cast<int>(k - 2), letter);
            }
            if (all >= 0) return Add(first, second, tail);
        }
        m_word.assign(begin, length);
        CWordDictionary::NormalizeWord(m_word);
        if (!m_dictionary.IsValidWord(m_word)) return;
        TailCode tail = 0;
        for (std::size_t k = 2; k < m_word.size(); ++k)
            tail |=
                WordIndex::LetterCode(static_cast<int>(k - 2), m_dictionary.LetterIndex(m_word[k]));
        Add(m_dictionary.LetterIndex(m_word[0]), m_dictionary.LetterIndex(m_word[1]), tail);
    }

    // The tail codes of the words read, by bucket, in the order read.
    std::vector<std::vector<TailCode>>& Words() { return m_words; }

  private:
    void Add(int first, int second, TailCode tail) {
        m_words[CWordDictionary::BucketNumber(first, second)].push_back(tail);
    }

    const CWordDictionary& m_dictionary;
    std::array<std::int8_t, 256> m_plainLetter;
    std::string m_word;
    std::vector<std::vector<TailCode>> m_words =
        std::vector<std::vector<TailCode>>(WordIndex::BUCKETS);
};

// Moves an unfinished line to dest, cut to what decides what it can become:
// leading white space goes, and past MAX_WORD_LEN bytes only white space can
// follow in a word, which trimming removes. Answers the bytes kept, or sets
// dead when the line can no longer be a word.
std::size_t KeepUnfinished(const char* line, const char* end, char* dest, bool& dead) {
    while (line != end && IsWhiteSpace(*line)) ++line;
    std::size_t length = static_cast<std::size_t>(end - line);
    if (length > static_cast<std::size_t>(MAX_WORD_LEN)) {
        if (!std::all_of(line + MAX_WORD_LEN, end, IsWhiteSpace)) {
            dead = true;
            return 0;
        }
        length = MAX_WORD_LEN;
    }
    std::memmove(dest, line, length);
    return length;
}

// A set of tail codes as bits, with a second level of bits marking the
// 64-bit words in use, so that emptying it costs only what it holds.
class TailSet {
  public:
    // The bits come zeroed from calloc, which leaves the pages that no tail
    // touches unwritten: a small file costs a few of them, not 128 KiB.
    TailSet() : m_bits(static_cast<std::uint64_t*>(std::calloc(kWords, sizeof(std::uint64_t)))) {
        if (!m_bits) throw std::bad_alloc();
    }

    // False when the tail was there already.
    bool Insert(TailCode tail) {
        std::uint64_t& word = m_bits[tail / 64];
        const std::uint64_t bit = std::uint64_t{1} << (tail % 64);
        if (word & bit) return false;
        word |= bit;
        m_used[tail / 4096] |= std::uint64_t{1} << (tail / 64 % 64);
        return true;
    }

    // Appends the tails in increasing order to out and empties the set.
    void TakeSorted(std::vector<TailCode>& out) {
        for (std::size_t u = 0; u < m_used.size(); ++u) {
            for (; m_used[u]; m_used[u] &= m_used[u] - 1) {
                const std::size_t index =
                    u * 64 + static_cast<std::size_t>(std::countr_zero(m_used[u]));
                for (std::uint64_t word = m_bits[index]; word; word &= word - 1)
                    out.push_back(static_cast<TailCode>(index * 64 + std::countr_zero(word)));
                m_bits[index] = 0;
            }
        }
    }

  private:
    static constexpr std::size_t kWords = std::size_t{1} << (kTailBits - 6);
    struct Free {
        void operator()(std::uint64_t* bits) const { std::free(bits); }
    };
    std::unique_ptr<std::uint64_t[], Free> m_bits;
    std::array<std::uint64_t, kWords / 64> m_used{};
};

// Collects one line byte by byte, trimmed at both ends, holding at most
// MAX_LINE_TEXT bytes of it however long the line is.
class LineBuilder {
  public:
    void Add(char c) {
        ++m_nBytes;
        if (IsWhiteSpace(c)) {
            if (m_line.length == 0) return;  // leading white space
            ++m_nPendingSpace;
            if (m_strPendingSpace.size() < MAX_LINE_TEXT) m_strPendingSpace += c;
            return;
        }
        if (m_nPendingSpace > 0) {  // white space inside the line is kept
            m_line.length += m_nPendingSpace;
            Append(m_strPendingSpace);
            m_nPendingSpace = 0;
            m_strPendingSpace.clear();
        }
        ++m_line.length;
        Append(std::string_view(&c, 1));
    }

    bool Empty() const { return m_nBytes == 0; }

    // Hands the line on and starts the next one.
    void Finish(const std::function<void(const DictionaryLine&)>& onLine) {
        ++m_line.number;
        onLine(m_line);
        m_line.text.clear();
        m_line.length = 0;
        m_nBytes = 0;
        m_nPendingSpace = 0;
        m_strPendingSpace.clear();
    }

  private:
    void Append(std::string_view bytes) {
        const std::size_t room = MAX_LINE_TEXT - std::min(MAX_LINE_TEXT, m_line.text.size());
        m_line.text.append(bytes.substr(0, room));
    }

    DictionaryLine m_line;
    std::size_t m_nBytes = 0;
    std::size_t m_nPendingSpace = 0;
    std::string m_strPendingSpace;
};

}  // namespace

bool ReadDictionaryLines(InputFile& file,
                         const std::function<void(const DictionaryLine&)>& onLine) {
    std::vector<char> buffer(64 * 1024);
    LineBuilder line;
    for (;;) {
        const long count = file.Read(buffer.data(), buffer.size());
        if (count < 0) return false;
        if (count == 0) break;
        for (long i = 0; i < count; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            if (c == kEndOfFile) {
                if (!line.Empty()) line.Finish(onLine);
                return true;
            }
            if (c == '\n')
                line.Finish(onLine);
            else
                line.Add(c);
        }
    }
    if (!line.Empty()) line.Finish(onLine);
    return true;
}

void ShowError(const std::string& message) {
    Platform& platform = Platform::Get();
    platform.ShowMessageBox(message, platform.LoadMessageText(IDS_ERROR_CAPTION), kBoxOk);
}

void ShowFatalError(const std::string& message) {
    Platform& platform = Platform::Get();
    platform.ShowMessageBox(message, platform.LoadMessageText(IDS_FATAL_ERROR_CAPTION),
                            kBoxIconExclamation);
    platform.ExitProcess(1);
    std::abort();  // a replacement platform must not return from ExitProcess
}

std::string GetProgramDirectory() { return Platform::Get().ProgramDirectory(); }

void CWordDictionary::LoadFromFile() { LoadFromFile(GetProgramDirectory()); }

void CWordDictionary::LoadFromFile(const std::string& folder) {
    const std::string path = folder + LoadText(IDS_DICTIONARY_FILE);
    FileError error;
    std::unique_ptr<InputFile> file = TryWhileBusy(kBriefHoldTries, error, [&](FileError* reason) {
        return Platform::Get().OpenForRead(path, reason);
    });
    // Going on with part of the file would let a later save drop the rest.
    if (!file || !AddWordsFrom(*file))
        ShowFatalError(FormatMessageText(IDS_CANNOT_LOAD, path.c_str()));
    m_bModified = false;
    m_strLoadedPath = path;
}

bool CWordDictionary::ReadSavedFile(const std::string& path) {
    FileError error;
    std::unique_ptr<InputFile> file = TryWhileBusy(kBriefHoldTries, error, [&](FileError* reason) {
        return Platform::Get().OpenForRead(path, reason);
    });
    if (!file) return error == FileError::kNotFound;
    return AddWordsFrom(*file);
}

void CWordDictionary::SaveToFile() const { SaveToFile(GetProgramDirectory()); }

bool CWordDictionary::SaveToFile(const std::string& folder) const {
    return SaveAs(folder + LoadText(IDS_DICTIONARY_FILE), folder + LoadText(IDS_TEMPORARY_FILE));
}

bool CWordDictionary::SaveAs(const std::string& path, const std::string& temporaryPath) const {
    Platform& platform = Platform::Get();
    const std::string cannotSave = FormatMessageText(IDS_CANNOT_SAVE, temporaryPath.c_str());
    FileError error;
    // Held from before the read of the file on disk to after the replace.
    std::unique_ptr<FileLock> lock = TryWhileBusy(
        kSaveLockTries, error, [&](FileError* reason) { return platform.LockFile(path, reason); });
    if (!lock) {
        ShowError(cannotSave);
        return false;
    }
    std::unique_ptr<OutputFile> file = TryWhileBusy(kBriefHoldTries, error, [&](FileError* reason) {
        return platform.CreateForWrite(temporaryPath, reason);
    });
    if (!file) {
        lock.reset();  // other saves need not wait for the box
        ShowError(cannotSave);
        return false;
    }
    // What another copy may have saved since the load; each bucket is
    // written with the words of it that this dictionary lacks at its end.
    CWordDictionary onDisk;
    bool written = path != m_strLoadedPath || onDisk.ReadSavedFile(path);
    const auto write = [&](const std::string& word) {
        const std::string line = word + "\r\n";
        written = written && file->Write(line.data(), line.size());
    };
    const int letters = static_cast<int>(m_strAlphabet.size());
    for (int i = 0; i < letters && written; ++i) {
        for (int j = 0; j < letters && written; ++j) {
            for (const std::string& word : m_buckets[i][j]) write(word);
            for (const std::string& word : onDisk.m_buckets[i][j])
                if (!Contains(word)) write(word);
        }
    }
    written = written && file->Sync();
    written = file->Close() && written;
    if (!written) {
        // The old file stays in place; the partial copy must not linger.
        platform.RemoveFile(temporaryPath);
        lock.reset();
        ShowError(cannotSave);
        return false;
    }
    const bool moved = TryWhileBusy(kBriefHoldTries, error, [&](FileError* reason) {
        return platform.MoveOver(temporaryPath, path, reason);
    });
    lock.reset();
    if (!moved) {
        ShowError(FormatMessageText(IDS_CANNOT_RENAME, temporaryPath.c_str(), path.c_str()));
        return false;
    }
    return true;
}

bool CWordDictionary::AddWordsFrom(InputFile& file) {
    LineCleaner cleaner(*this);
    // Room for the kept part of an unfinished line before each read, and for
    // a line end after the bytes read, which ends the scan for lines.
    std::vector<char> buffer(MAX_WORD_LEN + kReadSize + 1);
    std::size_t kept = 0;
    bool dead = false;  // the unfinished line can be no word: skip to its end
    bool complete = true;
    for (;;) {
        const long count = file.Read(buffer.data() + kept, kReadSize);
        if (count <= 0) {
            complete = count == 0;
            if (complete && !dead) cleaner.Line(buffer.data(), buffer.data() + kept);
            break;
        }
        char* line = buffer.data();
        char* end = buffer.data() + kept + count;
        char* endOfFile = static_cast<char*>(std::memchr(buffer.data() + kept, kEndOfFile, count));
        if (endOfFile) end = endOfFile;
        if (dead) {
            char* lineEnd =
                static_cast<char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
            if (!lineEnd) {
                if (endOfFile) break;
                continue;
            }
            dead = false;
            line = lineEnd + 1;
        }
        *end = '\n';
        for (char* lineEnd = line;; line = ++lineEnd) {
            while (*lineEnd != '\n') ++lineEnd;
            if (lineEnd == end) break;
            cleaner.Line(line, lineEnd);
        }
        if (endOfFile) {
            cleaner.Line(line, end);
            break;
        }
        kept = KeepUnfinished(line, end, buffer.data(), dead);
    }
    StoreWords(cleaner.Words());
    return complete;
}

void CWordDictionary::StoreWords(std::vector<std::vector<TailCode>>& words) {
    TailSet seen;
    std::vector<TailCode> fresh;
    for (int bucket = 0; bucket < WordIndex::BUCKETS; ++bucket) {
        if (words[bucket].empty()) continue;
        const int first = bucket / MAX_LETTERS;
        const int second = bucket % MAX_LETTERS;
        // The first of equal words is stored, unless the word was stored before.
        for (TailCode tail : m_index.Tails(bucket)) seen.Insert(tail);
        fresh.clear();
        for (TailCode tail : words[bucket])
            if (seen.Insert(tail)) fresh.push_back(tail);
        std::vector<TailCode>().swap(words[bucket]);

        WordList& list = m_buckets[first][second];
        list.reserve(list.size() + fresh.size());
        char word[MAX_WORD_LEN] = {m_strAlphabet[first], m_strAlphabet[second]};
        m_nLetterWeight[first] += static_cast<std::int32_t>(fresh.size());
        m_nLetterWeight[second] += static_cast<std::int32_t>(fresh.size());
        for (TailCode tail : fresh) {
            std::size_t length = 2;
            for (int k = 0; k < WordIndex::TAIL_LETTERS; ++k) {
                const int letter = WordIndex::LetterAt(tail, k);
                if (letter < 0) break;
                word[length++] = m_strAlphabet[letter];
                ++m_nLetterWeight[letter];
            }
            list.emplace_back(word, length);
        }
        if (!fresh.empty()) m_bModified = true;

        std::vector<TailCode> sorted;
        sorted.reserve(m_index.Tails(bucket).size() + fresh.size());
        seen.TakeSorted(sorted);
        m_index.Assign(bucket, std::move(sorted));
    }
}
