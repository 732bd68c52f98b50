#include <gtest/gtest.h>

#include "gpx_lines.h"
#include "stats/ProcessStringList.h"
#include "stats/RecordedFindsView.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TLineList QueryWithFinds(const QStringList& days) {
    QStringList body;
    for (const QString& d : days) body << Log(d + u"T12:00:00Z"_s);
    return PocketQuery(body);
}

TPaneLine Plain(const QString& text) { return {text, std::nullopt}; }
TPaneLine Red(int n) { return {QString::number(n), kGapColor}; }

struct TallyCase {
    const char* name;
    QStringList finds;
    std::vector<TPaneLine> days;
    std::vector<TPaneLine> histogram;
    QString tage;
};

class DayTallyTest : public ::testing::TestWithParam<TallyCase> {};

TEST_P(DayTallyTest, FillsDaysHistogramAndCounter) {
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, QueryWithFinds(GetParam().finds));
    EXPECT_EQ(view.Pane(TFindsPane::Days), GetParam().days);
    EXPECT_EQ(view.Pane(TFindsPane::Histogram), GetParam().histogram);
    EXPECT_EQ(view.Label(TFindsLabel::Tage), GetParam().tage);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DayTallyTest,
    ::testing::Values(
        TallyCase{"ThreeDays",
                  {u"2016-03-09"_s, u"2016-03-01"_s, u"2016-03-09"_s, u"2016-03-04"_s, u"2016-03-01"_s,
                   u"2016-03-09"_s},
                  {Plain(u"2016-03-01\t2"_s), Plain(u"2016-03-04\t1"_s), Plain(u"2016-03-09\t3"_s)},
                  {Plain(u"1\t1"_s), Plain(u"2\t1"_s), Plain(u"3\t1"_s)},
                  u"3"_s},
        TallyCase{"GapsAreRed",
                  {u"2016-05-07"_s, u"2016-05-07"_s, u"2016-05-08"_s, u"2016-05-07"_s, u"2016-05-07"_s},
                  {Plain(u"2016-05-07\t4"_s), Plain(u"2016-05-08\t1"_s)},
                  {Plain(u"1\t1"_s), Red(2), Red(3), Plain(u"4\t1"_s)},
                  u"2"_s},
        TallyCase{"SingleFind", {u"2016-07-01"_s}, {Plain(u"2016-07-01\t1"_s)}, {Plain(u"1\t1"_s)}, u"1"_s},
        TallyCase{"AllOnOneDay",
                  {u"2016-01-02"_s, u"2016-01-02"_s, u"2016-01-02"_s, u"2016-01-02"_s, u"2016-01-02"_s},
                  {Plain(u"2016-01-02\t5"_s)},
                  {Red(1), Red(2), Red(3), Red(4), Plain(u"5\t1"_s)},
                  u"1"_s},
        TallyCase{"LastDayAlone",
                  {u"2016-01-01"_s, u"2016-01-01"_s, u"2016-01-03"_s},
                  {Plain(u"2016-01-01\t2"_s), Plain(u"2016-01-03\t1"_s)},
                  {Plain(u"1\t1"_s), Plain(u"2\t1"_s)},
                  u"2"_s},
        TallyCase{"AllDifferent",
                  {u"2016-01-01"_s, u"2016-01-02"_s, u"2016-01-03"_s},
                  {Plain(u"2016-01-01\t1"_s), Plain(u"2016-01-02\t1"_s), Plain(u"2016-01-03\t1"_s)},
                  {Plain(u"1\t3"_s)},
                  u"1"_s},
        TallyCase{"NoFinds", {}, {}, {}, u"0"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DayTally, TheDayArrayGrowsByDoublingAndKeepsItsLength) {
    TFindsState state;
    QStringList many;
    for (int d = 1; d <= 20; ++d) many << u"2016-01-%1"_s.arg(d, 2, 10, QChar(u'0'));
    TRecordedFindsView first;
    ProcessStringList(first, state, QueryWithFinds(many));
    EXPECT_EQ(state.AnzTage, 20);
    EXPECT_EQ(state.TagesKapazitaet, 32);
    EXPECT_EQ(state.TagesListe.size(), 32u);

    TRecordedFindsView second;
    ProcessStringList(second, state, QueryWithFinds({u"2017-02-02"_s, u"2017-02-02"_s}));
    EXPECT_EQ(state.TagesKapazitaet, 32);
    EXPECT_EQ(state.TagesListe.size(), 32u);
    EXPECT_EQ(second.Pane(TFindsPane::Days), std::vector<TPaneLine>{Plain(u"2017-02-02\t2"_s)});
    EXPECT_EQ(second.Pane(TFindsPane::Histogram),
              (std::vector<TPaneLine>{Red(1), Plain(u"2\t1"_s)}));
    ASSERT_EQ(state.MengenListe.size(), 2u);
    EXPECT_EQ(state.MengenListe[1].CacheProTag, 2);
    EXPECT_EQ(state.MengenListe[1].Anzahl, 1);
}

TEST(DayTally, HistogramRowsCountDaysPerNumberOfFinds) {
    // 3 days with 1, 1 day with 2, none with 3, 2 days with 4.
    QStringList finds = {u"2016-01-01"_s, u"2016-01-02"_s, u"2016-01-03"_s, u"2016-01-04"_s, u"2016-01-04"_s};
    for (int i = 0; i < 4; ++i) finds << u"2016-02-01"_s << u"2016-02-02"_s;
    TRecordedFindsView view;
    TFindsState state;
    ProcessStringList(view, state, QueryWithFinds(finds));
    ASSERT_EQ(state.MaxAnzahl, 4);
    const std::vector<std::pair<int, int>> expected = {{1, 3}, {2, 1}, {3, 0}, {4, 2}};
    ASSERT_EQ(state.MengenListe.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(state.MengenListe[k].CacheProTag, expected[k].first);
        EXPECT_EQ(state.MengenListe[k].Anzahl, expected[k].second);
    }
    EXPECT_EQ(state.AnzBelegt, 3);
}

}  // namespace
