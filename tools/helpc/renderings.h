// The help source as plain text, as Markdown and as HTML, for readers without
// a help viewer: the topics in the source's order, jumps as plain text or
// links. The plain text and the Markdown are the Windows help, as the help
// file is: they leave out what is marked "@only browser". The HTML page is
// the browser's: it leaves out what is marked "@only windows".
#ifndef VREL_TOOLS_HELPC_RENDERINGS_H_
#define VREL_TOOLS_HELPC_RENDERINGS_H_

#include <string>

#include "help_source.h"

namespace helpc {

// UTF-8 text with a byte order mark, wrapped at 76 characters, each line
// ending in CR LF: it ships for Windows.
std::string RenderText(const HelpSource& source);

// UTF-8 Markdown, each topic a section with an anchor named after its
// context name, lines ending in LF.
std::string RenderMarkdown(const HelpSource& source);

// A UTF-8 HTML page for a browser: each topic a section with the id of its
// context name, jumps as links to it. It names the style sheet help.css
// beside it and holds no script.
std::string RenderHtml(const HelpSource& source);

}  // namespace helpc

#endif  // VREL_TOOLS_HELPC_RENDERINGS_H_
