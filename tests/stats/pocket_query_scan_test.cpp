#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gpx_lines.h"
#include "stats/PocketQueryScan.h"
#include "stats/ProcessStringList.h"
#include "stats/RecordedFindsView.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto kFinderLine = R"(      <groundspeak:finder id="1234567">Beispiel</groundspeak:finder>)";

QStringList DatesOf(const TRecordedFindsView& view) {
    QStringList dates;
    for (const TPaneLine& line : view.Pane(TFindsPane::Dates)) dates << line.text;
    return dates;
}

TLineList ListOf(const QStringList& lines) {
    TLineList list;
    for (const QString& line : lines) list.Append(line);
    return list;
}

TEST(PocketQueryScan, EmptyListChangesNothing) {
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, TLineList());
    EXPECT_TRUE(view.labels.empty());
    EXPECT_TRUE(view.refusals.empty());
    EXPECT_TRUE(view.panes.empty());
}

struct RefusalCase {
    const char* name;
    QStringList lines;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, ShowsLineCountThenRefuses) {
    TRecordedFindsView view;
    TFindsState state;
    const TLineList list = ListOf(GetParam().lines);
    ProcessStringList(view, state, list);
    EXPECT_EQ(view.Label(TFindsLabel::AnzZeilen), QString::number(list.Count()));
    EXPECT_EQ(view.refusals, std::vector<QString>{u"Das ist keine My Finds Pocket Query !!!"_s});
    EXPECT_EQ(view.labels.size(), 1u) << "only the line count may change";
    EXPECT_TRUE(view.panes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    NotMyFinds, RefusalTest,
    ::testing::Values(
        RefusalCase{"OneLine", {u"My Finds Pocket Query"_s}},
        RefusalCase{"TwoLines", {u"a"_s, u"My Finds Pocket Query"_s}},
        RefusalCase{"LowerCase", {u"a"_s, u"b"_s, u"my finds pocket query"_s, u"d"_s}},
        RefusalCase{"OnLineOne", {u"a"_s, u"My Finds Pocket Query"_s, u"c"_s, u"d"_s}},
        RefusalCase{"OnLineThree", {u"a"_s, u"b"_s, u"c"_s, u"My Finds Pocket Query"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PocketQueryScan, FinderIsTakenFromTheFirstFinderLineFromLineNine) {
    QStringList body;
    body << QString::fromLatin1(kFinderLine)
         << u"<groundspeak:finder id=\"99\">Zweiter</groundspeak:finder>"_s;
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, PocketQuery(body));
    EXPECT_EQ(view.Label(TFindsLabel::Cacher), u"1234567 - Beispiel"_s);
    EXPECT_EQ(state.CacherID, u"1234567"_s);
    EXPECT_EQ(state.CacherName, u"Beispiel"_s);
    EXPECT_EQ(view.pendingMessagePoints, 1);
    EXPECT_EQ(view.Label(TFindsLabel::PQ), u"My Finds Pocket Query"_s);
}

TEST(PocketQueryScan, FinderOnLineEightIsNotSeenAndEarlierFinderStays) {
    TLineList list = PocketQuery({});
    TLineList shifted;
    for (qsizetype i = 0; i < list.Count(); ++i) {
        shifted.Append(i == 8 ? QString::fromLatin1(kFinderLine) : list.Line(i));
    }
    TRecordedFindsView view;
    TFindsState state;
    state.CacherID = u"7"_s;
    state.CacherName = u"Vorher"_s;
    ProcessStringList(view, state, shifted);
    EXPECT_FALSE(view.Label(TFindsLabel::Cacher).has_value());
    EXPECT_EQ(state.CacherID, u"7"_s);
    EXPECT_EQ(state.CacherName, u"Vorher"_s);
    EXPECT_EQ(view.pendingMessagePoints, 0);
}

struct FinderCase {
    const char* name;
    QString line;
    QString id;
    QString finderName;
};

class ExtractFinderTest : public ::testing::TestWithParam<FinderCase> {};

TEST_P(ExtractFinderTest, SplitsIdAndName) {
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, PocketQuery({GetParam().line}));
    EXPECT_EQ(state.CacherID, GetParam().id);
    EXPECT_EQ(state.CacherName, GetParam().finderName);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractFinderTest,
    ::testing::Values(
        FinderCase{"Plain", QString::fromLatin1(kFinderLine), u"1234567"_s, u"Beispiel"_s},
        FinderCase{"TagsInOtherCase", u"\t<groundspeak:finder id=\"42\">Anna &amp; Ben</Groundspeak:Finder>  "_s,
                   u"42"_s, u"Anna &amp; Ben"_s},
        FinderCase{"NoQuoteLeft", u"<groundspeak:finder id=12>Name"_s, u""_s, u"groundspeak:finder id=12>Name"_s},
        FinderCase{"EmptyId", u"<groundspeak:finder id=\"\">Leer</groundspeak:finder>"_s, u""_s, u"Leer"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PocketQueryScan, CountsOnlyDatesFollowedByACountedType) {
    QStringList body;
    body << Log(u"2016-03-05T19:00:00Z"_s)                       // counted
         << Log(u"2016-03-06T08:00:00Z"_s, u"Didn't find it"_s)  // other log type
         << Log(u"2016-03-07T08:00:00Z"_s, u"Attended"_s)        // counted
         << Log(u"2016-03-08T08:00:00Z"_s, u"Webcam Photo Taken"_s)
         << u"<groundspeak:date>2016-04-01</groundspeak:date><groundspeak:type>Found it</groundspeak:type>"_s
         << u"<groundspeak:date>2016-04-02</groundspeak:date>"_s << u"<groundspeak:text>x</groundspeak:text>"_s
         << u"<groundspeak:type>Found it</groundspeak:type>"_s
         << u"<GROUNDSPEAK:DATE>2016-04-03</GROUNDSPEAK:DATE>"_s << u"<groundspeak:type>Found it</groundspeak:type>"_s
         << u"\t\t<groundspeak:date>2016-02-29T23:59:59Z</groundspeak:date>"_s
         << u"<groundspeak:type>Found it</groundspeak:type>"_s
         << u"<groundspeak:date>2017-01-01</groundspeak:date>"_s;  // last line: not counted
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, PocketQuery(body));
    EXPECT_EQ(DatesOf(view), (QStringList{u"2016-02-29"_s, u"2016-03-05"_s, u"2016-03-07"_s, u"2016-03-08"_s}));
    EXPECT_EQ(view.Label(TFindsLabel::Caches), u"4"_s);
}

TEST(PocketQueryScan, NineLinesScanNothingAndTenScanOnlyLineNine) {
    TRecordedFindsView nine;
    TFindsState state;
    ProcessStringList(nine, state, PocketQuery({}));
    EXPECT_TRUE(DatesOf(nine).isEmpty());
    EXPECT_EQ(nine.Label(TFindsLabel::Caches), u"0"_s);
    EXPECT_EQ(nine.Label(TFindsLabel::Tage), u"0"_s);

    // Line 9 is a date line, but its type would be on line 10, which does not exist.
    TRecordedFindsView ten;
    ProcessStringList(ten, state, PocketQuery({Log(u"2016-01-01"_s).first()}));
    EXPECT_EQ(ten.Label(TFindsLabel::Caches), u"0"_s);
    TRecordedFindsView eleven;
    ProcessStringList(eleven, state, PocketQuery(Log(u"2016-01-01"_s)));
    EXPECT_EQ(eleven.Label(TFindsLabel::Caches), u"1"_s);
}

TEST(PocketQueryScan, DatesAreSortedAndRepeatedPerFind) {
    QStringList body;
    for (const auto& d : {u"2016-03-09"_s, u"2016-03-01"_s, u"2016-03-09"_s, u"2015-12-31"_s, u"2016-03-09"_s}) {
        body << Log(d + u"T10:00:00Z"_s);
    }
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, PocketQuery(body));
    EXPECT_EQ(DatesOf(view), (QStringList{u"2015-12-31"_s, u"2016-03-01"_s, u"2016-03-09"_s,
                                          u"2016-03-09"_s, u"2016-03-09"_s}));
    EXPECT_EQ(view.Label(TFindsLabel::Caches), u"5"_s);
}

TEST(PocketQueryScan, TextsDifferingInCaseSortTogetherWithTheLaterFirst) {
    QStringList body;
    body << Log(u"abc"_s) << Log(u"b"_s) << Log(u"ABC"_s) << Log(u"aBc"_s);
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, PocketQuery(body));
    EXPECT_EQ(DatesOf(view), (QStringList{u"aBc"_s, u"ABC"_s, u"abc"_s, u"b"_s}));
    // Neighbours that differ in case are separate days.
    ASSERT_EQ(view.Pane(TFindsPane::Days).size(), 4u);
}

}  // namespace

namespace {

// A loaded text with CR LF breaks: the tags are searched over all lines at once, and each
// hit must land on its own line and be looked at once per line.
TEST(PocketQueryScan, LoadedTextHitsLandOnTheirLines) {
    const std::string text =
        "<?xml?>\r\n<gpx>\r\n<name>My Finds Pocket Query</name>\r\n3\r\n4\r\n5\r\n6\r\n7\r\n"
        "<groundspeak:date>2015-01-08</groundspeak:date>\r\n"                        // line 8: not scanned
        "<groundspeak:type>Found it</groundspeak:type>\r\n"                          // line 9
        "<groundspeak:date>2016-01-01</groundspeak:date><groundspeak:date>2016-01-02\r\n"  // two tags, one line
        "<groundspeak:type>Found it</groundspeak:type>\r\n"
        "<groundspeak:date>2016-02-01</groundspeak:date>\r\n"                        // type two lines further
        "<groundspeak:date>2016-02-02</groundspeak:date>\r\n"                        // date after date
        "<groundspeak:type>Attended</groundspeak:type>\r\n"
        "\r\n"
        "<groundspeak:finder id=\"42\">Erster</groundspeak:finder>\r\n"
        "<groundspeak:finder id=\"43\">Zweiter</groundspeak:finder>\r\n"
        "<groundspeak:date>2016-03-01</groundspeak:date>\n\r"                        // LF CR: an empty line between
        "<groundspeak:type>Found it</groundspeak:type>\r"
        "<groundspeak:date>2016-04-01</groundspeak:date>\r"
        "<groundspeak:type>Webcam Photo Taken</groundspeak:type>\r\n"
        "<groundspeak:date>2016-05-01</groundspeak:date>";                           // last line
    TLineList list;
    list.LoadFromUtf8(text);
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, list);
    EXPECT_EQ(DatesOf(view), (QStringList{u"2016-01-01"_s, u"2016-02-02"_s, u"2016-04-01"_s}));
    EXPECT_EQ(view.Label(TFindsLabel::AnzZeilen), u"24"_s);
    EXPECT_EQ(view.Label(TFindsLabel::Cacher), u"42 - Erster"_s);
    EXPECT_EQ(view.pendingMessagePoints, 1);
}

}  // namespace

namespace {

// The day taken from a line's bytes matches the day taken from its decoded text, over lines
// of tags in every case, blanks, nested tags, and characters that case folding turns into the
// tags' letters (the long s, the Kelvin sign).
TEST(PocketQueryScan, DayFromTheBytesMatchesTheDayFromTheText) {
    const std::string pieces[] = {"<groundspeak:date>", "</groundspeak:date>", "<GroundSpeak:DATE>", "</GROUNDSPEAK:Date>",
                                  "<groundspeak:", "date>", "2016-01-02", "T19:00:00Z", " ", "\t", "\x01",
                                  "<ground\xC5\xBFpeak:date>", "<groundspea\xE2\x84\xAA:date>", "M\xC3\xBChle",
                                  "\xEF\xBB\xBF", "x"};
    std::mt19937 rng(2016);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        const size_t parts = rng() % 8;
        for (size_t i = 0; i < parts; ++i) line += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(ExtractDayUtf8(line), ExtractDay(LineText(line))) << testing::PrintToString(line);
    }
}

}  // namespace
