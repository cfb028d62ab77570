// vrel-helpc: compiles a help source into a Windows Help file and into its
// plain-text, Markdown and HTML renderings. Every output is written whole to a
// temporary file, and the temporary files are renamed into place once all of
// them are complete, so no output is ever half-written and a run that fails
// before the renames leaves the old outputs as they were. The renames are one
// after the other: should one of them fail, the outputs renamed before it are
// new and the rest old (the run then fails).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "help_source.h"
#include "hlp_file.h"
#include "renderings.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // the source is faulty, or a file cannot be read or written
constexpr int kExitBadUsage = 2;  // bad arguments

const char kUsage[] =
    "usage: vrel-helpc SOURCE [--hlp FILE] [--text FILE] [--markdown FILE] [--html FILE]\n"
    "\n"
    "Reads the help source SOURCE (UTF-8; its markup is described in\n"
    "resources/help/README.md) and writes, of the outputs named:\n"
    "\n"
    "  --hlp       the Windows Help file, in Windows-1252\n"
    "  --text      the plain text: UTF-8 with a byte order mark, CR LF line ends\n"
    "  --markdown  the Markdown, UTF-8\n"
    "  --html      the HTML page for a browser, UTF-8\n"
    "\n"
    "With no output named, only checks the source. A fault in the source is\n"
    "reported as SOURCE:LINE: message. Exit status 1: a faulty source, or a\n"
    "file that cannot be read or written; 2: bad arguments.\n";

int BadUsage(const std::string& message) {
    std::fprintf(stderr, "vrel-helpc: %s\n%s", message.c_str(), kUsage);
    return kExitBadUsage;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string sourcePath;
    std::vector<std::pair<std::string, std::string>> outputs;  // option, path
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (arg == "--hlp" || arg == "--text" || arg == "--markdown" || arg == "--html") {
            if (i + 1 >= argc) return BadUsage(arg + " needs a file name");
            for (const auto& output : outputs)
                if (output.first == arg) return BadUsage(arg + " given twice");
            outputs.emplace_back(arg, argv[++i]);
        } else if (!arg.empty() && arg[0] == '-') {
            return BadUsage("unknown option \"" + arg + "\"");
        } else if (sourcePath.empty()) {
            sourcePath = arg;
        } else {
            return BadUsage("unexpected argument \"" + arg + "\"");
        }
    }
    if (sourcePath.empty()) return BadUsage("no source file named");

    std::string text;
    if (!ReadWhole(sourcePath, text)) {
        std::fprintf(stderr, "vrel-helpc: cannot read %s\n", sourcePath.c_str());
        return kExitFailed;
    }
    helpc::HelpSource source;
    helpc::SourceError error;
    std::string hlp;
    if (!helpc::ParseHelpSource(text, source, error) || !helpc::BuildHlpFile(source, hlp, error)) {
        if (error.line > 0)
            std::fprintf(stderr, "%s:%d: %s\n", sourcePath.c_str(), error.line,
                         error.message.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", sourcePath.c_str(), error.message.c_str());
        return kExitFailed;
    }

    std::vector<std::string> written;  // temporary files, to be renamed
    bool ok = true;
    for (const auto& [option, path] : outputs) {
        const std::string bytes = option == "--hlp"    ? hlp
                                  : option == "--text" ? helpc::RenderText(source)
                                  : option == "--html" ? helpc::RenderHtml(source)
                                                       : helpc::RenderMarkdown(source);
        const std::string temporary = path + ".tmp";
        written.push_back(temporary);
        if (!WriteWhole(temporary, bytes)) {
            std::fprintf(stderr, "vrel-helpc: cannot write %s\n", temporary.c_str());
            ok = false;
            break;
        }
    }
    for (std::size_t i = 0; ok && i < written.size(); ++i) {
        std::error_code failure;
        std::filesystem::rename(written[i], outputs[i].second, failure);  // replaces the old file
        if (failure) {
            std::fprintf(stderr, "vrel-helpc: cannot write %s\n", outputs[i].second.c_str());
            ok = false;
        }
    }
    if (!ok)
        for (const std::string& temporary : written) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
        }
    return ok ? kExitOk : kExitFailed;
}
