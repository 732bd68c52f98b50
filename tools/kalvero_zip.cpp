// kalvero-zip: the archiver of the main window on the command line.
//   kalvero-zip list ARCHIVE [MASK]
//   kalvero-zip cat [--corrupted] [--max-size N] [--progress] [--password PW] ARCHIVE ENTRY
//   kalvero-zip info ARCHIVE
//   kalvero-zip extract [-d DIR] [--overwrite MODE] [--junk-paths] [--password PW] [--quiet]
//               ARCHIVE [MASK]
//   kalvero-zip test [--password PW] [--quiet] ARCHIVE [MASK]
//   kalvero-zip --help
// Exit status: 0 done, 1 the archiver failed (its message on stderr), 2 wrong usage.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "tools/PasswordOption.h"
#include "tools/StdoutStream.h"
#include "tools/BatchCommands.h"
#include "tools/TerminalPrompt.h"
#include "tools/ZipToolCommon.h"
#include "zip/ZAConst.h"
#include "zip/ZADirManager.h"
#include "zip/ZipArchiver.h"

namespace {

const char kHelp[] =
    "Usage:\n"
    "  kalvero-zip list ARCHIVE [MASK]\n"
    "      One line per entry that a search for MASK (default \"*.*\") finds, in directory\n"
    "      order, searching all folders and all attributes. Fields, separated by a TAB:\n"
    "      path (folders separated by '/'), uncompressed size, compressed size, CRC-32 as\n"
    "      8 hex digits, and E for an encrypted entry or - otherwise.\n"
    "      In MASK, '*' stands for any characters and '?' for one; a mask without a folder\n"
    "      also matches the file name of entries in folders. Letters A-Z match either case.\n"
    "  kalvero-zip cat [--corrupted] [--max-size N] [--progress] [--password PW] ARCHIVE ENTRY\n"
    "      Writes the uncompressed bytes of ENTRY to standard output. ENTRY is found as the\n"
    "      main window finds its pocket query: by name (A-Z in either case, '/' or '\\'\n"
    "      between folders), else as a mask within the folder it names.\n"
    "      --corrupted  write an entry that fails its size or CRC-32 test, or whose method\n"
    "                   is not supported, as far as it goes, without an error\n"
    "      --max-size N stop after N bytes of output with an error; with --corrupted\n"
    "                   the output stops at 4294967296 bytes (4 GiB) unless N is given\n"
    "      --progress   write every progress event to standard error, one line each:\n"
    "                   kind (file or overall), entry name, percentage with two decimals,\n"
    "                   operation and phase, separated by a TAB\n"
    "      --password PW  the password of an encrypted entry. Without it, or when it is\n"
    "                   wrong, the password is asked for on the terminal (no echo; an\n"
    "                   empty answer skips the entry); without a terminal the entry is\n"
    "                   skipped. A skipped entry is named on standard error, nothing is\n"
    "                   written to standard output and the exit status is 1.\n"
    "  kalvero-zip info ARCHIVE\n"
    "      \"key: value\" lines: entries (entries in the directory), files (entries that\n"
    "      are not folders), size (bytes of the archive file), spanning (smNone,\n"
    "      smSpanning or smSplitting) and comment (the archive comment, Windows-1252).\n"
    "  kalvero-zip extract [-d DIR] [--overwrite MODE] [--junk-paths] [--password PW]\n"
    "                      [--quiet] ARCHIVE [MASK]\n"
    "      Extracts the entries that MASK (default \"*.*\") selects into DIR (default: the\n"
    "      current folder), with their folders, times and permissions. Nothing is written\n"
    "      outside DIR: an entry whose name is absolute, names a drive or share, or climbs\n"
    "      out with \"..\" fails. MODE says what happens to an existing file: always,\n"
    "      never, newer (replace when the entry is newer), older, or prompt (the default:\n"
    "      ask y, n, A for yes to all, N for no to all; without a terminal the answer is\n"
    "      no). A file is replaced only by an entry that passed its checks.\n"
    "      --junk-paths  every file straight into DIR, without the stored folders\n"
    "      --password PW the password for encrypted entries (else it is asked for)\n"
    "      --quiet       no progress line per entry on a terminal\n"
    "  kalvero-zip test [--password PW] [--quiet] ARCHIVE [MASK]\n"
    "      Reads the selected entries with every check and drops the data; one line per\n"
    "      file on standard output: OK NAME, SKIPPED NAME (no password), or\n"
    "      FAILED NAME: message.\n"
    "      For extract and test, a failing entry is reported on standard error with the\n"
    "      archiver's message and the next entry follows; the exit status is 1 when an\n"
    "      entry failed or was skipped.\n"
    "  kalvero-zip --help\n"
    "      This text.\n"
    "ARCHIVE is opened for reading only; a split set is found from its last volume\n"
    "(the .zip file) and its other volumes lie beside it (finds.z01 or finds.Z01, ...).\n"
    "A spanned set asks for each disk on the terminal: Enter when the disk is in, n to\n"
    "cancel; without a terminal on standard input every disk request is cancelled.\n"
    "Exit status: 0 done, 1 the archiver failed (its message on standard error),\n"
    "2 wrong usage.\n";

void Write(FILE* to, const std::string& text) { std::fwrite(text.data(), 1, text.size(), to); }

int Usage() {
    Write(stderr, kHelp);
    return kUsage;
}

// What `cat --corrupted` writes at most unless --max-size says otherwise: a damaged entry's
// data may inflate without end.
constexpr int64_t kDefaultCorruptedLimit = int64_t{4} << 30;

// A byte count of decimal digits only; -1 when Text is not one or does not fit.
int64_t ParseByteCount(const std::string& Text) {
    if (Text.empty() || Text.size() > 18 ||
        !std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    return std::stoll(Text);
}

const char* OperationName(TZAProcessOperation op) {
    static const char* const names[] = {"poAdd",    "poMove",      "poDelete",   "poUpdate",
                                        "poExtract", "poTest",     "poRename",   "poChangeAttr",
                                        "poChangeComment", "poMakeSFX", "poMerge"};
    return op < std::size(names) ? names[op] : "?";
}

const char* PhaseName(TZAProgressPhase phase) {
    static const char* const names[] = {"ppStart", "ppProcess", "ppEnd"};
    return phase < std::size(names) ? names[phase] : "?";
}

const char* SpanningName(TZASpanningMode mode) {
    static const char* const names[] = {"smNone", "smSpanning", "smSplitting"};
    return mode < std::size(names) ? names[mode] : "?";
}

void PrintProgress(const char* kind, const ZAString& name, double progress,
                   TZAProcessOperation op, TZAProgressPhase phase) {
    std::fprintf(stderr, "%s\t%s\t%.2f\t%s\t%s\n", kind, Utf16ToUtf8(name).c_str(), progress,
                 OperationName(op), PhaseName(phase));
}

void Open(TZipArchiver& archiver, const std::string& path) {
    archiver.SetFileName(Utf8ToUtf16(path));
    archiver.OpenArchive(TZABaseArchiver::fmReadOnlyDenyNone);
}

int List(TZipArchiver& archiver, const std::string& path, const std::string& mask) {
    Open(archiver, path);
    archiver.Options().SetRecurse(true);
    TZAArchiveItem f;
    for (bool found = archiver.FindFirst(Utf8ToUtf16(mask), f, kAnyAttributes, u""); found;
         found = archiver.FindNext(f)) {
        const std::string name = ShownName(f.StoredPath + f.FileName);
        std::printf("%s\t%" PRId64 "\t%" PRId64 "\t%08" PRIx32 "\t%s\n", name.c_str(),
                    f.UncompressedSize, f.CompressedSize, static_cast<uint32_t>(f.CRC),
                    f.Encrypted ? "E" : "-");
    }
    archiver.CloseArchive();
    return kDone;
}

int Cat(TZipArchiver& archiver, const std::string& path, const std::string& entry,
        bool corrupted, int64_t limit, bool progress) {
    archiver.SetExtractCorruptedFiles(corrupted);
    TStdoutStream out(limit);
    // At the limit the extraction ends quietly; the message and the status follow below. Any
    // other failed write is the error it is without this handler: answering "try again" would
    // repeat a write that keeps failing (a full disk, a broken device) for ever.
    if (limit >= 0) {
        archiver.OnDiskFull = [&out](TZABaseArchiver*, int32_t, const ZAString&, bool& cancel) {
            if (!out.LimitReached()) throw EZAException(neDiskFull);
            cancel = true;
        };
    }
    if (progress) {
        archiver.OnFileProgress = [](TZABaseArchiver*, const ZAString& name, double p,
                                     TZAProcessOperation op, TZAProgressPhase phase, bool&) {
            PrintProgress("file", name, p, op, phase);
        };
        archiver.OnOverallProgress = [](TZABaseArchiver*, double p, TZAProcessOperation op,
                                        TZAProgressPhase phase, bool&) {
            PrintProgress("overall", u"", p, op, phase);
        };
    }
    Open(archiver, path);
    try {
        archiver.ExtractToStream(Utf8ToUtf16(entry), out);
    } catch (const EZAException& e) {
        // list shows a folder without its final '/': take that name back as well.
        if (e.NativeError != neEntryNotFound || entry.empty() || entry.back() == '/') throw;
        try {
            archiver.ExtractToStream(Utf8ToUtf16(entry + "/"), out);
        } catch (const EZAException&) {
            throw e;
        }
    }
    archiver.CloseArchive();
    if (archiver.FileSkipped()) {
        Write(stderr, SkippedEntryMessage(Utf8ToUtf16(entry)) + "\n");
        return kFailed;
    }
    if (std::fflush(stdout) != 0) {
        std::perror("kalvero-zip: standard output");
        return kFailed;
    }
    if (out.LimitReached()) {
        std::fprintf(stderr, "kalvero-zip: output stopped at %" PRId64
                             " bytes (--max-size); the entry holds more\n", limit);
        return kFailed;
    }
    return kDone;
}

int Info(TZipArchiver& archiver, const std::string& path) {
    Open(archiver, path);
    const ZAAnsiString comment = archiver.Comment();
    std::printf("entries: %d\n", archiver.DirManager()->CDir.Count());
    std::printf("files: %d\n", archiver.FileCount());
    std::printf("size: %" PRId64 "\n", archiver.Size());
    std::printf("spanning: %s\n", SpanningName(archiver.SpanningMode()));
    std::printf("comment: %s\n", Utf16ToUtf8(platform::Cp1252ToUtf16(comment)).c_str());
    archiver.CloseArchive();
    return kDone;
}

// The options each command takes: flags stand alone, valued options take the next argument.
struct TCommandOptions {
    const char* Command;
    std::vector<std::string> Flags;
    std::vector<std::string> Valued;
};

const TCommandOptions kCommandOptions[] = {
    {"list", {}, {}},
    {"cat", {"--corrupted", "--progress"}, {"--max-size", "--password"}},
    {"info", {}, {}},
    {"extract", {"--junk-paths", "--quiet"}, {"-d", "--overwrite", "--password"}},
    {"test", {"--quiet"}, {"--password"}},
};

struct TParsedArgs {
    std::set<std::string> Flags;
    std::map<std::string, std::string> Values;
    std::vector<std::string> Operands;
    bool Has(const std::string& flag) const { return Flags.count(flag) != 0; }
};

// Splits the arguments after the command into its options and operands; false for an option
// the command does not take or a valued option without its value.
bool ParseArgs(const std::vector<std::string>& args, TParsedArgs& parsed) {
    const TCommandOptions* options = nullptr;
    for (const TCommandOptions& o : kCommandOptions)
        if (args[0] == o.Command) options = &o;
    if (!options) return false;
    auto takes = [](const std::vector<std::string>& names, const std::string& a) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') parsed.Operands.push_back(a);
        else if (a == "--") optionsEnded = true;
        else if (takes(options->Flags, a)) parsed.Flags.insert(a);
        else if (takes(options->Valued, a) && i + 1 < args.size()) parsed.Values[a] = args[++i];
        else return false;
    }
    return true;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        Write(stdout, kHelp);
        return args.size() == 1 ? kDone : kUsage;
    }
    TParsedArgs parsed;
    if (!ParseArgs(args, parsed)) return Usage();
    const std::vector<std::string>& operands = parsed.Operands;

    TTerminalPrompt prompt;
    prompt.Install();
    TZipArchiver archiver;
    archiver.SetName(u"Archiver");
    if (parsed.Values.count("--password")) ApplyPasswordOption(archiver, parsed.Values["--password"]);
    try {
        if (command == "list" && (operands.size() == 1 || operands.size() == 2))
            return List(archiver, operands[0], operands.size() == 2 ? operands[1] : "*.*");
        if (command == "cat" && operands.size() == 2) {
            const bool corrupted = parsed.Has("--corrupted");
            int64_t limit = corrupted ? kDefaultCorruptedLimit : -1;
            if (parsed.Values.count("--max-size")) {
                limit = ParseByteCount(parsed.Values.at("--max-size"));
                if (limit < 0) return Usage();
            }
            return Cat(archiver, operands[0], operands[1], corrupted, limit,
                       parsed.Has("--progress"));
        }
        if (command == "info" && operands.size() == 1) return Info(archiver, operands[0]);
        if ((command == "extract" || command == "test") &&
            (operands.size() == 1 || operands.size() == 2)) {
            TBatchCommand batch;
            batch.Archive = operands[0];
            if (operands.size() == 2) batch.Mask = operands[1];
            batch.Quiet = parsed.Has("--quiet");
            batch.JunkPaths = parsed.Has("--junk-paths");
            if (parsed.Values.count("-d")) batch.Folder = parsed.Values.at("-d");
            if (parsed.Values.count("--overwrite") &&
                !ParseOverwriteMode(parsed.Values.at("--overwrite"), batch.Overwrite))
                return Usage();
            return command == "extract" ? ExtractArchive(archiver, batch)
                                        : TestArchive(archiver, batch);
        }
    } catch (const std::exception& e) {
        std::fflush(stdout);
        Write(stderr, std::string(e.what()) + "\n");
        return kFailed;
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return Run(args);
}
