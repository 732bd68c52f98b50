// libFuzzer entry: fuzzed bytes opened as an archive, then TestFiles and ExtractFiles into a
// fresh target folder that holds a link to a folder beside it. Whatever the names in the
// archive, nothing may appear outside the target folder, nor through the link.
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace fs = std::filesystem;

namespace {

constexpr rlim_t kMaxFileSize = 8 << 20;

struct TSandbox {
    std::string Root, Target, Outside;
};

const TSandbox& Sandbox() {
    static const TSandbox box = [] {
        // Extracted files stay small: a longer write fails (EFBIG) as a full disk does.
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {kMaxFileSize, kMaxFileSize};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string pattern = (fs::temp_directory_path() / "kalvero-batch-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) abort();
        return TSandbox{pattern, pattern + "/target", pattern + "/outside"};
    }();
    return box;
}

// Removes a tree whatever permissions the archive gave its folders.
void RemoveTree(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec))) {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const auto& entry : fs::directory_iterator(path, ec)) RemoveTree(entry.path());
    }
    fs::remove(path, ec);
}

void Fail(const char* what, const fs::path& path) {
    std::fprintf(stderr, "written outside the target folder (%s): %s\n", what, path.c_str());
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TSandbox& box = Sandbox();
    RemoveTree(box.Target);
    RemoveTree(box.Outside);
    fs::create_directory(box.Target);
    fs::create_directory(box.Outside);
    fs::create_directory_symlink(box.Outside, box.Target + "/link");

    TZAMemoryStream archive;
    archive.Write(data, static_cast<int64_t>(size));
    TZipArchiver arc;
    arc.SetName(u"Archiver");
    arc.SetBaseDir(Utf8ToUtf16(box.Target));
    arc.Options().SetFlushBuffers(false);
    arc.OnProcessFileFailure = [](TZABaseArchiver*, const ZAString&, TZAProcessOperation, int32_t,
                                  int32_t, const ZAString&, TZAAction& action) {
        action = fxaIgnore;
    };
    arc.OnPassword = [](TZABaseArchiver*, const ZAString&, ZAAnsiString&, bool& skip) {
        skip = true;
    };
    try {
        arc.OpenArchive(archive, false);
        arc.TestFiles(u"*.*", 10431, u"");
        arc.ExtractFiles(u"*.*", 10431, u"");
        arc.Options().SetCreateDirs(false);
        arc.ExtractFiles(u"*.*", 10431, u"");
    } catch (const EZAError&) {
        // The archiver's and the stream layer's own errors are results.
    }
    arc.CloseArchive();

    for (const auto& entry : fs::directory_iterator(box.Root))
        if (entry.path() != box.Target && entry.path() != box.Outside) Fail("beside", entry.path());
    for (const auto& entry : fs::directory_iterator(box.Outside)) Fail("through a link", entry.path());
    return 0;
}
