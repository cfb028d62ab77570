// Writes a help source as a Windows Help file, the WinHelp 4.0 ".HLP" format
// that WinHlp32 and Wine's winhlp32 open.
//
// The file is a small file system: a 16-byte header, internal files, and a
// directory of them (a B+ tree). The internal files written are |SYSTEM (the
// title, the main window, the contents topic, the language, a macro that
// brings the window forward), |FONT (the three fonts), |TOPIC (topic headers
// and paragraphs in blocks of 4 KB), |CONTEXT (topic names, by hash, for
// jumps) and |KWBTREE, |KWDATA and |KWMAP (the index: the topics' titles).
// The output depends on the source alone: no date or other varying data goes
// in.
#ifndef VREL_TOOLS_HELPC_HLP_FILE_H_
#define VREL_TOOLS_HELPC_HLP_FILE_H_

#include <string>

#include "help_source.h"

namespace helpc {

// The help file's bytes, of the Windows help (without the text marked
// "@only browser"); false, with the fault, when the source does not fit
// the format (a paragraph too long for one topic block, too many topics).
bool BuildHlpFile(const HelpSource& source, std::string& bytes, SourceError& error);

}  // namespace helpc

#endif  // VREL_TOOLS_HELPC_HLP_FILE_H_
