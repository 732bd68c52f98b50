#include "stats/LineList.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/host_error.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::vector<QString> LinesOf(const TLineList& list) {
    std::vector<QString> lines;
    for (qsizetype i = 0; i < list.Count(); ++i) lines.push_back(list.Line(i));
    return lines;
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<QString> lines;
};

class LoadFromUtf8Test : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadFromUtf8Test, CutsIntoTheExpectedLines) {
    TLineList list;
    list.Append(u"stale");
    list.LoadFromUtf8(GetParam().bytes);
    EXPECT_EQ(LinesOf(list), GetParam().lines);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Rules, LoadFromUtf8Test,
    ::testing::Values(
        LoadCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBFone\r\ntwo", {u"one"_s, u"two"_s}},
        LoadCase{"OnlyTheFirstMarkSkipped", "\xEF\xBB\xBF\xEF\xBB\xBFx", {u"\uFEFFx"_s}},
        LoadCase{"CrOnly", "a\rb\rc\r", {u"a"_s, u"b"_s, u"c"_s}},
        LoadCase{"LfOnly", "a\nb\nc\n", {u"a"_s, u"b"_s, u"c"_s}},
        LoadCase{"CrLf", "a\r\nb\r\nc\r\n", {u"a"_s, u"b"_s, u"c"_s}},
        LoadCase{"LfCrIsTwoBreaks", "a\n\rb", {u"a"_s, u""_s, u"b"_s}},
        LoadCase{"EndingInTwoCrLf", "a\r\n\r\n", {u"a"_s, u""_s}},
        LoadCase{"EmptyLinesKept", "\n\nx", {u""_s, u""_s, u"x"_s}},
        LoadCase{"Empty", "", {}},
        LoadCase{"InvalidByte", "valid line\n\xFF\nmore", {}},
        LoadCase{"Overlong", "a\xC0\xAF", {}},
        LoadCase{"EncodedSurrogate", "a\xED\xA0\x80z", {}},
        LoadCase{"TruncatedAtEnd", "euro \xE2\x82", {}},
        LoadCase{"Utf16MarkIsNotUtf8", "\xFF\xFEx\0"s, {}},
        LoadCase{"NulEndsText", "one\ntw\0o\nthree"s, {u"one"_s, u"tw"_s}},
        LoadCase{"NulAtLineStart", "one\n\0two"s, {u"one"_s}},
        LoadCase{"Umlauts", "M\xC3\xBCller\n\xF0\x9F\x98\x80", {u"Müller"_s, u"\U0001F600"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineList, LineOutsideTheListIsAnError) {
    TLineList list;
    list.LoadFromUtf8("a\nb");
    EXPECT_THROW(list.Line(2), std::out_of_range);
    EXPECT_THROW(list.Line(-1), std::out_of_range);
}

TEST(LineList, LoadFromFileReadsTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Finds.gpx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF" "first\r\nsecond\r\n");
    file.close();
    TLineList list;
    list.LoadFromFile(path);
    EXPECT_EQ(LinesOf(list), (std::vector<QString>{u"first"_s, u"second"_s}));
}

// A loaded file's pages are only read; a line appended after the load changes the list's own
// copy, never the file.
TEST(LineList, AppendAfterAFileLoadLeavesTheFileAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Finds.gpx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first\r\nsecond");
    file.close();
    TLineList list;
    list.LoadFromFile(path);
    list.Append(u"third");
    EXPECT_EQ(LinesOf(list), (std::vector<QString>{u"first"_s, u"second"_s, u"third"_s}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("first\r\nsecond"));
}

TEST(LineList, FailedFileLoadKeepsTheLinesAndNamesTheFile) {
    TLineList list;
    list.LoadFromUtf8("kept");
    const QString path = QDir::tempPath() + QStringLiteral("/kalvero-missing/Finds.gpx");
    try {
        list.LoadFromFile(path);
        FAIL() << "no error raised";
    } catch (const platform::HostError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("Datei ") + path + QStringLiteral(" kann nicht geöffnet werden. ") +
                      QString::fromStdString(platform::SystemErrorText(ENOENT)));
    }
    EXPECT_EQ(LinesOf(list), std::vector<QString>{u"kept"_s});
}

}  // namespace

namespace {

// A line appended after a load follows the loaded lines, whatever ended the loaded text.
struct AppendCase {
    const char* name;
    std::string bytes;
    std::vector<QString> lines;
};

class AppendAfterLoadTest : public ::testing::TestWithParam<AppendCase> {};

TEST_P(AppendAfterLoadTest, AppendedLinesFollowTheLoadedOnes) {
    TLineList list;
    list.LoadFromUtf8(GetParam().bytes);
    list.Append(u"x<groundspeak:date>");
    list.Append(u"");
    list.Append(u"zw\u00F6lf");
    EXPECT_EQ(LinesOf(list), GetParam().lines);
    // The span over all lines holds them with one break between each.
    EXPECT_EQ(list.LineOf(list.Utf8Span(0).data() + list.Utf8Span(0).find("<groundspeak:date>"), 0),
              list.Count() - 3);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, AppendAfterLoadTest,
    ::testing::Values(
        AppendCase{"Empty", "", {u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"NoBreakAtTheEnd", "a\r\nb", {u"a"_s, u"b"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"CrLfAtTheEnd", "a\r\n", {u"a"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"CrAtTheEnd", "a\r", {u"a"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"NulAfterTheLine", "a\nbc\0<groundspeak:date>\n"s,
                   {u"a"_s, u"bc"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"NulAfterTheBreak", "a\n\0rest"s, {u"a"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"ByteOrderMark", "\xEF\xBB\xBF" "a", {u"a"_s, u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}},
        AppendCase{"Invalid", "a\n\xFF", {u"x<groundspeak:date>"_s, u""_s, u"zwölf"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
