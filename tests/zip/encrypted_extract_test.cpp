// Encrypted entries: the traditional ZIP encryption and WinZip's AES, archives of real
// writers and of the tests' own encryptor, the ways a password is obtained, damaged entries
// and IsFilePasswordValid.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "OpenInMemory.h"
#include "NativeErrorOf.h"
#include "RecordingPrompt.h"
#include "fixtures/ZipBuilder.h"
#include "fixtures/ZipCrypt.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

const std::string kPassword = "kalvero";

std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

using zipfix::RandomBytes;

std::string Text(size_t n) { return zipfix::WaypointText(n); }

zipfix::ZipEntry Plain(const std::string& name, const std::string& data) {
    return zipfix::Entry(name, data);
}

// An archive stream whose reads fail with a plain exception once FailAt lies in their range.
class FailingStream : public TZAMemoryStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override {
        if (FailAt >= 0 && Position() <= FailAt && FailAt < Position() + Count)
            throw std::runtime_error("device gone");
        return TZAMemoryStream::Read(Buffer, Count);
    }
    int64_t FailAt = -1;
};

class Encrypted : public ::testing::Test {
protected:
    Encrypted() {
        a.SetName(u"Archiver");
        a.OnOverallProgress = [this](TZABaseArchiver*, double, TZAProcessOperation,
                                     TZAProgressPhase phase, bool&) {
            if (phase == ppEnd) ++endEvents;
        };
    }

    void Open(const std::string& bytes) { OpenInMemory(a, archive, bytes); }
    void Open(const std::vector<zipfix::ZipEntry>& entries) { OpenInMemory(a, archive, entries); }
    // Answers OnPassword from `answers` in turn; past their end the entry is skipped.
    void AnswerPasswords(std::vector<std::string> answers) {
        a.OnPassword = [this, answers](TZABaseArchiver*, const ZAString& name,
                                       ZAAnsiString& password, bool& skip) {
            asked.push_back(name);
            if (asked.size() <= answers.size()) password = answers[asked.size() - 1];
            else skip = true;
        };
    }
    std::string Extract(const std::string& name) {
        TZAMemoryStream out;
        a.ExtractToStream(Utf8ToUtf16(name), out);
        return {reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())};
    }

    FailingStream archive;  // outlives the archiver
    TZipArchiver a;
    std::vector<ZAString> asked;
    int endEvents = 0;
};

// ---- real writers ----------------------------------------------------------------------------

// One entry "find.txt" holding "GC12345 Found it 2024-05-17\n", password "kalvero".
struct WrittenArchive {
    const char* what;
    std::string hex;
};
const WrittenArchive kWritten[] = {
    // Info-ZIP zip -P: traditional, stored, data descriptor
    {"zip-classic.zip",
     "504b03040a0009000000c88d8a5d6b7b2b1b280000001c00000008001c0066696e642e747874555409000368"
     "e51a6b68e51a6b75780b0001040000000004000000007b3c17af90ab6f21e175a3f5ae59d4f11d9d0b00c9db"
     "1497ed285f1f89f4424d0d50c13679a1825c504b07086b7b2b1b280000001c000000504b01021e030a000900"
     "0000c88d8a5d6b7b2b1b280000001c000000080018000000000001000000a4810000000066696e642e747874"
     "555405000368e51a6b75780b000104000000000400000000504b050600000000010001004e0000007a000000"
     "0000"
    },
    // bsdtar zip:encryption=traditional: deflated, data descriptor
    {"bsd-trad.zip",
     "504b0304140009000800c88d8a5d00000000000000001c0000000800200066696e642e74787455540d000768"
     "e51a6b69e51a6b68e51a6b75780b0001040000000004000000007e926e52d2f7794a3d577a2f31fff5a4de3d"
     "41030663ed4aa28ae851e4f80d97d2192d803c865563967f504b07086b7b2b1b2a0000001c000000504b0102"
     "1403140009000800c88d8a5d6b7b2b1b2a0000001c000000080020000000000000000000a481000000006669"
     "6e642e74787455540d000768e51a6b69e51a6b68e51a6b75780b000104000000000400000000504b05060000"
     "00000100010056000000800000000000"
    },
    // 7-Zip -mem=AES128: AE-2, stored
    {"7z-aes128.zip",
     "504b0304330001006300c98d8a5d00000000300000001c00000008000b0066696e642e747874019907000200"
     "4145010000beefafebcd2a76c3b5990b7d88b190a8f1f69d4cb6fdc19b5731f2d3d32cd8fd1c45523f80b5a9"
     "5353b3db8bdde8b32e504b01023f03330001006300c98d8a5d00000000300000001c00000008002f00000000"
     "0000002080a4810000000066696e642e7478740a002000000000000100180027da715bce88dd010000000000"
     "00000000000000000000000199070002004145010000504b0506000000000100010065000000610000000000"
    },
    // 7-Zip -mem=AES256: AE-2, stored
    {"7z-aes256.zip",
     "504b0304330001006300c98d8a5d00000000380000001c00000008000b0066696e642e747874019907000200"
     "414503000074572442926d9eeaf73b4e0a2ff96d73b6af2f2c0b9892477a81640afef1594c649efb083ac2e4"
     "b0608efdfcd0cc80c7ad888641c930eb31504b01023f03330001006300c98d8a5d00000000380000001c0000"
     "0008002f000000000000002080a4810000000066696e642e7478740a002000000000000100180027da715bce"
     "88dd01000000000000000000000000000000000199070002004145030000504b050600000000010001006500"
     "0000690000000000"
    },
    // bsdtar zip:encryption=aes256: AE-1, deflated, data descriptor
    {"bsd-aes256.zip",
     "504b0304140009006300c88d8a5d00000000000000001c00000008002b0066696e642e74787455540d000768"
     "e51a6b69e51a6b68e51a6b75780b0001040000000004000000000199070001004145030800749cb52b4f8a47"
     "bda4aa4833c1e5b25270a7c2cac9d727f1b9d354549fcb025838499c12b322ec2eb38f8f26a5a04e93b3c626"
     "4dd391aa526e4a504b07086b7b2b1b3a0000001c000000504b01021403140009006300c88d8a5d6b7b2b1b3a"
     "0000001c00000008002b000000000000000000a4810000000066696e642e74787455540d000768e51a6b69e5"
     "1a6b68e51a6b75780b0001040000000004000000000199070001004145030800504b05060000000001000100"
     "610000009b0000000000"
    },
};

TEST_F(Encrypted, ArchivesOfRealWritersOpenWithTheirPassword) {
    for (const WrittenArchive& w : kWritten) {
        SCOPED_TRACE(w.what);
        Open(FromHex(w.hex));
        a.SetPassword(kPassword);
        EXPECT_EQ(Extract("find.txt"), "GC12345 Found it 2024-05-17\n");
        EXPECT_TRUE(a.IsFilePasswordValid(u"find.txt", kPassword));
        EXPECT_FALSE(a.IsFilePasswordValid(u"find.txt", "Kalvero"));
        a.SetPassword("wrong");
        AnswerPasswords({});
        EXPECT_EQ(Extract("find.txt"), "");  // the handler skips the entry
        EXPECT_EQ(asked.size(), 1u);
        asked.clear();
        a.OnPassword = nullptr;
        a.CloseArchive();
    }
}

// ---- every scheme, from the tests' encryptor ----------------------------------------------

TEST_F(Encrypted, EverySchemeComesOutByteForByte) {
    const std::string text = Text(300000);
    const std::string noise = RandomBytes(1200000, 5);  // stored: more than one chunk
    struct Case {
        const char* what;
        zipfix::ZipEntry entry;
    };
    const Case cases[] = {
        {"classic stored", zipfix::ClassicEntry("x", noise, 0, kPassword)},
        {"classic deflated", zipfix::ClassicEntry("x", text, 8, kPassword)},
        {"classic deflated, data descriptor", zipfix::ClassicEntry("x", text, 8, kPassword, true)},
        {"classic empty", zipfix::ClassicEntry("x", "", 0, kPassword)},
        {"AES-128 AE-2 deflated", zipfix::AesEntry("x", text, 8, kPassword, 128)},
        {"AES-192 AE-2 deflated", zipfix::AesEntry("x", text, 8, kPassword, 192)},
        {"AES-256 AE-2 stored", zipfix::AesEntry("x", noise, 0, kPassword, 256)},
        {"AES-256 AE-1 deflated", zipfix::AesEntry("x", text, 8, kPassword, 256, 1)},
        {"AES-128 AE-2 empty", zipfix::AesEntry("x", "", 0, kPassword, 128)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open({Plain("before", "plain"), c.entry});
        a.SetPassword(kPassword);
        EXPECT_EQ(Extract("x"), c.entry.data);
        EXPECT_EQ(Extract("before"), "plain");
        // ExtractToBuffer's window inside an encrypted entry.
        if (c.entry.data.size() > 70010) {
            std::string window(10, '\0');
            a.ExtractToBuffer(u"x", window.data(), 10, 70000);
            EXPECT_EQ(window, c.entry.data.substr(70000, 10));
        }
        a.CloseArchive();
    }
}

// An AE-1 entry keeps a CRC-32, but its authentication code decides.
TEST_F(Encrypted, AnAE1EntryIsJudgedByItsAuthenticationCodeNotItsCrc) {
    zipfix::ZipEntry e = zipfix::AesEntry("x", Text(5000), 8, kPassword, 256, 1);
    e.crcField = 0x12345678;
    Open({e});
    a.SetPassword(kPassword);
    EXPECT_EQ(Extract("x"), e.data);
}

// ---- how the password is obtained -----------------------------------------------------------

TEST_F(Encrypted, AWrongPasswordIsAskedForAgainUntilOneWorksAndThatOneIsKept) {
    for (const zipfix::ZipEntry& second :
         {zipfix::ClassicEntry("b/two", "second secret", 8, kPassword),
          zipfix::AesEntry("b/two", "second secret", 8, kPassword, 192)}) {
        Open({zipfix::AesEntry("one", "first secret", 0, kPassword, 128), second});
        a.SetPassword("wrong");
        AnswerPasswords({"also wrong", kPassword});
        EXPECT_EQ(Extract("one"), "first secret");
        EXPECT_EQ(asked, (std::vector<ZAString>{u"one", u"one"}));
        EXPECT_EQ(a.Password(), kPassword);
        EXPECT_EQ(Extract("b/two"), "second secret");  // the kept password, not asked again
        EXPECT_EQ(asked.size(), 2u);
        asked.clear();
        a.CloseArchive();
    }
}

// An empty password is tried on an AES entry, while a classic entry asks at once.
TEST_F(Encrypted, AnEmptyPasswordIsTriedOnlyUnderAes) {
    Open({zipfix::AesEntry("aes", "open to all", 0, ""),
          zipfix::ClassicEntry("classic", "open to all", 0, "")});
    AnswerPasswords({});
    EXPECT_EQ(Extract("aes"), "open to all");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Extract("classic"), "");
    EXPECT_EQ(asked, std::vector<ZAString>{u"classic"});
}

TEST_F(Encrypted, ASkippedEntryWritesNothingAndRaisesNoError) {
    Open({zipfix::ClassicEntry("x", Text(1000), 8, kPassword)});
    a.SetPassword("before");
    AnswerPasswords({"wrong", "still wrong"});
    EXPECT_EQ(NativeErrorOf([&] { EXPECT_EQ(Extract("x"), ""); }), 0);
    EXPECT_EQ(asked.size(), 3u);  // two wrong answers, then the handler skips
    EXPECT_TRUE(a.FileSkipped());
    EXPECT_EQ(endEvents, 1);      // the overall ppEnd still comes
    EXPECT_EQ(a.Password(), "still wrong");
}

// Without a handler the built-in dialog asks; Cancel skips and keeps Password.
TEST_F(Encrypted, TheDialogAsksAndCancelSkips) {
    RecordingPrompt prompt;
    Open({zipfix::AesEntry("Finds.gpx", "<gpx/>", 8, kPassword)});
    a.SetPassword("earlier");
    prompt.passwordOk = false;
    EXPECT_EQ(Extract("Finds.gpx"), "");
    EXPECT_EQ(prompt.captions, std::vector<ZAString>{u"Password for \"Finds.gpx\""});
    EXPECT_EQ(a.Password(), "earlier");
    prompt.passwordOk = true;
    prompt.password = u"kalvero";
    EXPECT_EQ(Extract("Finds.gpx"), "<gpx/>");
    EXPECT_EQ(prompt.captions.size(), 2u);
    EXPECT_EQ(a.Password(), kPassword);
}

// Entries that cannot be AES entries fall to the traditional scheme, whose check then fails
// for every password: the handler is asked until it skips.
TEST_F(Encrypted, EntriesThatAreNotAesEntriesAreReadWithTheClassicScheme) {
    zipfix::ZipEntry newVersion = zipfix::AesEntry("x", "data", 0, kPassword);
    newVersion.versionNeeded = 16660;
    newVersion.methodField = 0;
    zipfix::ZipEntry badStrength = zipfix::AesEntry("x", "data", 0, kPassword);
    badStrength.localExtra = badStrength.centralExtra = zipfix::AesBlock(4, 0);
    for (const zipfix::ZipEntry& e : {newVersion, badStrength}) {
        Open({e});
        a.SetPassword(kPassword);
        AnswerPasswords({kPassword, kPassword, kPassword});
        Extract("x");
        EXPECT_EQ(asked.size(), 4u);
        asked.clear();
        a.CloseArchive();
    }
}

// ---- damaged entries ---------------------------------------------------------------------------

TEST_F(Encrypted, DamagedEncryptedEntriesFail) {
    const std::string text = Text(20000);
    auto tamper = [](zipfix::ZipEntry e, size_t at) {
        auto store = e.store;
        e.store = [store, at](const std::string& packed) {
            std::string s = store(packed);
            s[at] = static_cast<char>(s[at] ^ 0x01);
            return s;
        };
        return e;
    };
    auto shortened = [](zipfix::ZipEntry e, size_t keep) {
        auto store = e.store;
        e.store = [store, keep](const std::string& packed) { return store(packed).substr(0, keep); };
        return e;
    };
    struct Case {
        const char* what;
        zipfix::ZipEntry entry;
        size_t excusedSize;  // with ExtractCorruptedFiles the data is written as far as it goes
    };
    const Case cases[] = {
        {"AES data byte changed", tamper(zipfix::AesEntry("x", text, 0, kPassword), 5000), 20000},
        {"AES code byte changed", tamper(zipfix::AesEntry("x", text, 0, kPassword), 18 + 20000 + 9), 20000},
        {"classic data byte changed", tamper(zipfix::ClassicEntry("x", text, 0, kPassword), 5000), 20000},
        {"classic: fewer bytes than its header", shortened(zipfix::ClassicEntry("x", text, 0, kPassword), 11), 0},
        {"AES-256: fewer bytes than salt, verifier and code",
         shortened(zipfix::AesEntry("x", text, 0, kPassword, 256), 27), 0},
        {"AES-128: nothing stored", shortened(zipfix::AesEntry("x", text, 0, kPassword, 128), 0), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open({c.entry, Plain("after", "after")});
        a.SetPassword(kPassword);
        AnswerPasswords({});
        a.SetExtractCorruptedFiles(false);
        TZAMemoryStream out;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", out); }), 8);
        a.SetExtractCorruptedFiles(true);
        EXPECT_EQ(Extract("x").size(), c.excusedSize);
        EXPECT_TRUE(asked.empty());  // damage is no reason to ask for a password
        EXPECT_EQ(Extract("after"), "after");
        a.CloseArchive();
    }
}

// Two equal entries (same password, salt and data, so the same code); the second is cut off
// inside its code by the end of the file. What is missing never matches.
TEST_F(Encrypted, AnAuthenticationCodeCutOffByTheEndOfTheFileNeverPasses) {
    const zipfix::ZipEntry e = zipfix::AesEntry("x", Text(3000), 0, kPassword);
    zipfix::ZipEntry twin = e;
    twin.name = "y";
    zipfix::ZipPlan plan;
    plan.entries = {e, twin};
    plan.writeCentralDir = false;  // the directory is rebuilt from the local headers
    for (size_t cut : {1, 9}) {
        SCOPED_TRACE(cut);
        const std::string bytes = zipfix::BuildZip(plan);
        Open(bytes.substr(0, bytes.size() - cut));
        a.SetPassword(kPassword);
        EXPECT_EQ(Extract("x"), e.data);
        EXPECT_EQ(NativeErrorOf([&] { Extract("y"); }), 8);
        a.CloseArchive();
    }
}

// ---- IsFilePasswordValid ---------------------------------------------------------------------

TEST_F(Encrypted, IsFilePasswordValidTriesWithoutAskingAndChangesNothing) {
    const std::string text = Text(5000);
    zipfix::ZipEntry damaged = zipfix::ClassicEntry("sub/damaged", text, 0, kPassword);
    damaged.crcField = zipfix::Crc32(text) ^ 0x00FFFFFF;  // same check byte, wrong CRC-32
    Open({Plain("plain.txt", "plain"), zipfix::ClassicEntry("sub/classic.txt", text, 8, kPassword, true),
          zipfix::AesEntry("sub/aes.txt", text, 8, kPassword, 192), damaged});
    RecordingPrompt prompt;
    AnswerPasswords({kPassword});
    a.SetPassword("kept");
    struct Case {
        ZAString name;
        std::string password;
        bool valid;
    };
    const Case cases[] = {
        {u"plain.txt", "anything", true},
        {u"sub/classic.txt", kPassword, true},
        {u"sub/classic.txt", "wrong", false},
        {u"*aes.txt", kPassword, true},
        {u"sub\\aes.txt", "", false},
        {u"sub/damaged", kPassword, false},
    };
    for (bool excused : {false, true}) {
        a.SetExtractCorruptedFiles(excused);  // a damaged entry is never a valid password
        for (const Case& c : cases)
            EXPECT_EQ(a.IsFilePasswordValid(c.name, c.password), c.valid)
                << Utf16ToUtf8(c.name) << " " << c.password << " " << excused;
    }
    EXPECT_EQ(NativeErrorOf([&] { a.IsFilePasswordValid(u"missing.txt", kPassword); }), 42);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(prompt.captions.empty());
    EXPECT_EQ(a.Password(), "kept");
    EXPECT_EQ(endEvents, 0);
}

// The trial extraction fails with something other than an archiver error: the archiver is
// left as it was, so the next extraction asks for a password again.
TEST_F(Encrypted, IsFilePasswordValidRestoresTheArchiverWhenTheTrialThrows) {
    const zipfix::ZipEntry e = zipfix::ClassicEntry("x", Text(5000), 0, kPassword);
    zipfix::ZipLayout layout;
    zipfix::ZipPlan plan;
    plan.entries = {e};
    Open(zipfix::BuildZip(plan, &layout));
    a.SetPassword("kept");
    archive.FailAt = static_cast<int64_t>(layout.localHeaders[0]) + 30 + 1 + 12 + 2000;
    EXPECT_FALSE(a.IsFilePasswordValid(u"x", kPassword));
    archive.FailAt = -1;
    EXPECT_EQ(a.Password(), "kept");
    AnswerPasswords({kPassword});
    EXPECT_EQ(Extract("x"), e.data);
    EXPECT_EQ(asked.size(), 1u);
}

}  // namespace
