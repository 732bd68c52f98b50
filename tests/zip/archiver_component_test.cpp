#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RecordingPrompt.h"
#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

// Opens the protected dispatchers and state to the tests.
class ProbeArchiver : public TZipArchiver {
public:
    using TZipArchiver::TZipArchiver;
    using TZABaseArchiver::DoOnConfirmOverwrite;
    using TZABaseArchiver::DoOnConfirmProcessFile;
    using TZABaseArchiver::DoOnCopyTempFileProgress;
    using TZABaseArchiver::DoOnDiskFull;
    using TZABaseArchiver::DoOnExtractFile;
    using TZABaseArchiver::DoOnFileProgress;
    using TZABaseArchiver::DoOnOverallProgress;
    using TZABaseArchiver::DoOnPassword;
    using TZABaseArchiver::DoOnProcessFileFailure;
    using TZABaseArchiver::DoOnRequestMiddleVolume;
    using TZABaseArchiver::CheckNotInUpdate;
    uint16_t CompressionMethod() const { return FCompressionMethod; }
    void SetUpdateCount(int32_t n) { FUpdateCount = n; }
};

std::u16string ErrorOf(const std::function<void()>& action, int32_t* native = nullptr) {
    try {
        action();
    } catch (const EZAException& e) {
        if (native) *native = e.NativeError;
        return e.Message();
    }
    return u"(no EZAException)";
}

TEST(ArchiverDefaults, FreshZipArchiverHasTheDocumentedValues) {
    TZipArchiver a;
    EXPECT_FALSE(a.ExtractCorruptedFiles());
    EXPECT_EQ(a.CompressionLevel(), clFastest);
    EXPECT_EQ(a.CompressionMode(), 1);
    EXPECT_EQ(a.CurrentVersion(), u"6.50 ");
    EXPECT_EQ(a.SpanningMode(), smNone);
    EXPECT_FALSE(a.SpanningOptions().AdvancedNaming());
    EXPECT_EQ(a.SpanningOptions().VolumeSize(), vsAutoDetect);
    EXPECT_EQ(a.SpanningOptions().FirstVolumeSize(), 0);
    EXPECT_EQ(a.SpanningOptions().CustomVolumeSize(), 0);
    EXPECT_TRUE(a.Options().FlushBuffers());
    EXPECT_TRUE(a.Options().OEMFileNames());
    EXPECT_EQ(a.Options().SearchAttr(), 10431);
    EXPECT_EQ(a.Options().OverwriteMode(), omAlways);
    EXPECT_EQ(a.Options().ShareMode(), smShareDenyNone);
    EXPECT_EQ(a.Options().StorePath(), spRelativePath);
    EXPECT_TRUE(a.Options().Recurse());
    EXPECT_TRUE(a.Options().CreateDirs());
    EXPECT_TRUE(a.Options().ReplaceReadOnly());
    EXPECT_TRUE(a.Options().SetAttributes());
    EXPECT_FALSE(a.InMemory());
    EXPECT_EQ(a.Zip64Mode(), zmDisabled);
    EXPECT_FALSE(a.UnicodeFilenames());
    EXPECT_EQ(a.EncryptionMethod(), caPkzipClassic);
    EXPECT_TRUE(a.Password().empty());
    EXPECT_TRUE(a.OpenCorruptedArchives());
    EXPECT_FALSE(a.Active());
    EXPECT_FALSE(a.InUpdate());
    EXPECT_TRUE(a.FileName().empty());
    EXPECT_TRUE(a.FileMasks().empty());
    EXPECT_EQ(a.VolumeNumberInfo().VolumeKind(), vnkUnknown);
    EXPECT_EQ(a.DirManager(), nullptr);
    EXPECT_EQ(a.CompressedStream(), nullptr);
}

TEST(ArchiverDefaults, BareBaseArchiverUsesAutomaticZip64) {
    TZABaseArchiver base;
    EXPECT_EQ(base.Zip64Mode(), zmAuto);
}

TEST(ArchiverProperties, CompressionModeAndLevelFollowEachOther) {
    ProbeArchiver a;
    const std::vector<std::pair<uint8_t, TZACompressionLevel>> byMode = {
        {0, clNone}, {1, clFastest}, {3, clFastest}, {4, clNormal},
        {5, clNormal}, {6, clNormal}, {7, clMax}, {9, clMax}};
    for (auto [mode, level] : byMode) {
        a.SetCompressionMode(mode);
        EXPECT_EQ(a.CompressionLevel(), level) << int(mode);
        EXPECT_EQ(a.CompressionMethod(), mode == 0 ? 0 : 8) << int(mode);
    }
    const std::vector<std::pair<TZACompressionLevel, uint8_t>> byLevel = {
        {clNone, 0}, {clFastest, 1}, {clNormal, 6}, {clMax, 9}};
    for (auto [level, mode] : byLevel) {
        a.SetCompressionLevel(level);
        EXPECT_EQ(a.CompressionMode(), mode) << int(level);
    }
}

TEST(ArchiverProperties, CompressionModeAboveNineIsRefusedAndChangesNothing) {
    TZipArchiver a;
    a.SetName(u"Archiver");
    a.SetCompressionMode(5);
    int32_t native = 0;
    EXPECT_EQ(ErrorOf([&] { a.SetCompressionMode(10); }, &native),
              u"Archiver: Invalid compression mode. Mode must be in [0-9] range - Native error: "
              u"00005");
    EXPECT_EQ(native, 5);
    EXPECT_EQ(a.CompressionMode(), 5);
    EXPECT_EQ(a.CompressionLevel(), clNormal);
}

TEST(ArchiverProperties, CurrentVersionCannotBeChanged) {
    TZipArchiver a;
    a.SetCurrentVersion(u"7.00");
    EXPECT_EQ(a.CurrentVersion(), u"6.50 ");
}

TEST(ArchiverProperties, VolumeSizesFollowTheSpanningOptions) {
    TZASpanningOptions o;
    o.SetCustomVolumeSize(1000);
    EXPECT_EQ(o.CustomVolumeSize(), 65536);
    o.SetCustomVolumeSize(70000);
    EXPECT_EQ(o.CustomVolumeSize(), 70000);
    const std::vector<std::pair<TZAVolumeSize, int64_t>> sizes = {
        {vsAutoDetect, -1},       {vsCustom, 70000},       {vs1_44MB, 1457664},
        {vs100MB, 104857600},     {vs200MB, 209715200},    {vs250MB, 262144000},
        {vs600MB, 629145600},     {vs650MB, 681574400},    {vs700MB, 734003200},
        {vs4700MB, 4928307200}};
    for (auto [kind, bytes] : sizes) {
        o.SetVolumeSize(kind);
        EXPECT_EQ(o.GetVolumeSize(false), bytes) << int(kind);
        EXPECT_EQ(o.GetVolumeSize(true), bytes) << int(kind);
    }
    o.SetFirstVolumeSize(123456);
    EXPECT_EQ(o.GetVolumeSize(true), 123456);
    EXPECT_EQ(o.GetVolumeSize(false), 4928307200);
}

TEST(ArchiverProperties, AssigningOptionsKeepsTheShareMode) {
    TZAOptions source;
    source.SetShareMode(smShareExclusive);
    source.SetRecurse(false);
    source.SetOverwriteMode(omNever);
    source.SetSearchAttr(16);
    source.SetOEMFileNames(false);
    TZAOptions target;
    target.Assign(source);
    EXPECT_EQ(target.ShareMode(), smShareDenyNone);
    EXPECT_FALSE(target.Recurse());
    EXPECT_EQ(target.OverwriteMode(), omNever);
    EXPECT_EQ(target.SearchAttr(), 16);
    EXPECT_FALSE(target.OEMFileNames());
}

TEST(ArchiverGuards, ClosedArchiverRefusesSizeAndFileCount) {
    TZipArchiver a;
    a.SetName(u"Archiver");
    const std::u16string expected = u"Archiver: Archive is not open - Native error: 00013";
    EXPECT_EQ(ErrorOf([&] { (void)a.Size(); }), expected);
    EXPECT_EQ(ErrorOf([&] { (void)a.FileCount(); }), expected);
    EXPECT_EQ(ErrorOf([&] {
                  TZAMemoryStream s;
                  a.ExtractToStream(u"x", s);
              }),
              expected);
    EXPECT_TRUE(a.Comment().empty());
    EXPECT_FALSE(a.Exists());
    a.SetActive(false);  // already closed: nothing happens
    EXPECT_FALSE(a.Active());
}

TEST(ArchiverGuards, RunningUpdateIsRefused) {
    ProbeArchiver a;
    a.SetName(u"Archiver");
    EXPECT_NO_THROW(a.CheckNotInUpdate());
    a.SetUpdateCount(1);
    EXPECT_TRUE(a.InUpdate());
    EXPECT_EQ(ErrorOf([&] { a.CheckNotInUpdate(); }),
              u"Archiver: Cannot proceed when update is not ended. Preceding EndUpdate call is "
              u"required. - Native error: 00026");
}

TEST(ArchiverOpenState, FileCountLeavesOutFoldersAndSpanningModeIsLocked) {
    zipfix::ZipPlan plan;
    for (auto [name, attr] : {std::pair{"a/", 0x10u}, {"a/x.txt", 0x20u}, {"b.txt", 0x20u},
                              {"hidden/", 0x12u}}) {
        zipfix::ZipEntry e;
        e.name = name;
        e.externalAttr = attr;
        plan.entries.push_back(e);
    }
    plan.comment = "pq comment";
    const std::string bytes = zipfix::BuildZip(plan);
    TZAMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));

    TZipArchiver a;
    a.OpenArchive(stream, false);
    // The hidden folder is not visited by the folder search, so it counts as a file.
    EXPECT_EQ(a.FileCount(), 3);
    EXPECT_TRUE(a.Options().Recurse());
    EXPECT_EQ(a.Comment(), "pq comment");
    EXPECT_EQ(a.Size(), static_cast<int64_t>(bytes.size()));
    try {
        a.SetSpanningMode(smSplitting);
        FAIL() << "must refuse";
    } catch (const EZAException&) {
        FAIL() << "a plain error is expected, not an archiver error";
    } catch (const EZAError& e) {
        EXPECT_EQ(e.Message(), u"Cannot set spanning mode on open archive");
    }
    EXPECT_EQ(a.SpanningMode(), smNone);
    a.SetActive(true);  // already open: nothing happens
    EXPECT_TRUE(a.Active());
    a.SetActive(false);
    EXPECT_FALSE(a.Active());
    a.SetSpanningMode(smSplitting);
    EXPECT_EQ(a.SpanningMode(), smSplitting);
}

TEST(ArchiverWriteSide, OperationsRaiseNotSupported) {
    TZipArchiver a;
    TZAMemoryStream s;
    const std::vector<std::function<void()>> calls = {
        [&] { a.BeginUpdate(); },
        [&] { a.AddFiles(); },
        [&] { a.AddFromString(u"x.txt", u"x", 0x20, 0); },
        [&] { a.DeleteFiles(u"*.*", 10431, u""); },
        [&] { a.RenameFile(u"a", u"b"); },
        [&] { a.MakeSFX(u"x.exe"); },
        [&] { a.RepairArchive(u"y.zip"); },
        [&] { a.MergeWith(u"z.zip"); },
        [&] { a.SetComment("c"); },
        [&] { a.FastFileAppend(s, s, u"f"); },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        try {
            calls[i]();
            ADD_FAILURE() << "call " << i << " must raise";
        } catch (const EZANotSupported& e) {
            EXPECT_NE(e.Message().find(u"is not supported"), std::u16string::npos);
        }
    }
}

TEST(ArchiverOwner, DestroyingTheOwnerClosesTheArchive) {
    TempFolder folder;
    auto* owner = new TZAComponent;
    auto* a = new TZipArchiver(owner);
    a->SetFileName(folder.FileZA("new.zip"));
    a->OpenArchive();
    EXPECT_EQ(folder.Read("new.zip").size(), 0u);
    delete owner;
    EXPECT_EQ(folder.Read("new.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
}

// ---- dispatchers ---------------------------------------------------------------------------

TEST(Dispatchers, ProgressWithoutHandlersClearsCancel) {
    ProbeArchiver a;
    bool cancel = true;
    a.DoOnFileProgress(u"a/b.txt", 50, poExtract, ppProcess, cancel);
    EXPECT_FALSE(cancel);
    cancel = true;
    a.DoOnOverallProgress(50, poExtract, ppProcess, cancel);
    EXPECT_FALSE(cancel);
    cancel = true;
    a.DoOnCopyTempFileProgress(50, ppProcess, cancel);
    EXPECT_FALSE(cancel);
}

TEST(Dispatchers, HandlersSeeBackslashNamesAndTheCurrentCancelFlag) {
    ProbeArchiver a;
    std::vector<ZAString> names;
    bool seenCancel = false;
    a.OnFileProgress = [&](TZABaseArchiver* sender, const ZAString& name, double progress,
                           TZAProcessOperation op, TZAProgressPhase phase, bool& cancel) {
        EXPECT_EQ(sender, &a);
        EXPECT_EQ(progress, 12.5);
        EXPECT_EQ(op, poTest);
        EXPECT_EQ(phase, ppEnd);
        names.push_back(name);
        seenCancel = cancel;
        cancel = true;
    };
    a.OnConfirmProcessFile = [&](TZABaseArchiver*, const ZAString& name, TZAProcessOperation,
                                 bool& confirm) {
        names.push_back(name);
        EXPECT_TRUE(confirm);  // set before the handler runs
    };
    a.OnExtractFile = [&](TZABaseArchiver*, ZAString& name, uint32_t&, const ZAAnsiString&) {
        names.push_back(name);
        name = u"renamed";
    };
    a.OnCopyTempFileProgress = [&](TZABaseArchiver*, double, TZAProgressPhase, bool& cancel) {
        seenCancel = cancel;
    };
    bool cancel = true;
    a.DoOnFileProgress(u"dir/sub/f.gpx", 12.5, poTest, ppEnd, cancel);
    EXPECT_TRUE(seenCancel);
    EXPECT_TRUE(cancel);
    bool confirm = false;
    a.DoOnConfirmProcessFile(u"dir/g.gpx", poExtract, confirm);
    ZAString extracted = u"x/y/z.txt";
    uint32_t attr = 0x20;
    a.DoOnExtractFile(extracted, attr, "");
    EXPECT_EQ(extracted, u"renamed");
    cancel = true;
    a.DoOnCopyTempFileProgress(1, ppStart, cancel);
    EXPECT_FALSE(seenCancel);  // cleared before the handler runs
    EXPECT_EQ(names, (std::vector<ZAString>{u"dir\\sub\\f.gpx", u"dir\\g.gpx", u"x\\y\\z.txt"}));
}

TEST(Dispatchers, WithoutPromptsEveryQuestionIsAnsweredAsCancelled) {
    ProbeArchiver a;
    bool confirm = true;
    ZAString dest = u"/t/a.txt";
    a.DoOnConfirmOverwrite(u"a.txt", dest, confirm);
    EXPECT_FALSE(confirm);
    EXPECT_EQ(a.Options().OverwriteMode(), omAlways);

    ZAAnsiString password = "old";
    bool skip = false;
    a.DoOnPassword(u"a.txt", password, skip);
    EXPECT_TRUE(skip);
    EXPECT_EQ(password, "old");

    for (int32_t native : {8, 45, 61}) {
        TZAAction action = fxaRetry;
        a.DoOnProcessFileFailure(u"a.txt", poExtract, native, 4, u"msg", action);
        EXPECT_EQ(action, fxaAbort) << native;
    }
}

struct OverwriteCase {
    TZAPromptButton answer;
    bool confirm;
    TZAOverwriteMode mode;
};

class OverwriteBox : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteBox, AnswerDecidesConfirmAndOverwriteMode) {
    RecordingPrompt prompt;
    prompt.answer = GetParam().answer;
    ProbeArchiver a;
    a.Options().SetOverwriteMode(omPrompt);
    bool confirm = !GetParam().confirm;
    ZAString dest = u"/t/finds.gpx";
    a.DoOnConfirmOverwrite(u"finds.gpx", dest, confirm);
    EXPECT_EQ(confirm, GetParam().confirm);
    EXPECT_EQ(a.Options().OverwriteMode(), GetParam().mode);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], u"Overwrite file \"/t/finds.gpx\" with \"finds.gpx\"");
    EXPECT_EQ(prompt.buttons[0], (TZAPromptButtons{pbYes, pbNo, pbNoToAll, pbYesToAll}));
}

INSTANTIATE_TEST_SUITE_P(Answers, OverwriteBox,
                         ::testing::Values(OverwriteCase{pbYes, true, omPrompt},
                                           OverwriteCase{pbNo, false, omPrompt},
                                           OverwriteCase{pbNoToAll, false, omNever},
                                           OverwriteCase{pbYesToAll, true, omAlways},
                                           OverwriteCase{pbCancel, false, omPrompt}));

struct FailureCase {
    int32_t native;
    TZAPromptButton answer;
    TZAAction action;
    size_t boxes;
    ZAString text;
    TZAPromptButtons buttons;
};

class FailureBox : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureBox, AnswerGivesTheAction) {
    const FailureCase& c = GetParam();
    RecordingPrompt prompt;
    prompt.answer = c.answer;
    ProbeArchiver a;
    TZAAction action = fxaRetry;
    a.DoOnProcessFileFailure(u"a/b.txt", poExtract, c.native, 6, u"Some failure", action);
    EXPECT_EQ(action, c.action);
    ASSERT_EQ(prompt.texts.size(), c.boxes);
    if (c.boxes) {
        EXPECT_EQ(prompt.texts[0], c.text);
        EXPECT_EQ(prompt.buttons[0], c.buttons);
    }
}

const ZAString kDiskFullText = u"Some failure. File processing error, possibly disk is full";
INSTANTIATE_TEST_SUITE_P(
    Answers, FailureBox,
    ::testing::Values(
        FailureCase{8, pbRetry, fxaRetry, 1, kDiskFullText, {pbAbort, pbRetry, pbIgnore}},
        FailureCase{8, pbIgnore, fxaIgnore, 1, kDiskFullText, {pbAbort, pbRetry, pbIgnore}},
        FailureCase{8, pbAbort, fxaAbort, 1, kDiskFullText, {pbAbort, pbRetry, pbIgnore}},
        FailureCase{61, pbIgnore, fxaIgnore, 1, u"Some failure", {pbAbort, pbIgnore}},
        FailureCase{61, pbAbort, fxaAbort, 1, u"Some failure", {pbAbort, pbIgnore}},
        FailureCase{45, pbIgnore, fxaAbort, 0, u"", {}}));

TEST(Dispatchers, FailureHandlerStartsFromIgnoreAndGetsBackslashNames) {
    ProbeArchiver a;
    TZAAction seen = fxaAbort;
    ZAString seenName;
    a.OnProcessFileFailure = [&](TZABaseArchiver*, const ZAString& name, TZAProcessOperation,
                                 int32_t native, int32_t code, const ZAString& message,
                                 TZAAction& action) {
        seen = action;
        seenName = name;
        EXPECT_EQ(native, 19);
        EXPECT_EQ(code, 9);
        EXPECT_EQ(message, u"m");
    };
    TZAAction action = fxaRetry;
    a.DoOnProcessFileFailure(u"a/b.txt", poExtract, 19, 9, u"m", action);
    EXPECT_EQ(seen, fxaIgnore);
    EXPECT_EQ(seenName, u"a\\b.txt");
}

TEST(Dispatchers, PasswordDialogGivesTheTypedTextAsAnsiBytes) {
    RecordingPrompt prompt;
    prompt.password = u"Geheim \u00E4\u20AC";
    ProbeArchiver a;
    ZAAnsiString password;
    bool skip = true;
    a.DoOnPassword(u"dir/finds.gpx", password, skip);
    EXPECT_FALSE(skip);
    EXPECT_EQ(password, "Geheim \xE4\x80");
    ASSERT_EQ(prompt.captions.size(), 1u);
    EXPECT_EQ(prompt.captions[0], u"Password for \"dir/finds.gpx\"");
    EXPECT_EQ(prompt.labels[0], u"Enter password: ");
    EXPECT_EQ(prompt.maxLength, 255);

    prompt.passwordOk = false;
    password = "kept";
    skip = false;
    a.DoOnPassword(u"dir/finds.gpx", password, skip);
    EXPECT_TRUE(skip);
    EXPECT_EQ(password, "kept");
}

TEST(Dispatchers, DiskFullWithoutHandlerRaisesOrAsksOnSpannedSets) {
    ProbeArchiver a;
    a.SetName(u"Archiver");
    bool cancel = true;
    EXPECT_EQ(ErrorOf([&] { a.DoOnDiskFull(0, u"/tmp/x.zip", cancel); }),
              u"Disk is full. There is not enough free space on disk. - Native error: 00065");
    EXPECT_FALSE(cancel);

    RecordingPrompt prompt;
    a.SetSpanningMode(smSpanning);
    a.SpanningOptions().SetVolumeSize(vs1_44MB);
    for (auto [answer, expectCancel] : {std::pair{pbOK, false}, {pbCancel, true}}) {
        prompt.answer = answer;
        a.DoOnDiskFull(1, u"/tmp/x.zip", cancel);
        EXPECT_EQ(cancel, expectCancel);
    }
    ASSERT_EQ(prompt.texts.size(), 2u);
    const ZAString start = u"Disk is full. Required free space: 1457664 bytes, but available only: ";
    EXPECT_EQ(prompt.texts[0].substr(0, start.size()), start);
    const ZAString end = u" bytes. Clean the disk or find another blank disk";
    EXPECT_EQ(prompt.texts[0].substr(prompt.texts[0].size() - end.size()), end);
    EXPECT_EQ(prompt.buttons[0], (TZAPromptButtons{pbOK, pbCancel}));
}

TEST(Dispatchers, VolumeHandlersCountVolumesFromOne) {
    ProbeArchiver a;
    int32_t seenDiskFull = -1, seenMiddle = -1;
    a.OnDiskFull = [&](TZABaseArchiver*, int32_t n, const ZAString&, bool&) { seenDiskFull = n; };
    a.OnRequestMiddleVolume = [&](TZABaseArchiver*, int32_t n, ZAString& name, bool&) {
        seenMiddle = n;
        name = u"chosen.zip";
    };
    bool cancel = true;
    a.DoOnDiskFull(0, u"x.zip", cancel);
    EXPECT_FALSE(cancel);
    ZAString name = u"x.zip";
    a.DoOnRequestMiddleVolume(1, name, cancel);
    EXPECT_EQ(seenDiskFull, 1);
    EXPECT_EQ(seenMiddle, 2);
    EXPECT_EQ(name, u"chosen.zip");
}

}  // namespace
