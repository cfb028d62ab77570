#include "dictionary_file.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
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

void CWordDictionary::SaveToFile(const std::string& folder) const {
    SaveAs(folder + LoadText(IDS_DICTIONARY_FILE), folder + LoadText(IDS_TEMPORARY_FILE));
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
