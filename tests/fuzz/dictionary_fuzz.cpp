// libFuzzer target over the dictionary reader. Each input is loaded as
// VREL.DAT from an in-memory folder; the dictionary must hold what the plain
// reader makes of the lines one by one, its invariants must hold, and a save
// followed by a load must give the same dictionary and the same bytes when
// saved again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "dictionary.h"
#include "dictionary_file.h"
#include "platform.h"

namespace {

const std::string kFolder = "/memory/";

// Files live in a map; message boxes and exits must not happen here.
class MemoryPlatform : public PlatformWrapper {
  public:
    std::map<std::string, std::string> files;

    std::string ProgramDirectory() override { return kFolder; }

    std::unique_ptr<InputFile> OpenForRead(const std::string& path, FileError* error) override {
        auto file = files.find(path);
        if (file == files.end()) {
            ReportFileError(error, FileError::kNotFound);
            return nullptr;
        }
        return std::make_unique<MemoryInput>(file->second);
    }
    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path, FileError*) override {
        files[path].clear();
        return std::make_unique<MemoryOutput>(files[path]);
    }
    bool MoveOver(const std::string& from, const std::string& to, FileError* error) override {
        auto file = files.find(from);
        if (file == files.end()) {
            ReportFileError(error, FileError::kNotFound);
            return false;
        }
        files[to] = std::move(file->second);
        files.erase(from);
        return true;
    }
    // One process: there is no one to keep out.
    std::unique_ptr<FileLock> LockFile(const std::string&, FileError*) override {
        return std::make_unique<FileLock>();
    }
    bool RemoveFile(const std::string& path) override { return files.erase(path) == 1; }
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override { std::abort(); }
    [[noreturn]] void ExitProcess(int) override { std::abort(); }

  private:
    // Hands the bytes out in small, uneven pieces to exercise line joins.
    class MemoryInput : public InputFile {
      public:
        explicit MemoryInput(const std::string& bytes) : m_bytes(bytes) {}
        long Read(char* buffer, std::size_t size) override {
            std::size_t count = std::min(size, m_bytes.size() - m_nPosition);
            count = std::min<std::size_t>(count, 1 + m_nPosition % 7919);
            std::memcpy(buffer, m_bytes.data() + m_nPosition, count);
            m_nPosition += count;
            return static_cast<long>(count);
        }

      private:
        const std::string& m_bytes;
        std::size_t m_nPosition = 0;
    };
    class MemoryOutput : public OutputFile {
      public:
        explicit MemoryOutput(std::string& bytes) : m_bytes(bytes) {}
        bool Write(const char* data, std::size_t size) override {
            m_bytes.append(data, size);
            return true;
        }
        bool Sync() override { return true; }
        bool Close() override { return true; }

      private:
        std::string& m_bytes;
    };
};

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every stored word valid, in its bucket, stored once; weights 1 + counts.
void CheckInvariants(const CWordDictionary& dictionary) {
    const std::string alphabet = dictionary.GetAlphabet();
    const int letters = static_cast<int>(alphabet.size());
    std::map<char, int> counts;
    std::set<std::string> seen;
    for (int i = 0; i < MAX_LETTERS; ++i) {
        for (int j = 0; j < MAX_LETTERS; ++j) {
            for (const std::string& word : dictionary.Bucket(i, j)) {
                Check(i < letters && j < letters);
                Check(dictionary.IsValidWord(word));
                Check(dictionary.LetterIndex(word[0]) == i && dictionary.LetterIndex(word[1]) == j);
                Check(seen.insert(word).second);
                Check(dictionary.Contains(word));
                for (char c : word) ++counts[c];
            }
        }
    }
    for (char letter : alphabet) Check(dictionary.LetterWeight(letter) == 1 + counts[letter]);
    Check(seen.size() == dictionary.WordCount());
}

bool SameBuckets(const CWordDictionary& a, const CWordDictionary& b) {
    for (int i = 0; i < MAX_LETTERS; ++i)
        for (int j = 0; j < MAX_LETTERS; ++j)
            if (a.Bucket(i, j) != b.Bucket(i, j)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryPlatform platform;
    Platform::Set(&platform);
    const std::string dictionaryPath = kFolder + "VREL.DAT";
    platform.files.clear();
    platform.files[dictionaryPath].assign(reinterpret_cast<const char*>(data), size);

    CWordDictionary loaded;
    loaded.LoadFromFile(kFolder);
    Check(!loaded.IsModified());
    CheckInvariants(loaded);

    CWordDictionary lineByLine;
    Check(ReadDictionaryLines(*platform.OpenForRead(dictionaryPath, nullptr),
                              [&](const DictionaryLine& line) {
                                  if (line.TooLong()) return;
                                  std::string word = line.text;
                                  CWordDictionary::NormalizeWord(word);
                                  lineByLine.AddWord(word);
                              }));
    Check(SameBuckets(loaded, lineByLine));
    for (char letter : loaded.GetAlphabet())
        Check(loaded.LetterWeight(letter) == lineByLine.LetterWeight(letter));

    loaded.SaveToFile(kFolder);
    Check(platform.files.size() == 1);  // the temporary file is gone
    const std::string saved = platform.files[dictionaryPath];
    std::size_t expectedSize = 0;
    for (int i = 0; i < MAX_LETTERS; ++i)
        for (int j = 0; j < MAX_LETTERS; ++j)
            for (const std::string& word : loaded.Bucket(i, j)) expectedSize += word.size() + 2;
    Check(saved.size() == expectedSize);

    CWordDictionary reloaded;
    reloaded.LoadFromFile(kFolder);
    Check(SameBuckets(loaded, reloaded));
    reloaded.SaveToFile(kFolder);
    Check(platform.files[dictionaryPath] == saved);
    return 0;
}
