// Peak memory of reading one entry: a 16-byte window through ExtractToBuffer, or the whole
// entry through ExtractToStream into a discarding stream (the pipeline on its own, for
// comparison). Prints the window's bytes (as hex), the bytes produced and the peak resident
// set size of the process. Used by window_memory.sh.
//   zip_window_memory window ARCHIVE ENTRY START
//   zip_window_memory whole ARCHIVE ENTRY
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "zip/ZipArchiver.h"

namespace {

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "window" && argc == 5) || (mode == "whole" && argc == 4))) {
        std::fprintf(stderr, "usage: %s window ARCHIVE ENTRY START | whole ARCHIVE ENTRY\n", argv[0]);
        return 2;
    }
    try {
        TZipArchiver archiver;
        archiver.SetFileName(Utf8ToUtf16(argv[2]));
        archiver.OpenArchive(TZABaseArchiver::fmReadOnlyDenyNone);
        const ZAString entry = Utf8ToUtf16(argv[3]);
        if (mode == "window") {
            unsigned char window[16];
            archiver.ExtractToBuffer(entry, window, sizeof window, std::atoll(argv[4]));
            std::printf("window:");
            for (const unsigned char b : window) std::printf(" %02x", b);
            std::printf("\n");
        } else {
            TNullStream out;
            archiver.ExtractToStream(entry, out);
            std::printf("produced: %lld bytes\n", static_cast<long long>(out.Size()));
        }
        archiver.CloseArchive();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("peak RSS: %ld KiB\n", PeakRssKiB());
    return 0;
}
