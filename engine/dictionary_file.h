// The dictionary file: its reader, the error boxes of the engine and the
// program's folder.
//
// The reader applies text-mode rules to raw bytes so that every platform reads
// a file alike: LF ends a line (a CR before it is trailing white space and
// trimmed), a lone CR is an ordinary byte, the first Ctrl-Z ends the file, a
// last line without a line end counts, and lines may be of any length.
#ifndef VREL_ENGINE_DICTIONARY_FILE_H_
#define VREL_ENGINE_DICTIONARY_FILE_H_

#include <cstddef>
#include <functional>
#include <string>

class InputFile;

// Longest trimmed line that is cleaned and offered as a word; longer lines can
// never be words and are skipped whole.
constexpr std::size_t MAX_LINE_TEXT = 1023;

// One line of a dictionary file, trimmed of white space at both ends.
struct DictionaryLine {
    std::size_t number = 0;  // 1-based line number
    std::string text;        // trimmed text; its first MAX_LINE_TEXT bytes if longer
    std::size_t length = 0;  // full length of the trimmed text
    bool TooLong() const { return length > MAX_LINE_TEXT; }
};

// Reads the file to its end (or first Ctrl-Z), calling onLine for each line.
// Answers false when a read failed.
bool ReadDictionaryLines(InputFile& file, const std::function<void(const DictionaryLine&)>& onLine);

// Error box captioned "Vrel:  Error"; returns when it is closed.
void ShowError(const std::string& message);
// Error box captioned "Vrel:  Fatal Error"; then the process ends with code 1.
[[noreturn]] void ShowFatalError(const std::string& message);
// The executable's folder, ending in the path separator.
std::string GetProgramDirectory();

#endif  // VREL_ENGINE_DICTIONARY_FILE_H_
