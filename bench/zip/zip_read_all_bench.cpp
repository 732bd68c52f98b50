// Reads every entry of an archive through the archiver, as testing it does: each entry is
// extracted into a stream that discards its bytes and checked (size, CRC-32 or the AES
// authentication code). Prints the entries read and the time taken.
//   zip_read_all_bench ARCHIVE PASSWORD
// Exit status 0 when every entry passed, 1 otherwise.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "zip/ZipArchiver.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zip_read_all_bench ARCHIVE PASSWORD\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    int entries = 0;
    try {
        TZipArchiver archiver;
        archiver.SetFileName(Utf8ToUtf16(argv[1]));
        archiver.OpenArchive(TZABaseArchiver::fmReadOnlyDenyNone);
        archiver.SetPassword(argv[2]);
        std::vector<ZAString> names;
        TZAArchiveItem f;
        for (bool found = archiver.FindFirst(u"*.*", f, 10431, u""); found; found = archiver.FindNext(f))
            if ((f.ExternalFileAttributes & 0x10) == 0) names.push_back(f.StoredPath + f.FileName);
        for (const ZAString& name : names) {
            TNullStream sink;
            archiver.ExtractToStream(name, sink);
            if (archiver.FileSkipped()) throw std::runtime_error("skipped: wrong password");
            ++entries;
        }
        archiver.CloseArchive();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d entries read and checked in %.3f s\n", entries, seconds);
    return 0;
}
