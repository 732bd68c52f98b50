#include <gtest/gtest.h>

#include "zip/ZAComponent.h"
#include "zip/ZAConst.h"
#include "zip/ZAExcept.h"
#include "zip/ZAFormat.h"

namespace {

struct MessageCase {
    int32_t native;
    const char16_t* componentName;  // nullptr: raised without a component
    std::u16string arg;             // used when not empty
    int32_t errorCode;
    std::u16string message;
};

class ExceptionMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ExceptionMessage, IsComposedFromCatalogueNameAndFiveDigitCode) {
    const MessageCase& c = GetParam();
    TZAComponent component;
    if (c.componentName) component.SetName(c.componentName);
    const TZAComponent* raiser = c.componentName ? &component : nullptr;
    const EZAException e = c.arg.empty() ? EZAException(c.native, raiser)
                                         : EZAException(c.native, {c.arg}, raiser);
    EXPECT_EQ(e.NativeError, c.native);
    EXPECT_EQ(e.ErrorCode, c.errorCode);
    EXPECT_EQ(e.Message(), c.message);
    EXPECT_EQ(std::string(e.what()), Utf16ToUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, ExceptionMessage,
    ::testing::Values(
        MessageCase{55, nullptr, u"", 32,
                    u"Deflate64 compression method is not supported - Native error: 00055"},
        MessageCase{15, u"Archiver", u"Finds.gpx", 6,
                    u"Archiver: File \"Finds.gpx\" not found - Native error: 00015"},
        MessageCase{13, u"", u"", 7, u"Archive is not open - Native error: 00013"},
        MessageCase{99, nullptr, u"", 0, u"Unknown error - Native error: 00099"},
        MessageCase{12345, u"Archiver", u"", 0,
                    u"Archiver: Unknown error - Native error: 12345"},
        MessageCase{0, nullptr, u"", 0, u"Unknown error - Native error: 00000"},
        MessageCase{61, nullptr, u"a/b.txt", 36,
                    u"File name is too long: \r\n\"a/b.txt\" - Native error: 00061"},
        MessageCase{67, u"Archiver", u"", 40,
                    u"Archiver: Invalid password. Cannot decompress encrypted file. - Native "
                    u"error: 00067"},
        MessageCase{35, nullptr, u"", 18, u"Invalid archive file. - Native error: 00035"}));

TEST(ExceptionMessage, FormatsNumbersOfTheMessagesWithTwoPlaceholders) {
    const EZAException e(34, {1000, 24}, nullptr);
    EXPECT_EQ(e.Message(),
              u"Invalid compressed size, rfs.size = 1000, count = 24 - Native error: 00034");
    const EZAException v(63, {7, 4}, nullptr);
    EXPECT_EQ(v.ErrorCode, 38);
    EXPECT_EQ(v.Message(),
              u"Invalid InitVector index = 7. Index should be >= 0 and < 4 - Native error: 00063");
}

// Every native code 0 to 67 selects a message, and the codes that share a message are the
// ones grouped together in the catalogue.
TEST(NativeErrorTable, GroupsTheCodesOfEachMessage) {
    const std::vector<std::pair<int32_t, std::vector<int32_t>>> groups = {
        {1, {1, 2, 3, 4, 7, 16, 21, 24}},
        {5, {9, 10, 29}},
        {6, {11, 12, 15, 18, 30, 31, 38, 42, 53, 54}},
        {7, {13, 14}},
        {9, {19, 23}},
        {11, {22, 25}},
        {23, {41, 43}},
        {24, {44, 45}},
        {27, {48, 57}},
        {34, {58, 59}},
        {38, {63, 64}},
        {39, {65, 66}},
    };
    for (const auto& [errorCode, natives] : groups)
        for (int32_t native : natives) EXPECT_EQ(ZAErrorCodeOf(native), errorCode) << native;
    for (int32_t native = 0; native < ZANativeErrorCount; ++native) {
        const int32_t code = ZAErrorCodeOf(native);
        EXPECT_GE(code, 0);
        EXPECT_LT(code, ZAMessageCount);
        EXPECT_EQ(ZANativeErrors[static_cast<size_t>(native)].NativeError, native);
    }
    EXPECT_EQ(ZAErrorCodeOf(-1), 0);
    EXPECT_EQ(ZAErrorCodeOf(68), 0);
}

struct FormatCase {
    std::u16string format;
    std::u16string expected;
};

class Formatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Formatting, FollowsPrintfRules) {
    // One argument list for every case: a text and two numbers.
    const FormatCase& c = GetParam();
    EXPECT_EQ(ZAFormat(c.format, {u"abc", 7, -42}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Specifiers, Formatting,
    ::testing::Values(FormatCase{u"%s/%d/%d", u"abc/7/-42"},
                      FormatCase{u"[%5s]%5d|%-4d|", u"[  abc]    7|-42 |"},
                      FormatCase{u"%s%.2d%.3d", u"abc07-042"},
                      FormatCase{u"%s%.3u", u"abc007"},
                      FormatCase{u"%.1s%05d", u"a00007"},
                      FormatCase{u"100%% %s", u"100% abc"},
                      FormatCase{u"%s %d %d %d %s", u"abc 7 -42  "},
                      FormatCase{u"%x%s", u"%xabc"},
                      FormatCase{u"end %", u"end %"}));

TEST(Formatting, NumbersWiderThanThePrecisionKeepAllDigits) {
    EXPECT_EQ(ZAFormat(u".Z%.2d", {100}), u".Z100");
    EXPECT_EQ(ZAFormat(u"_%.3u", {1000}), u"_1000");
    EXPECT_EQ(ZAFormat(u"%d", {int64_t{4928307200}}), u"4928307200");
}

TEST(ComponentOwner, FreesTheComponentsItOwns) {
    auto* owner = new TZAComponent;
    int freed = 0;
    struct Probe : TZAComponent {
        Probe(TZAComponent* o, int& f) : TZAComponent(o), counter(f) {}
        ~Probe() override { ++counter; }
        int& counter;
    };
    new Probe(owner, freed);
    auto* early = new Probe(owner, freed);
    delete early;  // leaves its owner's list
    EXPECT_EQ(owner->ComponentCount(), 1u);
    delete owner;
    EXPECT_EQ(freed, 2);
}

}  // namespace
