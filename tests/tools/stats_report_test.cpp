#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tools/StatsReport.h"
#include "fixtures/SplitBuilder.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZipArchiver.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Runs the file-open flow on `gpx` as kalvero-stats does and keeps what it showed.
class StatsReportTest : public ::testing::Test {
protected:
    TStatsResult Analyse(const QByteArray& gpx) { return AnalyseFile(u"Finds.gpx"_s, gpx); }

    // The same query delivered in its ZIP, deflated under the archive's name with ".gpx".
    TStatsResult AnalyseZipped(const QByteArray& gpx) {
        zipfix::ZipPlan plan;
        zipfix::ZipEntry entry;
        entry.name = "Finds.gpx";
        entry.data = gpx.toStdString();
        entry.method = 8;
        plan.entries.push_back(entry);
        const std::string zip = zipfix::BuildZip(plan);
        return AnalyseFile(u"Finds.zip"_s, QByteArray(zip.data(), static_cast<qsizetype>(zip.size())));
    }

    TStatsResult AnalyseFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        global = TGlobalUnit();  // every run of the tool starts afresh
        view = TStatsToolView();
        TFileOpenFlow flow(global, view, archiver);
        flow.Accept(path);
        return {name, &global.GpxZeilen, &view, &global.Finds};
    }

    QTemporaryDir dir;
    TGlobalUnit global;
    TStatsToolView view;
    TZipArchiver archiver;
};

QByteArray Query(bool withFinder) {
    QByteArray gpx = "<?xml?>\n<gpx>\n<name>My Finds Pocket Query</name>\n4\n5\n6\n7\n8\n9\n";
    if (withFinder) gpx += "<groundspeak:finder id=\"7\">Anna \"A\"</groundspeak:finder>\n";
    for (const char* day : {"2016-05-07", "2016-05-07", "2016-05-09", "2016-05-07"}) {
        gpx += QByteArray("<groundspeak:date>") + day + "T10:00:00Z</groundspeak:date>\n";
        gpx += "<groundspeak:type>Found it</groundspeak:type>\n";
    }
    return gpx;
}

TEST_F(StatsReportTest, JsonCarriesEveryResult) {
    EXPECT_EQ(FormatJson(Analyse(Query(true))),
              u"{\"file\":\"Finds.gpx\",\"lines\":18,\"pocketQuery\":true,"
              "\"finder\":{\"id\":\"7\",\"name\":\"Anna \\\"A\\\"\"},\"finds\":4,\"days\":2,"
              "\"dates\":[\"2016-05-07\",\"2016-05-07\",\"2016-05-07\",\"2016-05-09\"],"
              "\"perDay\":[[\"2016-05-07\",3],[\"2016-05-09\",1]],"
              "\"histogram\":[[1,1],[2,0],[3,1]]}"_s);
}

TEST_F(StatsReportTest, ZippedQueryGivesTheSameResultAsItsGpx) {
    const QString fromGpx = FormatJson(Analyse(Query(true)));
    QString fromZip = FormatJson(AnalyseZipped(Query(true)));
    fromZip.replace(u"Finds.zip"_s, u"Finds.gpx"_s);
    EXPECT_EQ(fromZip, fromGpx);
}

TEST_F(StatsReportTest, SplitQueryGivesTheSameResultAsItsGpx) {
    const QString fromGpx = FormatJson(Analyse(Query(true)));
    zipfix::ZipPlan plan;
    zipfix::ZipEntry entry;
    entry.name = "Finds.gpx";
    entry.data = Query(true).toStdString();
    plan.entries.push_back(entry);
    // Volumes named as Info-ZIP's zip -s names them, found beside the chosen Finds.zip.
    const zipfix::SplitSet set = zipfix::SplitZip(plan, 100);
    ASSERT_GE(set.volumes.size(), 3u);
    for (size_t i = 0; i + 1 < set.volumes.size(); ++i) {
        QFile volume(dir.filePath(u"Finds.z%1"_s.arg(i + 1, 2, 10, QChar(u'0'))));
        ASSERT_TRUE(volume.open(QIODevice::WriteOnly));
        volume.write(set.volumes[i].data(), static_cast<qint64>(set.volumes[i].size()));
    }
    const std::string& last = set.volumes.back();
    QString fromSplit = FormatJson(
        AnalyseFile(u"Finds.zip"_s, QByteArray(last.data(), static_cast<qsizetype>(last.size()))));
    fromSplit.replace(u"Finds.zip"_s, u"Finds.gpx"_s);
    EXPECT_EQ(fromSplit, fromGpx);
}

TEST_F(StatsReportTest, JsonWithoutFinderLineAndForRefusedOrEmptyFiles) {
    EXPECT_TRUE(FormatJson(Analyse(Query(false))).contains(u"\"finder\":null,"_s));
    EXPECT_EQ(FormatJson(Analyse("a\nb\nc\n")), u"{\"file\":\"Finds.gpx\",\"lines\":3,\"pocketQuery\":false}"_s);
    EXPECT_EQ(FormatJson(Analyse("")), u"{\"file\":\"Finds.gpx\",\"lines\":0}"_s);
}

TEST_F(StatsReportTest, TextShowsCountersAndPanesWithGapsInRedOnATerminal) {
    const TStatsResult result = Analyse(Query(true));
    const QString plain = FormatText(result, false);
    EXPECT_TRUE(plain.startsWith(u"Anzahl Zeilen: 18\nMy Finds Pocket Query\n7 - Anna \"A\"\nCaches: 4\nTage: 2\n"_s))
        << plain.toStdString();
    EXPECT_TRUE(plain.contains(u"\n1\t1\n2\n3\t1\n"_s)) << plain.toStdString();
    EXPECT_FALSE(plain.contains(u'\x1b'));
    EXPECT_TRUE(FormatText(result, true).contains(u"\n\x1b[1;31m2\x1b[0m\n"_s));
}

}  // namespace
