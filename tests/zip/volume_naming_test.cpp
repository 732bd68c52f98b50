#include <gtest/gtest.h>

#include <string>

#include "RecordingPrompt.h"
#include "TempFolder.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

class VolumeArchiver : public TZipArchiver {
public:
    using TZipArchiver::TZipArchiver;
    using TZABaseArchiver::OpenVolume;
    ZAString VolumeName(ZAString name, int32_t n, bool tryOther = false) const {
        GetVolumeFileName(name, n, tryOther);
        return name;
    }
    const ZAString& CurrentVolumeFile() const { return VolumeFileName; }
};

struct NamingCase {
    TZASpanningMode mode;
    bool advanced;
    bool stubSet;
    ZAString fileName;
    int32_t volume;
    ZAString expected;
};

class VolumeNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(VolumeNaming, FormsTheVolumeFileName) {
    const NamingCase& c = GetParam();
    VolumeArchiver a;
    a.SetSpanningMode(c.mode);
    a.SpanningOptions().SetAdvancedNaming(c.advanced);
    if (c.stubSet) a.SetSFXStub(u"C:\\stubs\\sfx.bin");
    EXPECT_EQ(a.VolumeName(c.fileName, c.volume), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, VolumeNaming,
    ::testing::Values(
        // split, plain naming
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.zip", 0, u"C:\\pq\\finds.Z01"},
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.zip", 1, u"C:\\pq\\finds.Z02"},
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.zip", 99, u"C:\\pq\\finds.Z100"},
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.zip", -1, u"C:\\pq\\finds.zip"},
        NamingCase{smSplitting, false, false, u"/home/u/pq.v2/finds", 0, u"/home/u/pq.v2/finds.Z01"},
        // split, advanced naming
        NamingCase{smSplitting, true, false, u"C:\\pq\\finds.zip", 0, u"C:\\pq\\finds_001.zip"},
        NamingCase{smSplitting, true, false, u"C:\\pq\\finds.zip", 999, u"C:\\pq\\finds_1000.zip"},
        // self-extracting split sets
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.exe", 0, u"C:\\pq\\finds.exe"},
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.exe", 1, u"C:\\pq\\finds.Z02"},
        NamingCase{smSplitting, false, false, u"C:\\pq\\finds.exe", -1, u"C:\\pq\\finds.ZIP"},
        NamingCase{smSplitting, false, true, u"C:\\pq\\finds.zip", 0, u"C:\\pq\\finds.exe"},
        NamingCase{smSplitting, true, true, u"C:\\pq\\finds.zip", 2, u"C:\\pq\\finds_003.zip"},
        // spanned sets
        NamingCase{smSpanning, false, false, u"A:\\finds.zip", 0, u"A:\\finds.zip"},
        NamingCase{smSpanning, false, false, u"A:\\finds.zip", 4, u"A:\\finds.zip"},
        NamingCase{smSpanning, true, false, u"A:\\finds.zip", 4, u"A:\\finds_005.zip"},
        NamingCase{smSpanning, false, true, u"A:\\finds.zip", 1, u"A:\\finds.exe"},
        NamingCase{smSpanning, true, false, u"A:\\finds.zip", -1, u"A:\\finds.zip"},
        // a single file keeps its name
        NamingCase{smNone, false, false, u"C:\\pq\\finds.zip", 3, u"C:\\pq\\finds.zip"},
        NamingCase{smNone, true, true, u"C:\\pq\\finds.zip", -1, u"C:\\pq\\finds.zip"}));

TEST(VolumeNaming, SpannedNamesTryTheOtherSchemeWhenAsked) {
    TempFolder folder;
    VolumeArchiver a;
    a.SetSpanningMode(smSpanning);
    a.SpanningOptions().SetAdvancedNaming(true);
    const ZAString archive = folder.FileZA("finds.zip");
    // Neither exists: the first name stands.
    EXPECT_EQ(a.VolumeName(archive, 1, true), folder.FileZA("finds_002.zip"));
    folder.Write("finds.zip", "x");
    EXPECT_EQ(a.VolumeName(archive, 1, true), archive);
    EXPECT_EQ(a.VolumeName(archive, 1, false), folder.FileZA("finds_002.zip"));
    folder.Write("finds_002.zip", "x");
    EXPECT_EQ(a.VolumeName(archive, 1, true), folder.FileZA("finds_002.zip"));
}

// ---- the volume descriptor -----------------------------------------------------------------

TEST(VolumeNumberInfo, DesignationsAndTheirComparison) {
    TZAVolumeNumberInfo unknown;
    EXPECT_EQ(unknown.VolumeKind(), vnkUnknown);
    EXPECT_EQ(unknown.VolumeNumber(), -1);
    EXPECT_EQ(unknown.LastVolumeNumber(), -1);
    EXPECT_FALSE(unknown.FirstVolume());
    EXPECT_FALSE(unknown.LastVolume());

    TZAVolumeNumberInfo first;
    first.SetFirstVolume(true);
    EXPECT_EQ(first.VolumeKind(), vnkFirst);
    EXPECT_TRUE(first.FirstVolume());
    first.SetFirstVolume(false);  // changes nothing
    EXPECT_TRUE(first.FirstVolume());

    TZAVolumeNumberInfo last;  // no last number yet: designated by its kind
    last.SetLastVolume(true);
    EXPECT_EQ(last.VolumeNumber(), -1);
    EXPECT_TRUE(last.LastVolume());

    TZAVolumeNumberInfo third;
    third.SetLastVolumeNumber(2);
    third.SetVolumeNumber(2);
    EXPECT_EQ(third.VolumeKind(), vnkCustom);
    EXPECT_TRUE(third.LastVolume());  // number equals the last number

    TZAVolumeNumberInfo second;
    second.SetVolumeNumber(1);
    TZAVolumeNumberInfo alsoSecond;
    alsoSecond.SetLastVolumeNumber(5);
    alsoSecond.SetVolumeNumber(1);
    TZAVolumeNumberInfo zero;
    zero.SetVolumeNumber(0);

    struct Case {
        const TZAVolumeNumberInfo* a;
        const TZAVolumeNumberInfo* b;
        bool equal;
    };
    const Case cases[] = {
        {&last, &third, true},     {&third, &last, true},     {&last, &second, false},
        {&first, &zero, true},     {&zero, &first, true},     {&first, &second, false},
        {&second, &alsoSecond, true}, {&second, &zero, false}, {&unknown, &unknown, true},
        {&unknown, &second, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].a->IsEqualTo(*cases[i].b), cases[i].equal) << "case " << i;

    third.Init();
    EXPECT_EQ(third.VolumeKind(), vnkUnknown);
    EXPECT_EQ(third.LastVolumeNumber(), -1);
}

// ---- opening volumes of a set --------------------------------------------------------------

class SplitSet : public ::testing::Test {
protected:
    SplitSet() {
        folder.Write("finds.Z01", "volume one");
        folder.Write("finds.zip", "last volume");
        a.SetName(u"Archiver");
        a.SetFileName(folder.FileZA("finds.zip"));
        a.SetSpanningMode(smSplitting);
    }
    static TZAVolumeNumberInfo Volume(int32_t n) {
        TZAVolumeNumberInfo v;
        v.SetVolumeNumber(n);
        return v;
    }
    TempFolder folder;
    VolumeArchiver a;
};

TEST_F(SplitSet, OpensTheNumberedVolumeAndDoesNotAskAgainForTheOpenOne) {
    int asked = 0;
    a.OnRequestFirstVolume = [&](TZABaseArchiver*, ZAString& name, bool&) {
        ++asked;
        EXPECT_EQ(name, folder.FileZA("finds.Z01"));
    };
    a.OpenVolume(Volume(0));
    EXPECT_EQ(a.CurrentVolumeFile(), folder.FileZA("finds.Z01"));
    char buf[10];
    a.CompressedStream()->ReadBuffer(buf, 10);
    EXPECT_EQ(std::string(buf, 10), "volume one");
    const TZAStream* opened = a.CompressedStream();
    a.OpenVolume(Volume(0));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(a.CompressedStream(), opened);
}

TEST_F(SplitSet, MissingMiddleVolumeWithoutHandlerFails) {
    a.OpenVolume(Volume(0));
    try {
        a.OpenVolume(Volume(1));
        FAIL() << "finds.Z02 does not exist";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.Message(),
                  u"Archiver: Cannot open archive file. Opening aborted or invalid file - Native "
                  u"error: 00045");
    }
}

TEST_F(SplitSet, MiddleVolumeHandlerCountsFromOneAndMayNameTheFile) {
    folder.Write("elsewhere.bin", "moved volume");
    int32_t seen = -1;
    a.OnRequestMiddleVolume = [&](TZABaseArchiver*, int32_t n, ZAString& name, bool&) {
        seen = n;
        EXPECT_EQ(name, folder.FileZA("finds.Z02"));
        name = folder.FileZA("elsewhere.bin");
    };
    a.OpenVolume(Volume(1));
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(a.CurrentVolumeFile(), folder.FileZA("elsewhere.bin"));
    EXPECT_EQ(a.VolumeNumberInfo().VolumeNumber(), 1);
}

TEST_F(SplitSet, HandlerThatCancelsStopsTheOpen) {
    a.OnRequestLastVolume = [&](TZABaseArchiver*, ZAString&, bool& cancel) { cancel = true; };
    TZAVolumeNumberInfo last;
    last.SetLastVolume(true);
    EXPECT_THROW(a.OpenVolume(last), EZAException);
    EXPECT_EQ(a.CompressedStream(), nullptr);
}

TEST_F(SplitSet, EmptyNameFromAHandlerIsARefusal) {
    a.OpenVolume(Volume(0));
    const TZAStream* open = a.CompressedStream();
    int asked = 0;
    a.OnRequestLastVolume = [&](TZABaseArchiver*, ZAString& name, bool&) {
        ++asked;
        name.clear();
    };
    TZAVolumeNumberInfo last;
    last.SetLastVolume(true);
    EXPECT_THROW(a.OpenVolume(last), EZAException);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(a.CompressedStream(), open);  // the volume open before stays open
}

TEST(SpannedSet, DefaultRequestsAskForTheDiskAndTryThePlainName) {
    TempFolder folder;
    folder.Write("finds.zip", "the disk");
    RecordingPrompt prompt;
    VolumeArchiver a;
    a.SetFileName(folder.FileZA("finds.zip"));
    a.SetSpanningMode(smSpanning);
    a.SpanningOptions().SetAdvancedNaming(true);
    TZAVolumeNumberInfo second;
    second.SetVolumeNumber(1);
    a.OpenVolume(second);
    EXPECT_EQ(a.CurrentVolumeFile(), folder.FileZA("finds.zip"));
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], u"Please insert disk #2");
    EXPECT_EQ(prompt.buttons[0], (TZAPromptButtons{pbOK, pbCancel}));

    TZAVolumeNumberInfo last;
    last.SetLastVolume(true);
    a.OpenVolume(last);
    EXPECT_EQ(prompt.texts.back(), u"Please insert the last disk");

    prompt.answer = pbCancel;
    TZAVolumeNumberInfo first;
    first.SetFirstVolume(true);
    EXPECT_THROW(a.OpenVolume(first), EZAException);
    EXPECT_EQ(prompt.texts.back(), u"Please insert the first disk");
}

TEST(SpannedSet, LastDiskWithoutTheFileIsAskedForAgain) {
    TempFolder folder;
    VolumeArchiver a;
    a.SetFileName(folder.FileZA("finds.zip"));
    a.SetSpanningMode(smSpanning);
    // The user confirms the first box; the file is missing, so the second box asks again,
    // where the user gives up.
    struct Scripted : RecordingPrompt {
        TZAPromptButton Confirm(const ZAString& t, const TZAPromptButtons& b) override {
            RecordingPrompt::Confirm(t, b);
            return texts.size() == 1 ? pbOK : pbCancel;
        }
    } scripted;
    TZAVolumeNumberInfo last;
    last.SetLastVolume(true);
    EXPECT_THROW(a.OpenVolume(last), EZAException);
    ASSERT_EQ(scripted.texts.size(), 2u);
    EXPECT_EQ(scripted.texts[1], u"File '" + folder.FileZA("finds.zip") +
                                     u"' not found on inserted disk. Please insert last disk "
                                     u"with required file");
}

}  // namespace
