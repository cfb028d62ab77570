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
    std::unique_ptr<InputFile> file = Platform::Get().OpenForRead(path);
    if (!file) ShowFatalError(FormatMessageText(IDS_CANNOT_LOAD, path.c_str()));
    const bool complete = ReadDictionaryLines(*file, [this](const DictionaryLine& line) {
        if (line.TooLong()) return;  // never a word, and not all of it is held
        std::string word = line.text;
        NormalizeWord(word);
        AddWord(word);
    });
    // Going on with part of the file would let a later save drop the rest.
    if (!complete) ShowFatalError(FormatMessageText(IDS_CANNOT_LOAD, path.c_str()));
    m_bModified = false;
}

void CWordDictionary::SaveToFile() const { SaveToFile(GetProgramDirectory()); }

void CWordDictionary::SaveToFile(const std::string& folder) const {
    SaveAs(folder + LoadText(IDS_DICTIONARY_FILE), folder + LoadText(IDS_TEMPORARY_FILE));
}

bool CWordDictionary::SaveAs(const std::string& path, const std::string& temporaryPath) const {
    Platform& platform = Platform::Get();
    std::unique_ptr<OutputFile> file = platform.CreateForWrite(temporaryPath);
    if (!file) {
        ShowError(FormatMessageText(IDS_CANNOT_SAVE, temporaryPath.c_str()));
        return false;
    }
    const int letters = static_cast<int>(m_strAlphabet.size());
    bool written = true;
    for (int i = 0; i < letters && written; ++i) {
        for (int j = 0; j < letters && written; ++j) {
            for (const std::string& word : m_buckets[i][j]) {
                const std::string line = word + "\r\n";
                if (!file->Write(line.data(), line.size())) {
                    written = false;
                    break;
                }
            }
        }
    }
    written = written && file->Sync();
    written = file->Close() && written;
    if (!written) {
        // The old file stays in place; the partial copy must not linger.
        platform.RemoveFile(temporaryPath);
        ShowError(FormatMessageText(IDS_CANNOT_SAVE, temporaryPath.c_str()));
        return false;
    }
    if (!platform.MoveOver(temporaryPath, path)) {
        ShowError(FormatMessageText(IDS_CANNOT_RENAME, temporaryPath.c_str(), path.c_str()));
        return false;
    }
    return true;
}
