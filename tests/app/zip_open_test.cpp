#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/Main_Unit.h"
#include "window_fixture.h"
#include "RecordingPrompt.h"
#include "zip/fixtures/SplitBuilder.h"
#include "zip/fixtures/ZipBuilder.h"
#include "zip/fixtures/ZipCrypt.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::string PocketQuery(int finds) {
    std::string gpx =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<gpx>\r\n"
        "  <name>My Finds Pocket Query</name>\r\n";
    for (int i = 3; i < 9; ++i) gpx += "  <desc>header</desc>\r\n";
    gpx += "  <groundspeak:finder id=\"42\">Zipper</groundspeak:finder>\r\n";
    for (int i = 0; i < finds; ++i) {
        gpx += "<groundspeak:date>2016-03-0" + std::to_string(1 + i % 3) + "T10:00:00Z</groundspeak:date>\r\n";
        gpx += "<groundspeak:type>Found it</groundspeak:type>\r\n";
        gpx += "<groundspeak:text>" + std::string(200, 'x') + "</groundspeak:text>\r\n";
    }
    return gpx;
}

class ZipOpenTest : public TWindowTest {
protected:
    void SetUp() override {
        TWindowTest::SetUp();
        window->SetInfoWindow(&info);
    }

    using TWindowTest::WriteZip;
    // Writes an archive `name` holding the one entry given.
    QString WriteZip(const QString& name, const zipfix::ZipEntry& entry) {
        zipfix::ZipPlan plan;
        plan.entries.push_back(entry);
        const std::string bytes = zipfix::BuildZip(plan);
        return Write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }

    QDialog info;
};

TEST_F(ZipOpenTest, PocketQueryInItsZipGivesTheSameResultAsTheGpx) {
    const std::string gpx = PocketQuery(7);
    const QString gpxPath = dir.filePath(u"Finds.gpx"_s);
    {
        QFile f(gpxPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gpx.data(), static_cast<qint64>(gpx.size()));
    }
    Open(gpxPath);
    const QString dates = window->RichEdit1->toPlainText();
    const QString days = window->RichEdit2->toPlainText();
    const QString histogram = window->RichEdit3->toPlainText();
    ASSERT_FALSE(days.isEmpty());

    Open(WriteZip(u"Finds.zip"_s, "Finds.gpx", gpx));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(window->RichEdit1->toPlainText(), dates);
    EXPECT_EQ(window->RichEdit2->toPlainText(), days);
    EXPECT_EQ(window->RichEdit3->toPlainText(), histogram);
    EXPECT_FALSE(window->pbProgress->isHidden());
    EXPECT_EQ(window->pbProgress->value(), 100);
    EXPECT_EQ(window->lblCacher->text(), u"42 - Zipper"_s);
}

// An encrypted pocket query: the archiver's password dialog asks; Cancel skips the entry and
// the empty result is analysed, the right password gives the analysis of the GPX.
TEST_F(ZipOpenTest, AnEncryptedPocketQueryAsksForItsPassword) {
    const std::string gpx = PocketQuery(7);
    Open(WriteZip(u"Plain.zip"_s, "Plain.gpx", gpx));
    const QString days = window->RichEdit2->toPlainText();
    const QString histogram = window->RichEdit3->toPlainText();
    ASSERT_FALSE(days.isEmpty());

    RecordingPrompt prompt;
    const QString zip = WriteZip(u"Finds.zip"_s, zipfix::AesEntry("Finds.gpx", gpx, 8, "kalvero"));
    prompt.passwordOk = false;
    Open(zip);
    EXPECT_EQ(prompt.captions, std::vector<ZAString>{u"Password for \"Finds.gpx\""});
    EXPECT_EQ(global.GpxZeilen.Count(), 0);
    EXPECT_TRUE(ui.boxes.empty());  // skipping is no error
    EXPECT_TRUE(window->RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(window->RichEdit2->toPlainText().isEmpty());
    EXPECT_TRUE(window->RichEdit3->toPlainText().isEmpty());

    prompt.passwordOk = true;
    prompt.password = u"kalvero";
    Open(zip);
    EXPECT_EQ(prompt.captions.size(), 2u);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(window->RichEdit2->toPlainText(), days);
    EXPECT_EQ(window->RichEdit3->toPlainText(), histogram);
    EXPECT_EQ(window->lblCacher->text(), u"42 - Zipper"_s);
}

TEST_F(ZipOpenTest, SplitPocketQueryIsReadFromTheVolumesBesideIt) {
    const std::string gpx = PocketQuery(7);
    Open(WriteZip(u"Finds.zip"_s, "Finds.gpx", gpx));
    const QString dates = window->RichEdit1->toPlainText();
    const QString days = window->RichEdit2->toPlainText();
    const QString histogram = window->RichEdit3->toPlainText();
    ASSERT_FALSE(days.isEmpty());

    zipfix::ZipPlan plan;
    zipfix::ZipEntry entry;
    entry.name = "Split.gpx";
    entry.data = gpx;
    entry.method = 8;
    plan.entries.push_back(entry);
    const zipfix::SplitSet set = zipfix::SplitZip(plan, 100);
    ASSERT_GE(set.volumes.size(), 3u);
    for (size_t i = 0; i < set.volumes.size(); ++i) {
        const QString name = i + 1 == set.volumes.size()
                                 ? u"Split.zip"_s
                                 : u"Split.z%1"_s.arg(i + 1, 2, 10, QChar(u'0'));
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(set.volumes[i].data(), static_cast<qint64>(set.volumes[i].size()));
    }
    window->RichEdit2->clear();
    Open(dir.filePath(u"Split.zip"_s));
    EXPECT_TRUE(ui.boxes.empty());  // no question for a disk, no error
    EXPECT_EQ(window->RichEdit1->toPlainText(), dates);
    EXPECT_EQ(window->RichEdit2->toPlainText(), days);
    EXPECT_EQ(window->RichEdit3->toPlainText(), histogram);
}

TEST_F(ZipOpenTest, MissingEntryShowsTheArchiversMessageAndKeepsTheLines) {
    Open(WriteZip(u"Finds.zip"_s, "Finds.gpx", PocketQuery(2)));
    const qsizetype lines = global.GpxZeilen.Count();
    Open(WriteZip(u"Other.zip"_s, "Finds.gpx", PocketQuery(5)));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"Archiver: "_s)) << ui.boxes[0].text.toStdString();
    EXPECT_TRUE(ui.boxes[0].text.contains(u"Native error: "_s)) << ui.boxes[0].text.toStdString();
    EXPECT_EQ(global.GpxZeilen.Count(), lines);
    EXPECT_TRUE(window->RichEdit2->toPlainText().isEmpty());
    EXPECT_EQ(global.GpxName, u"Other.gpx"_s);
}

TEST_F(ZipOpenTest, OpenInfoAndCloseWaitWhileAnArchiveIsExtracted) {
    window->show();
    bool ranDuringExtraction = false;
    bool visibleAfterCloseRequest = false;
    QTimer::singleShot(0, window.get(), [&] {
        ranDuringExtraction = true;
        ui.dialogAnswers.push_back(dir.filePath(u"Second.gpx"_s));
        window->FileOpen1->trigger();  // ignored: the dialog is not shown again
        window->actinfo->trigger();    // ignored: the information window stays hidden
        window->close();               // deferred until the extraction has ended
        visibleAfterCloseRequest = window->isVisible() && !info.isVisible();
    });
    Open(WriteZip(u"Finds.zip"_s, "Finds.gpx", PocketQuery(400)));
    EXPECT_TRUE(ranDuringExtraction);
    EXPECT_TRUE(visibleAfterCloseRequest);
    EXPECT_EQ(ui.dialogFilters.size(), 1u);
    EXPECT_EQ(window->lblCaches->text(), u"400"_s);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
