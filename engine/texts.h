// Texts of the string table and printf-style formatting of them.
#ifndef VREL_ENGINE_TEXTS_H_
#define VREL_ENGINE_TEXTS_H_

#include <string>

#include "string_ids.h"

// The string table entry id, through the platform.
std::string LoadText(int id);

// Entry id used as a printf format with the given arguments.
std::string FormatText(int id, ...);
// As FormatText, from the entry in the encoding of paths and message boxes
// (Platform::LoadMessageText): for messages that name a path.
std::string FormatMessageText(int id, ...);

// The compiled-in text of entry id, or nullptr; the native string table.
const char* BuiltInText(int id);

#endif  // VREL_ENGINE_TEXTS_H_
