#include "tools/BatchCommands.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/PasswordOption.h"
#include "tools/ZipToolCommon.h"

namespace {

// What the handlers of one batch saw.
struct TBatchReport {
    int Failed = 0;
    int Skipped = 0;
};

void Prepare(TZipArchiver& Archiver, const TBatchCommand& Command, TBatchReport& Report,
             bool PrintOutcome) {
    const bool progress = !Command.Quiet && ::isatty(STDERR_FILENO);
    Archiver.OnProcessFileFailure = [&Report, PrintOutcome](
                                        TZABaseArchiver*, const ZAString& Name,
                                        TZAProcessOperation, int32_t, int32_t,
                                        const ZAString& Message, TZAAction& Action) {
        ++Report.Failed;
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", ShownName(Name).c_str(), Utf16ToUtf8(Message).c_str());
        if (PrintOutcome)
            std::printf("FAILED %s: %s\n", ShownName(Name).c_str(), Utf16ToUtf8(Message).c_str());
        Action = fxaIgnore;
    };
    // The skip count grows while an entry is processed when its file stays as it was or its
    // password is not given; the end of the entry tells which.
    Archiver.OnFileProgress = [&Report, progress, PrintOutcome, skipped = 0](
                                  TZABaseArchiver* Sender, const ZAString& Name, double,
                                  TZAProcessOperation Operation, TZAProgressPhase Phase,
                                  bool&) mutable {
        if (Phase == ppStart && progress)
            std::fprintf(stderr, "%s %s\n", Operation == poTest ? "testing" : "extracting",
                         ShownName(Name).c_str());
        if (Phase == ppStart) skipped = Sender->SkippedFileCount();
        if (Phase != ppEnd) return;
        const bool wasSkipped = Sender->SkippedFileCount() > skipped;
        if (wasSkipped) ++Report.Skipped;
        if (wasSkipped && Sender->FileSkipped()) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", SkippedEntryMessage(Utf8ToUtf16(ShownName(Name))).c_str());
        }
        const bool folder = !Name.empty() && Name.back() == u'\\';
        if (PrintOutcome && !folder)
            std::printf("%s %s\n", wasSkipped ? "SKIPPED" : "OK", ShownName(Name).c_str());
    };
}

// The handlers refer to the command's report: they go when the command ends.
struct THandlersOfCommand {
    TZipArchiver& Archiver;
    ~THandlersOfCommand() {
        Archiver.OnProcessFileFailure = nullptr;
        Archiver.OnFileProgress = nullptr;
    }
};

void Open(TZipArchiver& Archiver, const std::string& Path) {
    Archiver.SetFileName(Utf8ToUtf16(Path));
    Archiver.OpenArchive(TZABaseArchiver::fmReadOnlyDenyNone);
    // A mask without a folder also matches the file names of entries in folders, as in list.
    Archiver.Options().SetRecurse(true);
}

}  // namespace

bool ParseOverwriteMode(const std::string& Text, TZAOverwriteMode& Mode) {
    static const struct {
        const char* Name;
        TZAOverwriteMode Mode;
    } kModes[] = {{"always", omAlways}, {"never", omNever}, {"newer", omIfNewer},
                  {"older", omIfOlder}, {"prompt", omPrompt}};
    for (const auto& m : kModes)
        if (Text == m.Name) {
            Mode = m.Mode;
            return true;
        }
    return false;
}

int ExtractArchive(TZipArchiver& Archiver, const TBatchCommand& Command) {
    TBatchReport report;
    const THandlersOfCommand handlers{Archiver};
    Prepare(Archiver, Command, report, false);
    Archiver.SetBaseDir(Utf8ToUtf16(Command.Folder));
    Archiver.Options().SetOverwriteMode(Command.Overwrite);
    Archiver.Options().SetCreateDirs(!Command.JunkPaths);
    Open(Archiver, Command.Archive);
    Archiver.ExtractFiles(Utf8ToUtf16(Command.Mask), kAnyAttributes, u"");
    Archiver.CloseArchive();
    return report.Failed || report.Skipped ? kFailed : kDone;
}

int TestArchive(TZipArchiver& Archiver, const TBatchCommand& Command) {
    TBatchReport report;
    const THandlersOfCommand handlers{Archiver};
    Prepare(Archiver, Command, report, true);
    Open(Archiver, Command.Archive);
    Archiver.TestFiles(Utf8ToUtf16(Command.Mask), kAnyAttributes, u"");
    Archiver.CloseArchive();
    std::fflush(stdout);
    return report.Failed || report.Skipped ? kFailed : kDone;
}
