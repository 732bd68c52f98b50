#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TempFolder.h"
#include "fixtures/SplitBuilder.h"
#include "fixtures/ZipBuilder.h"
#include "fixtures/ZipCrypt.h"

namespace {

class KalveroZip : public ::testing::Test {
protected:
    Outcome Run(const std::vector<std::string>& args) { return RunProgram(KALVERO_ZIP_BINARY, args, folder); }
    std::string Archive(const zipfix::ZipPlan& plan, const std::string& name = "Finds.zip") {
        return folder.Write(name, zipfix::BuildZip(plan));
    }

    TempFolder folder;
};

using zipfix::Entry;

const std::string kHelpStart = "Usage:\n";

std::string Hex8(uint32_t v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", v);
    return buf;
}

TEST_F(KalveroZip, ListsEntriesWithTheirFields) {
    const std::string gpx("<gpx>\r\n\0x</gpx>\n", 16);
    zipfix::ZipEntry secret = Entry("sub/secret.txt", "hidden text");
    secret.flags = 0x0001;
    zipfix::ZipPlan plan;
    plan.entries = {Entry("Finds.gpx", gpx, 8), Entry("sub/", ""), secret, Entry("sub/x.gpx", "x")};
    const std::string zip = Archive(plan);
    const std::string deflated = std::to_string(zipfix::Deflate(gpx).size());

    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"list", zip},
         "Finds.gpx\t" + std::to_string(gpx.size()) + "\t" + deflated + "\t" + Hex8(zipfix::Crc32(gpx)) +
             "\t-\n"
             "sub\t0\t0\t00000000\t-\n"
             "sub/secret.txt\t11\t11\t" + Hex8(zipfix::Crc32("hidden text")) + "\tE\n"
             "sub/x.gpx\t1\t1\t" + Hex8(zipfix::Crc32("x")) + "\t-\n"},
        {{"list", zip, "*.GPX"},
         "Finds.gpx\t" + std::to_string(gpx.size()) + "\t" + deflated + "\t" + Hex8(zipfix::Crc32(gpx)) +
             "\t-\nsub/x.gpx\t1\t1\t" + Hex8(zipfix::Crc32("x")) + "\t-\n"},
        {{"list", zip, "sub\\*"},
         "sub/secret.txt\t11\t11\t" + Hex8(zipfix::Crc32("hidden text")) + "\tE\nsub/x.gpx\t1\t1\t" +
             Hex8(zipfix::Crc32("x")) + "\t-\n"},
        {{"list", zip, "nothing"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.size() > 2 ? c.args[2] : "default mask");
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, "");
    }
}

TEST_F(KalveroZip, CatWritesTheEntryUnchanged) {
    std::string data = "line 1\r\nline 2\n";
    data += std::string(1, '\0') + std::string(70000, '\xFE');
    zipfix::ZipPlan plan;
    plan.entries = {Entry("a.txt", "a"), Entry("Finds.gpx", data, 8)};
    const std::string zip = Archive(plan);
    for (const std::string name : {"Finds.gpx", "FINDS.GPX", "Finds.gp?"}) {
        const Outcome o = Run({"cat", zip, name});
        EXPECT_EQ(o.status, 0) << name;
        EXPECT_EQ(o.out, data) << name;
        EXPECT_EQ(o.err, "") << name;
    }
}

// Standard output as a user's pipeline gives it: a pipe that a reader empties, at once or
// only after a while (the pipe fills up and the writes wait); and a device that takes nothing.
TEST_F(KalveroZip, CatIntoAPipeAndIntoAFullDevice) {
    const std::string data = zipfix::WaypointText(6u << 20);
    zipfix::ZipPlan plan;
    plan.entries = {Entry("Finds.gpx", data, 8)};
    const std::string zip = Archive(plan);
    const std::string cat = Quoted(KALVERO_ZIP_BINARY) + " cat " + Quoted(zip) + " Finds.gpx";
    for (const std::string reader : {"cat", "(sleep 0.3; cat)"}) {
        SCOPED_TRACE(reader);
        const std::string command = "{ " + cat + " </dev/null 2>" + Quoted(folder.File("err")) +
                                    "; echo $? >" + Quoted(folder.File("status")) + "; } | " +
                                    reader + " >" + Quoted(folder.File("out"));
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(folder.Read("status"), "0\n");
        EXPECT_EQ(folder.Read("err"), "");
        EXPECT_TRUE(folder.Read("out") == data);
    }
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // With a size limit the write failure is an error too, not a retry without end.
    for (const std::string limit : {"", " --max-size 100000000", " --corrupted"}) {
        SCOPED_TRACE(limit);
        const std::string limited = Quoted(KALVERO_ZIP_BINARY) + " cat" + limit + " " + Quoted(zip) + " Finds.gpx";
        const std::string command = "timeout 20 " + limited + " </dev/null >/dev/full 2>" + Quoted(folder.File("err"));
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
        EXPECT_EQ(folder.Read("err"),
                  "Disk is full. There is not enough free space on disk. - Native error: 00065\n");
    }
}

// Encrypted entries: the password from --password (given as UTF-8, used in code page 1252
// as the dialog uses it); without a working one and without a terminal the entry is skipped.
TEST_F(KalveroZip, CatTakesThePasswordOfEncryptedEntries) {
    const std::string gpx = "<gpx>pocket query</gpx>\n";
    zipfix::ZipPlan plan;
    plan.entries = {Entry("plain.txt", "plain"),
                    zipfix::ClassicEntry("Finds.gpx", gpx, 8, "kalvero"),
                    zipfix::AesEntry("aes.gpx", gpx, 8, "Gr\xFC\xDF" "e", 256)};
    const std::string zip = Archive(plan);
    const std::string skipped = "Skipped \"Finds.gpx\": no valid password given\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    };
    const Case cases[] = {
        {{"cat", "--password", "kalvero", zip, "Finds.gpx"}, 0, gpx, ""},
        {{"cat", zip, "--password", "Gr\xC3\xBC\xC3\x9F" "e", "aes.gpx"}, 0, gpx, ""},
        {{"cat", zip, "plain.txt"}, 0, "plain", ""},
        {{"cat", zip, "Finds.gpx"}, 1, "", skipped},
        {{"cat", "--password", "wrong", zip, "Finds.gpx"}, 1, "", skipped},
        {{"cat", "--password", "kalvero", zip, "aes.gpx"}, 1, "",
         "Skipped \"aes.gpx\": no valid password given\n"},
        {{"cat", "--password", zip, "Finds.gpx"}, 2, "", kHelpStart},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + c.args[1]);
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        if (c.status == 2) EXPECT_EQ(o.err.substr(0, c.err.size()), c.err);
        else EXPECT_EQ(o.err, c.err);
    }
}

// test and extract take the password the same way; a skipped entry is named on standard
// error, nothing is written for it, and the other entries are still done.
TEST_F(KalveroZip, BatchCommandsTakeThePasswordOfEncryptedEntries) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("plain.txt", "plain"),
                    zipfix::ClassicEntry("secret.txt", "secret", 8, "kalvero")};
    const std::string zip = Archive(plan);
    const std::string skipped = "Skipped \"secret.txt\": no valid password given\n";

    Outcome o = Run({"test", "--password", "kalvero", zip});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "OK plain.txt\nOK secret.txt\n");
    o = Run({"test", zip});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "OK plain.txt\nSKIPPED secret.txt\n");
    EXPECT_EQ(o.err, skipped);

    o = Run({"extract", "--password", "wrong", "-d", folder.File("wrong"), zip});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, skipped);
    EXPECT_EQ(folder.Read("wrong/plain.txt"), "plain");
    EXPECT_FALSE(folder.Exists("wrong/secret.txt"));
    o = Run({"extract", "--password", "kalvero", "-d", folder.File("right"), zip});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(folder.Read("right/secret.txt"), "secret");
}

// Split sets as Info-ZIP's zip -s names them (finds.z01 ... finds.zip) and the same set
// renamed to upper case.
TEST_F(KalveroZip, SplitSetsListAndCatByteForByte) {
    zipfix::ZipPlan plan;
    std::string gpx;
    for (int i = 0; gpx.size() < 20000; ++i) gpx += "<wpt n=\"" + std::to_string(i) + "\"/>\n";
    plan.entries = {Entry("Finds.gpx", gpx, 8), Entry("sub/", ""), Entry("sub/a.txt", std::string(3000, 'a'))};
    const zipfix::SplitSet set = zipfix::SplitZip(plan, 1024);
    ASSERT_GE(set.volumes.size(), 3u);
    for (const bool upper : {false, true}) {
        SCOPED_TRACE(upper ? "upper case" : "zip -s");
        std::string last;
        for (size_t i = 0; i < set.volumes.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, upper ? "FINDS.Z%02zu" : "finds.z%02zu", i + 1);
            const bool isLast = i + 1 == set.volumes.size();
            const std::string path = folder.Write(isLast ? (upper ? "FINDS.ZIP" : "finds.zip") : name,
                                                  set.volumes[i]);
            if (isLast) last = path;
        }
        Outcome o = Run({"info", last});
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.out.find("spanning: smSplitting\n"), std::string::npos) << o.out;
        o = Run({"list", last});
        EXPECT_EQ(o.out, "Finds.gpx\t" + std::to_string(gpx.size()) + "\t" +
                             std::to_string(zipfix::Deflate(gpx).size()) + "\t" + Hex8(zipfix::Crc32(gpx)) +
                             "\t-\nsub\t0\t0\t00000000\t-\nsub/a.txt\t3000\t3000\t" +
                             Hex8(zipfix::Crc32(std::string(3000, 'a'))) + "\t-\n");
        for (const zipfix::ZipEntry& e : {plan.entries[0], plan.entries[2]}) {
            o = Run({"cat", last, e.name});
            EXPECT_EQ(o.status, 0) << o.err;
            EXPECT_EQ(o.out, e.data) << e.name;
        }
    }
}

// Only the last disk of a spanned set is at hand: the directory is read from it, and a disk
// request for an entry on another disk is answered Cancel without a terminal.
TEST_F(KalveroZip, SpannedSetWithoutTerminalCancelsTheDiskRequest) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("first.txt", std::string(1500, 'f')), Entry("last.txt", "on the last disk")};
    const zipfix::SplitSet set = zipfix::SplitZip(plan, 1024);
    ASSERT_EQ(set.volumes.size(), 2u);
    ASSERT_EQ(set.entryVolume[1], 1);
    const std::string disk = folder.Write("finds.zip", set.volumes.back());
    Outcome o = Run({"info", disk});
    EXPECT_NE(o.out.find("spanning: smSpanning\n"), std::string::npos) << o.out;
    o = Run({"cat", disk, "last.txt"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "on the last disk");
    o = Run({"cat", disk, "first.txt"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Archiver: Cannot open archive file. Opening aborted or invalid file - Native "
                     "error: 00045\n");
}

TEST_F(KalveroZip, FailuresCarryTheArchiversMessage) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("Finds.gpx", "some data", 8)};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    const std::string good = folder.Write("good.zip", bytes);
    zipfix::Poke32(bytes, layout.centralHeaders[0] + 16, 0x12345678);  // wrong CRC-32
    const std::string bad = folder.Write("bad.zip", bytes);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    };
    const Case cases[] = {
        {{"cat", good, "Other.gpx"}, 1, "", "Archiver: File \"Other.gpx\" not found - Native error: 00015\n"},
        {{"cat", bad, "Finds.gpx"},
         1,
         "some data",
         "Archiver: Invalid size or check sum of file or unsupported compression format - Native "
         "error: 00008\n"},
        {{"cat", "--corrupted", bad, "Finds.gpx"}, 0, "some data", ""},
        {{"info", folder.File("missing.zip")},
         1,
         "",
         "Archiver: File \"" + folder.File("missing.zip") + "\" not found - Native error: 00012\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
    }
    EXPECT_FALSE(folder.Exists("missing.zip"));  // nothing is created
}

TEST_F(KalveroZip, CatStopsAtTheOutputLimit) {
    // The data holds 200000 bytes; the directory says 1000.
    const std::string data(200000, 'd');
    zipfix::ZipPlan plan;
    plan.entries = {Entry("Finds.gpx", data, 8)};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    const std::string healthy = folder.Write("healthy.zip", bytes);
    zipfix::Poke32(bytes, layout.centralHeaders[0] + 24, 1000);
    const std::string understated = folder.Write("understated.zip", bytes);
    const std::string stopped =
        "kalvero-zip: output stopped at 5000 bytes (--max-size); the entry holds more\n";

    struct Case {
        std::vector<std::string> args;
        int status;
        size_t outSize;
        std::string err;
    };
    const Case cases[] = {
        {{"cat", "--corrupted", "--max-size", "5000", understated, "Finds.gpx"}, 1, 5000, stopped},
        {{"cat", "--max-size", "5000", healthy, "Finds.gpx"}, 1, 5000, stopped},
        {{"cat", "--max-size", "200000", healthy, "Finds.gpx"}, 0, 200000, ""},
        // The default limit lies far beyond this entry's real data.
        {{"cat", "--corrupted", understated, "Finds.gpx"}, 0, 200000, ""},
        {{"cat", "--max-size", "5k", healthy, "Finds.gpx"}, 2, 0, ""},
        {{"cat", "--max-size", "-1", healthy, "Finds.gpx"}, 2, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out.size(), c.outSize);
        if (c.status != 2) {
            EXPECT_EQ(o.err, c.err);
        }
    }
}

TEST_F(KalveroZip, ProgressLines) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("sub/x.gpx", std::string(150000, 'p'))};
    const Outcome o = Run({"cat", "--progress", Archive(plan), "sub/x.gpx"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.size(), 150000u);
    EXPECT_EQ(o.err,
              "overall\t\t0.00\tpoExtract\tppStart\n"
              "file\tsub\\x.gpx\t43.69\tpoExtract\tppProcess\n"
              "overall\t\t43.69\tpoExtract\tppProcess\n"
              "file\tsub\\x.gpx\t87.38\tpoExtract\tppProcess\n"
              "overall\t\t87.38\tpoExtract\tppProcess\n"
              "file\tsub\\x.gpx\t100.00\tpoExtract\tppProcess\n"
              "overall\t\t100.00\tpoExtract\tppProcess\n"
              "file\tsub\\x.gpx\t100.00\tpoExtract\tppEnd\n"
              "overall\t\t100.00\tpoExtract\tppEnd\n");
}

TEST_F(KalveroZip, Info) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("docs/", ""), Entry("docs/a.txt", "a"), Entry("b.txt", "b")};
    plan.comment = "Gr\xFC\xDF" "e";  // Windows-1252
    const std::string zip = Archive(plan);
    const Outcome o = Run({"info", zip});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "entries: 3\nfiles: 2\nsize: " + std::to_string(folder.Read("Finds.zip").size()) +
                         "\nspanning: smNone\ncomment: Gr\xC3\xBC\xC3\x9F" "e\n");
}

TEST_F(KalveroZip, WrongUsage) {
    const std::string zip = Archive(zipfix::ZipPlan{});
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"unpack", zip},
        {"list"},
        {"list", zip, "*", "more"},
        {"cat", zip},
        {"info", "--corrupted", zip},
        {"cat", "--verbose", zip, "x"},
        {"--help", "list"},
        {"extract", "--overwrite", "sometimes", zip},
        {"extract", "-d"},
        {"test", "--junk-paths", zip},
        {"test", zip, "*", "more"},
    };
    for (const auto& args : cases) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 2) << (args.empty() ? "" : args[0]);
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kalvero-zip cat [--corrupted] [--max-size N] [--progress] [--password PW] ARCHIVE ENTRY"), std::string::npos);
}

// ---- extract and test ------------------------------------------------------------------------

// A tree with a folder, a deflated file, and a file whose CRC-32 is wrong in the directory.
std::string DamagedTree(TempFolder& folder) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("docs/", ""), Entry("docs/a.txt", "alpha", 8),
                    Entry("docs/bad.txt", "broken"), Entry("z.txt", "zulu")};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[2] + 16, 0x12345678);
    return folder.Write("tree.zip", bytes);
}

TEST_F(KalveroZip, TestNamesEveryFileAndTheOneThatFails) {
    const std::string zip = DamagedTree(folder);
    const std::string damaged =
        "Archiver: Invalid size or check sum of file or unsupported compression format - "
        "Native error: 00008";
    const Outcome o = Run({"test", zip});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "OK docs/a.txt\nFAILED docs/bad.txt: " + damaged + "\nOK z.txt\n");
    EXPECT_EQ(o.err, "docs/bad.txt: " + damaged + "\n");

    // A password is taken (and not needed by entries that are not encrypted).
    const Outcome selected = Run({"test", "--password", "secret", zip, "*a.txt"});
    EXPECT_EQ(selected.status, 0);
    EXPECT_EQ(selected.out, "OK docs/a.txt\n");
}

TEST_F(KalveroZip, ExtractWritesTheTreeAndGoesOnAfterAFailure) {
    const std::string zip = DamagedTree(folder);
    const Outcome o = Run({"extract", "-d", folder.File("out"), zip});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("docs/bad.txt: Archiver: Invalid size"), std::string::npos) << o.err;
    EXPECT_EQ(folder.Read("out/docs/a.txt"), "alpha");
    EXPECT_EQ(folder.Read("out/z.txt"), "zulu");
    EXPECT_FALSE(folder.Exists("out/docs/bad.txt"));

    const Outcome junked = Run({"extract", "--junk-paths", "-d", folder.File("flat"), zip, "*a.txt"});
    EXPECT_EQ(junked.status, 0) << junked.err;
    EXPECT_EQ(folder.Read("flat/a.txt"), "alpha");
    EXPECT_FALSE(folder.Exists("flat/docs"));
}

TEST_F(KalveroZip, ExistingFilesAreReplacedOnlyWhenAskedFor) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("a.txt", "new")};
    const std::string zip = Archive(plan);
    struct Case {
        std::vector<std::string> options;
        int status;
        std::string content;
    };
    const Case cases[] = {
        {{}, 1, "old"},  // prompt without a terminal: No
        {{"--overwrite", "never"}, 1, "old"},
        {{"--overwrite", "always"}, 0, "new"},
    };
    std::filesystem::create_directories(folder.File("out"));
    for (const Case& c : cases) {
        folder.Write("out/a.txt", "old");
        std::vector<std::string> args = {"extract", "-d", folder.File("out")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(zip);
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_EQ(folder.Read("out/a.txt"), c.content);
    }
}

TEST_F(KalveroZip, HostileNamesWriteNothingOutsideTheFolder) {
    std::filesystem::create_directories(folder.File("out"));
    std::filesystem::create_directories(folder.File("elsewhere"));
    std::filesystem::create_directory_symlink(folder.File("elsewhere"), folder.File("out/link"));
    const std::vector<std::string> hostile = {"../x", "a/../../x", "..\\x",
                                              folder.File("elsewhere/abs"), "C:\\x",
                                              "\\\\server\\share\\x", "link/x"};
    zipfix::ZipPlan plan;
    for (const auto& name : hostile) plan.entries.push_back(Entry(name, "payload"));
    plan.entries.push_back(Entry("fine.txt", "fine"));
    const Outcome o = Run({"extract", "-d", folder.File("out"), Archive(plan)});
    EXPECT_EQ(o.status, 1);
    for (const auto& name : hostile) {
        std::string shown = name;
        for (char& c : shown)
            if (c == '\\') c = '/';
        EXPECT_NE(o.err.find(shown + ": "), std::string::npos) << name << "\n" << o.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("elsewhere")));
    EXPECT_FALSE(folder.Exists("x"));
    EXPECT_EQ(folder.Read("out/fine.txt"), "fine");
}

TEST_F(KalveroZip, EveryListedNameIsAcceptedBack) {
    zipfix::ZipEntry umlaut = Entry("Gr\xC3\xB6\xC3\x9F" "e.txt", "umlaut");
    zipfix::ZipPlan plan;
    plan.entries = {Entry("a\\b\\c.txt", "backslashes"), Entry("docs/", ""), umlaut,
                    Entry("sub/x.gpx", "x")};
    const std::string zip = Archive(plan);
    const Outcome listed = Run({"list", zip});
    ASSERT_EQ(listed.status, 0);
    std::vector<std::string> names;
    for (size_t at = 0; at < listed.out.size();) {
        const size_t end = listed.out.find('\n', at);
        names.push_back(listed.out.substr(at, listed.out.find('\t', at) - at));
        at = end + 1;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a/b/c.txt", "docs", "Gr\xC3\xB6\xC3\x9F" "e.txt",
                                               "sub/x.gpx"}));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Run({"cat", zip, name}).status, 0);
        const Outcome tested = Run({"test", zip, name});
        EXPECT_EQ(tested.status, 0);
        if (name != "docs") {
            EXPECT_EQ(tested.out, "OK " + name + "\n");
        }
        EXPECT_EQ(Run({"extract", "-d", folder.File("one"), zip, name}).status, 0);
        EXPECT_TRUE(folder.Exists("one/" + name));
    }
}

TEST_F(KalveroZip, OverlappingEntriesFailTheTest) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("bomb-1", std::string(5000, 'b')), Entry("bomb-2", std::string(5000, 'b')),
                    Entry("fine.txt", "fine")};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[1] + 42, static_cast<uint32_t>(layout.localHeaders[0]));
    const Outcome o = Run({"test", folder.Write("bomb.zip", bytes)});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("bomb-2: Archiver: Refused \"bomb-2\": invalid zip file with overlapped "
                         "components (possible zip bomb) - Native error: 00008"),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.out.find("OK fine.txt\n"), std::string::npos);
}

}  // namespace
