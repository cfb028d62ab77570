// The language editions of the program and their string tables, compiled in
// for the programs that work as any edition's program does (vrel-tool, tests).
//
//   const Edition* german = FindEdition("de");
//   const char* alphabet = german->Text(IDS_ALPHABET);
#ifndef VREL_ENGINE_EDITIONS_H_
#define VREL_ENGINE_EDITIONS_H_

#include <string_view>

#include "string_ids.h"

struct Edition {
    const char* code;  // "en", "de", ...
    const char* (*text)(int id);

    // Entry id of the edition's string table (Windows-1252), or nullptr.
    const char* Text(int id) const { return text(id); }
};

// Every edition, English first; ends with an entry whose code is nullptr.
extern const Edition kEditions[];

// The edition with that code, or nullptr.
const Edition* FindEdition(std::string_view code);

#endif  // VREL_ENGINE_EDITIONS_H_
