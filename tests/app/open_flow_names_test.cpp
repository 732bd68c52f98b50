#include <gtest/gtest.h>

#include "app/ErrorText.h"
#include "app/OpenFlow.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct NameCase {
    QString path;
    QString gpxName;
    bool zip;
};

class OpenFlowNamesTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(OpenFlowNamesTest, EntryNameAndArchiveChoice) {
    EXPECT_EQ(GpxNameFor(GetParam().path), GetParam().gpxName);
    EXPECT_EQ(IsZipExtension(GetParam().path), GetParam().zip);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenFlowNamesTest,
    ::testing::Values(NameCase{u"/home/u/Finds.zip"_s, u"Finds.gpx"_s, true},
                      NameCase{u"/home/u/Finds.ZIP"_s, u"Finds.gpx"_s, false},
                      NameCase{u"/home/u/Pocket.zip.old.zip"_s, u"Pocket.gpx.old.gpx"_s, true},
                      NameCase{u"/home/u/a.Zip.zIp"_s, u"a.gpx.gpx"_s, false},
                      NameCase{u"/data.zip/Finds"_s, u"Finds"_s, false},
                      NameCase{u"/home/u/Finds.gpx"_s, u"Finds.gpx"_s, false},
                      NameCase{u"/home/u/Finds"_s, u"Finds"_s, false}));

TEST(GaugePercent, TruncatesTowardZero) {
    EXPECT_EQ(GaugePercent(57.99), 57);
    EXPECT_EQ(GaugePercent(99.9), 99);
    EXPECT_EQ(GaugePercent(100.0), 100);
    EXPECT_EQ(GaugePercent(0.4), 0);
}

struct StopCase {
    QString message;
    QString shown;
};

class FullStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(FullStopTest, AppendsAStopAfterCharactersAboveTheStop) {
    EXPECT_EQ(WithFullStop(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Messages, FullStopTest,
                         ::testing::Values(StopCase{u"File not found"_s, u"File not found."_s},
                                           StopCase{u"Native error: 00042"_s, u"Native error: 00042."_s},
                                           StopCase{u"(code 3)"_s, u"(code 3)"_s},
                                           StopCase{u"Schon da."_s, u"Schon da."_s},
                                           StopCase{u"Wirklich!"_s, u"Wirklich!"_s},
                                           StopCase{u"Pfad /tmp/"_s, u"Pfad /tmp/."_s},
                                           StopCase{u""_s, u""_s}));

}  // namespace
