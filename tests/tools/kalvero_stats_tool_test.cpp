// kalvero-stats run as a program on an encrypted pocket query.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "fixtures/ZipCrypt.h"

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class KalveroStats : public ::testing::Test {
protected:
    Outcome Run(const std::vector<std::string>& args) { return RunProgram(KALVERO_STATS_BINARY, args, folder); }

    TempFolder folder;
};

std::string PocketQuery() {
    std::string gpx = "<?xml?>\n<gpx>\n<name>My Finds Pocket Query</name>\n4\n5\n6\n7\n8\n9\n";
    gpx += "<groundspeak:finder id=\"7\">Anna</groundspeak:finder>\n";
    for (const char* day : {"2016-05-07", "2016-05-07", "2016-05-09", "2016-05-11"}) {
        gpx += std::string("<groundspeak:date>") + day + "T10:00:00Z</groundspeak:date>\n";
        gpx += "<groundspeak:type>Found it</groundspeak:type>\n";
    }
    return gpx;
}

TEST_F(KalveroStats, AnEncryptedPocketQueryNeedsItsPassword) {
    const std::string gpx = folder.Write("Finds.gpx", PocketQuery());
    zipfix::ZipPlan plan;
    plan.entries = {zipfix::AesEntry("Finds.gpx", PocketQuery(), 8, "kalvero", 256)};
    const std::string zip = folder.Write("Finds.zip", zipfix::BuildZip(plan));

    const Outcome plain = Run({"--json", gpx});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const Outcome unlocked = Run({"--json", "--password", "kalvero", zip});
    EXPECT_EQ(unlocked.status, 0) << unlocked.err;
    EXPECT_EQ(Replaced(unlocked.out, zip, gpx), plain.out);
    EXPECT_NE(plain.out.find("\"2016-05-07\""), std::string::npos);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{zip}, std::vector<std::string>{"--password", "wrong", zip}}) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, "Skipped \"Finds.gpx\": no valid password given\n");
    }
    EXPECT_EQ(Run({zip, "--password"}).status, 2);
}

}  // namespace
