#include "platform/host_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// Files that cannot be opened for the causes a user meets: the message ends in the cause as
// a German system words it, whatever language the environment asks for.
TEST(ReadWholeFile, CausesAreGerman) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "kalvero_causes";
    fs::remove_all(dir);
    fs::create_directories(dir / "Ordner.gpx");
    std::ofstream(dir / "datei") << "x";
    fs::create_symlink(dir / "ring-b", dir / "ring-a");
    fs::create_symlink(dir / "ring-a", dir / "ring-b");
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {(dir / "Fehlt.gpx").string(), "Datei oder Verzeichnis nicht gefunden"},
        {(dir / "Ordner.gpx").string(), "Ist ein Verzeichnis"},
        {(dir / "datei" / "Finds.gpx").string(), "Ist kein Verzeichnis"},
        {(dir / std::string(300, 'x')).string(), "Der Dateiname ist zu lang"},
        {(dir / "ring-a").string(), "Zu viele Ebenen aus symbolischen Links"},
    };
    setenv("LC_ALL", "C", 1);
    for (const auto& c : cases) {
        try {
            platform::ReadWholeFile(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const platform::HostError& e) {
            EXPECT_EQ(e.what(), "Datei " + c.path + " kann nicht geöffnet werden. " + c.cause);
        }
    }
    unsetenv("LC_ALL");
    fs::remove_all(dir);
}

TEST(SystemErrorText, GermanForFileCausesTheSystemsWordsForOthers) {
    const struct {
        int errnum;
        const char* text;
    } german[] = {
        {EACCES, "Keine Berechtigung"},
        {EPERM, "Die Operation ist nicht erlaubt"},
        {EMLINK, "Zu viele Links"},
        {EBUSY, "Das Gerät oder die Ressource ist belegt"},
        {ENODEV, "Kein passendes Gerät gefunden"},
        {ENXIO, "Kein passendes Gerät bzw. keine passende Adresse gefunden"},
    };
    for (const auto& g : german) EXPECT_EQ(platform::SystemErrorText(g.errnum), g.text) << g.errnum;
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(platform::SystemErrorText(ENOSPC), std::strerror(ENOSPC));
    unsetenv("LC_ALL");
}

}  // namespace
