// Opens every file of a folder as an archive and walks its directory, rebuilding damaged
// directories and refusing them in turn. Prints one line per file; exits with 1 when a file
// ends in anything but an opened archive or an archiver or stream error.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "zip_walk.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(argv[1])) {
        if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    int failures = 0;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        for (bool openCorrupted : {true, false}) {
            const auto start = std::chrono::steady_clock::now();
            try {
                const WalkResult r = WalkArchive(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                 bytes.size(), openCorrupted);
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count();
                std::printf("%-40s %-8s %6lld ms  %s\n", path.filename().c_str(),
                            openCorrupted ? "rebuild" : "strict", static_cast<long long>(ms),
                            r.opened ? (std::to_string(r.entries) + " entries").c_str()
                                     : ("refused: " + r.refusal).c_str());
            } catch (const std::exception& e) {
                ++failures;
                std::printf("%-40s FAULT: %s\n", path.filename().c_str(), e.what());
            }
        }
    }
    std::printf("%zu files, %d faults\n", files.size(), failures);
    return failures == 0 ? 0 : 1;
}
