#include "cli/cli_options.h"

#include <array>
#include <charconv>
#include <string_view>

#include "edb/code_page_text.h"

namespace velmor::cli {

namespace {

struct CommandShape {
    std::string_view name;
    size_t minArguments;
    size_t maxArguments;
    std::string_view synopsis;
};

constexpr size_t kAnyNumber = static_cast<size_t>(-1);
constexpr std::string_view kExportCommand = "export";
constexpr std::string_view kFormatOption = "--format";
constexpr std::string_view kCodePageOption = "--code-page";
constexpr std::string_view kStreamingFileOption = "--stm";
constexpr std::string_view kSearchCommand = "search";
constexpr std::string_view kLimitOption = "--limit";
constexpr std::string_view kAlignOption = "--align";
constexpr std::string_view kCarveCommand = "carve";
constexpr std::string_view kNoCacheOption = "--no-cache";

constexpr std::array<CommandShape, 11> kCommands = {{
    {"catalog", 1, 1, "velmor-cli catalog   [--code-page N] [--json] FILE"},
    {"mailboxes", 1, 1, "velmor-cli mailboxes [--code-page N] [--json] FILE"},
    {"folders", 2, 2, "velmor-cli folders   [--code-page N] [--json] FILE MAILBOX"},
    {"items", 3, 3, "velmor-cli items     [--code-page N] [--json] FILE MAILBOX PATH"},
    {"message", 4, 4, "velmor-cli message   [--code-page N] [--json] FILE MAILBOX PATH NO"},
    {"long-value", 3, 3, "velmor-cli long-value [--code-page N] FILE OBJECTID ID"},
    {kExportCommand, 3, kAnyNumber,
     "velmor-cli export    [--format LIST] [--code-page N] [--json] FILE MAILBOX OUTDIR "
     "[PATH...]"},
    {"attachments", 4, 4, "velmor-cli attachments [--code-page N] [--json] FILE MAILBOX PATH NO"},
    {"attachment", 6, 6,
     "velmor-cli attachment [--code-page N] FILE MAILBOX PATH NO INDEX OUTFILE"},
    {"carve", 2, 2, "velmor-cli carve     [--align 512] [--json] STMFILE OUTDIR"},
    {kSearchCommand, 3, 3,
     "velmor-cli search    [--limit N] [--no-cache] [--code-page N] [--json] FILE MAILBOX "
     "QUERY"},
}};

// A whole decimal number naming a code page the system can convert, or nothing.
std::optional<int> ParseCodePage(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !IsConvertibleCodePage(value)) {
        return std::nullopt;
    }
    return value;
}

// A whole decimal number from 1, or nothing.
std::optional<size_t> ParseLimit(std::string_view text) {
    size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string UsageText() {
    std::string text = "Usage:\n";
    for (const CommandShape& shape : kCommands) {
        text += "  ";
        text += shape.synopsis;
        text += '\n';
    }
    text +=
        "\nReads an Exchange private-store database (.EDB) without changing it.\n"
        "  catalog    the catalog records found on the catalog pages\n"
        "  mailboxes  the mailboxes found by the full discovery\n"
        "  folders    the folder tree of mailbox row MAILBOX (the number mailboxes prints)\n"
        "  items      the item list of the folder whose tree path is PATH, as folders prints it\n"
        "  message    headers and body of the mail in row NO of the item list of PATH\n"
        "  long-value the bytes of long value ID of long-value object OBJECTID, as stored\n"
        "  export     writes the items of the folders PATH (none: every folder of the mailbox)\n"
        "             as files below OUTDIR, one directory per folder\n"
        "  attachments the attachments of the mail in row NO of PATH: number, name, type,\n"
        "             size (the mails of the streaming file's entry have them)\n"
        "  attachment writes attachment INDEX (as attachments numbers it) of that mail to\n"
        "             OUTFILE, which must not exist\n"
        "  carve      finds the Internet messages of a streaming file (.STM) or any raw image\n"
        "             by their MIME form and writes each as NNNNN.eml below OUTDIR, with one\n"
        "             line per message: file, start offset, length, pages, complete or why\n"
        "             not, Message-ID, From, Subject, Date, attachment count (--json: one\n"
        "             JSON object per line)\n"
        "  search     the items of the mailbox that QUERY finds, most relevant first: folder\n"
        "             path, row number in that folder's items, kind, sender, subject, date,\n"
        "             relevance in percent (see the README for the query language)\n"
        "  --limit N  search: at most N matches\n"
        "  --no-cache search: keep the index in memory instead of $XDG_CACHE_HOME/velmor\n"
        "  --format   the files to write, a comma-separated subset of eml,mbox,vcf,ics,csv,pst\n"
        "             (default eml,vcf,ics,csv; pst: one PST file for the mailbox)\n"
        "  --code-page N  read the store's 8-bit text (names and subjects that are not\n"
        "             Unicode) in Windows code page N, for example 1251 (Cyrillic) or 932\n"
        "             (Japanese); without it the code page is detected from the store's\n"
        "             8-bit names, Windows-1252 when none is likely (mailboxes --json:\n"
        "             codePage)\n"
        "  --stm FILE the database's streaming file (.STM); without it, the file beside FILE\n"
        "             with its name and the extension .stm in any case, when there is one.\n"
        "             Its messages are carved and listed as the last mailbox row,\n"
        "             \"Recovered from the streaming file\" (kind \"streaming file\"), with one\n"
        "             mail folder\n"
        "  --align 512  carve: messages also start at 512-byte sector boundaries and zero\n"
        "             fill up to a sector's end ends them (a disk image); default 4096\n"
        "  --json     print JSON instead of tab-separated lines\n"
        "  --version  print the program's version\n"
        "\n"
        "Plain output is one line per record, its fields separated by tabs. Names come from\n"
        "damaged pages, so each control character in a field (a tab or a line break among them)\n"
        "is printed as one blank; a PATH may be given exactly or as folders prints it. JSON\n"
        "output keeps every text exactly.\n"
        "\n"
        "Pages the discovery cannot read (bad sectors) are skipped; their count is reported on\n"
        "stderr and, for mailboxes --json, as unreadablePages.\n"
        "\n"
        "message prints the headers as lines, an empty line and the body as it is stored.\n"
        "\n"
        "carve finds messages by their form alone: one starts where a header block (at least\n"
        "two of Received, From, To, Subject, Date, Message-ID, MIME-Version, Content-Type; an\n"
        "mbox \"From \" line before them allowed) starts at a 4 KiB boundary or right after 16\n"
        "zeros, and, in a mailbox file, at each \"From \" line followed by a header block. It\n"
        "ends at zero fill, a page of zeros, the next start or the end of the file; a\n"
        "multipart keeps its epilogue. With --align 512 a sector takes the page's place.\n"
        "Messages at other offsets of a raw image are not found.\n"
        "\n"
        "Exit status: 0 done, 1 the database cannot be opened or holds no mailbox (message: the\n"
        "row has no message record; long-value: the tree has no such value; export: a folder\n"
        "or the output directory cannot be written; carve: STMFILE cannot be read or OUTDIR\n"
        "cannot be written; attachment: OUTFILE exists or cannot be written; search: nothing\n"
        "matches), 2 usage errors (an unknown mailbox row, folder path, row number or format\n"
        "among them).\n";
    return text;
}

std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error) {
    CliOptions options;
    std::vector<std::string_view> words(argv + 1, argv + argc);
    for (std::string_view word : words) {
        if (word == "--help" || word == "-h") {
            options.help = true;
            return options;
        }
        if (word == "--version") {
            options.version = true;
            return options;
        }
    }
    if (words.empty()) {
        error = "missing command; see velmor-cli --help";
        return std::nullopt;
    }
    options.command = words.front();
    const CommandShape* shape = nullptr;
    for (const CommandShape& candidate : kCommands) {
        if (candidate.name == options.command) {
            shape = &candidate;
        }
    }
    if (shape == nullptr) {
        error = "unknown command '" + options.command + "'; see velmor-cli --help";
        return std::nullopt;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--json") {
            options.json = true;
        } else if (words[i] == kFormatOption && shape->name == kExportCommand) {
            if (i + 1 == words.size()) {
                error = "--format needs a LIST";
                return std::nullopt;
            }
            options.formats = std::string(words[++i]);
        } else if (words[i] == kStreamingFileOption) {
            if (i + 1 == words.size() || words[i + 1].empty()) {
                error = "--stm needs a FILE";
                return std::nullopt;
            }
            options.streamingFile = std::string(words[++i]);
        } else if (words[i] == kLimitOption && shape->name == kSearchCommand) {
            const std::optional<size_t> limit =
                i + 1 < words.size() ? ParseLimit(words[i + 1]) : std::nullopt;
            if (!limit) {
                error = "--limit needs a number of matches from 1";
                return std::nullopt;
            }
            options.limit = *limit;
            ++i;
        } else if (words[i] == kAlignOption && shape->name == kCarveCommand) {
            const std::optional<size_t> align =
                i + 1 < words.size() ? ParseLimit(words[i + 1]) : std::nullopt;
            if (!align || (*align != static_cast<size_t>(kSectorBytes) &&
                           *align != static_cast<size_t>(kCarvePageBytes))) {
                error = "--align needs 512 or 4096";
                return std::nullopt;
            }
            options.align = static_cast<int64_t>(*align);
            ++i;
        } else if (words[i] == kNoCacheOption && shape->name == kSearchCommand) {
            options.noCache = true;
        } else if (words[i] == kCodePageOption) {
            const std::optional<int> codePage =
                i + 1 < words.size() ? ParseCodePage(words[i + 1]) : std::nullopt;
            if (!codePage) {
                error = "--code-page needs the number of a code page this system converts";
                return std::nullopt;
            }
            options.codePage = codePage;
            ++i;
        } else if (words[i].size() > 1 && words[i].starts_with("--")) {
            error = "unknown option '" + std::string(words[i]) + "'";
            return std::nullopt;
        } else {
            options.arguments.emplace_back(words[i]);
        }
    }
    if (options.arguments.size() < shape->minArguments ||
        options.arguments.size() > shape->maxArguments) {
        error = "usage: " + std::string(shape->synopsis);
        return std::nullopt;
    }
    if (options.arguments.front().empty()) {
        error = "FILE must not be empty";
        return std::nullopt;
    }
    return options;
}

}  // namespace velmor::cli
