#include "platform/host_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/host_error.h"

namespace {

TEST(ReadWholeFile, ReturnsEveryByte) {
    const auto path = std::filesystem::temp_directory_path() / "kalvero_read_whole.bin";
    std::string data(200000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary) << data;
    EXPECT_EQ(platform::ReadWholeFile(path.string()).View(), data);
    std::filesystem::remove(path);
}

TEST(ReadWholeFile, MissingFileNamesPathAndCause) {
    const std::string path = "/nonexistent-kalvero/Finds.gpx";
    try {
        platform::ReadWholeFile(path);
        FAIL() << "no error raised";
    } catch (const platform::HostError& e) {
        const std::string expected =
            "Datei " + path + " kann nicht geöffnet werden. " + platform::SystemErrorText(ENOENT);
        EXPECT_EQ(e.what(), expected);
    }
}

}  // namespace
