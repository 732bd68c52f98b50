#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TempFolder.h"
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

zipfix::ZipEntry Entry(const std::string& name, const std::string& data, uint16_t method = 0) {
    zipfix::ZipEntry e;
    e.name = name;
    e.data = data;
    e.method = method;
    if (!name.empty() && name.back() == '/') e.externalAttr = 0x10;
    return e;
}

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
    };
    for (const auto& args : cases) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 2) << (args.empty() ? "" : args[0]);
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kalvero-zip cat [--corrupted] [--progress] [--password PW] ARCHIVE ENTRY"), std::string::npos);
}

}  // namespace
