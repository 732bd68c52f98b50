#include "platform/case_lookup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class CaseLookup : public ::testing::Test {
protected:
    CaseLookup() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kalvero-case-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        dir = pattern + "/";
        for (const char* name : {"finds.z01", "Mixed.Z02", "mixed.z02", "Gr\xC3\xBC\xC3\x9F" "e.z01"})
            std::ofstream(dir + name) << "volume";
        std::filesystem::create_directory(dir + "folder.z04");
        std::filesystem::create_directory(dir + "both.Z05");
        std::ofstream(dir + "both.z05") << "volume";
    }
    ~CaseLookup() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

TEST_F(CaseLookup, FindsTheOneFileThatDiffersOnlyInAsciiCase) {
    struct Case {
        std::string asked;
        std::string found;  // empty: no file
    };
    const Case cases[] = {
        {"finds.z01", "finds.z01"},  // the exact name
        {"finds.Z01", "finds.z01"},
        {"FINDS.Z01", "finds.z01"},
        {"finds.z1", ""},
        {"finds.z011", ""},
        {"Mixed.Z02", "Mixed.Z02"},  // exact wins over its look-alike
        {"MIXED.Z02", ""},           // two candidates: none is taken
        {"FOLDER.Z04", ""},          // a folder is no file
        {"folder.z04", ""},
        {"BOTH.Z05", "both.z05"},    // the folder of that name is passed over
        {"GR\xC3\xBC\xC3\x9F" "E.Z01", "Gr\xC3\xBC\xC3\x9F" "e.z01"},
        {"gr\xC3\x9C\xC3\x9F" "e.z01", ""},  // only A to Z are folded
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::FindFileIgnoringCase(dir + c.asked), c.found.empty() ? "" : dir + c.found)
            << c.asked;
    }
    EXPECT_EQ(platform::FindFileIgnoringCase(dir + "no-such-folder/finds.z01"), "");
}

}  // namespace
