#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QPlainTextEdit>

#include "app/Main_Unit.h"
#include "platform/host_error.h"
#include "window_fixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList PaneLines(QPlainTextEdit* pane) {
    QStringList lines = pane->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

class MainWindowTest : public TWindowTest {};

TEST_F(MainWindowTest, StartsWithItsDesign) {
    EXPECT_EQ(window->windowTitle(), u"Anzahl Kalvero"_s);
    for (QWidget* hidden : std::initializer_list<QWidget*>{window->lblAnzZeilen, window->lblPQ, window->lblCaches,
                                                           window->lblCacher, window->lblTage, window->pbProgress}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(window->Label1->text(), u"Anzahl Zeilen:"_s);
    EXPECT_EQ(window->Label2->text(), u"Caches:"_s);
    EXPECT_EQ(window->Label3->text(), u"Tage:"_s);
    EXPECT_EQ(window->PageControl1->tabText(0), u"Caches"_s);
    EXPECT_EQ(window->RichEdit2->palette().color(QPalette::Base), QColor(230, 255, 230));
    EXPECT_EQ(window->FileOpen1->shortcut(), QKeySequence(u"Ctrl+O"_s));

    QStringList menu;
    for (QAction* top : window->menuBar()->actions()) {
        menu << top->text();
        for (QAction* item : top->menu()->actions()) menu << (item->isSeparator() ? u"-"_s : item->text());
    }
    EXPECT_EQ(menu, (QStringList{u"Datei"_s, u"Ö&ffnen..."_s, u"-"_s, u"&Beenden"_s, u"Extras"_s, u"Info"_s}));
    EXPECT_EQ(global.Finds.TagesKapazitaet, 1);
    EXPECT_EQ(global.Finds.TagesListe.size(), 1u);
}

TEST_F(MainWindowTest, OpeningAPocketQueryFillsCountersAndPanes) {
    const QString path = Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-05-07"_s, u"2016-05-08"_s, u"2016-05-07"_s,
                                                                 u"2016-05-07"_s, u"2016-05-07"_s}));
    Open(path);
    ASSERT_EQ(ui.dialogFilters, std::vector<QString>{u"ZIP-Datei|*.zip|GPX-Datei|*.gpx|Alle Dateien|*.*"_s});
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(global.DateiName, path);
    EXPECT_EQ(global.GpxName, u"Finds.gpx"_s);
    EXPECT_EQ(window->lblAnzZeilen->text(), u"21"_s);
    EXPECT_EQ(window->lblPQ->text(), u"My Finds Pocket Query"_s);
    EXPECT_EQ(window->lblCacher->text(), u"1234567 - Beispiel"_s);
    EXPECT_EQ(window->lblCaches->text(), u"5"_s);
    EXPECT_EQ(window->lblTage->text(), u"2"_s);
    EXPECT_FALSE(window->lblTage->isHidden());
    EXPECT_EQ(PaneLines(window->RichEdit1),
              QStringList({u"2016-05-07"_s, u"2016-05-07"_s, u"2016-05-07"_s, u"2016-05-07"_s, u"2016-05-08"_s}));
    EXPECT_EQ(PaneLines(window->RichEdit2), QStringList({u"2016-05-07\t4"_s, u"2016-05-08\t1"_s}));
    EXPECT_EQ(PaneLines(window->RichEdit3), QStringList({u"1\t1"_s, u"2"_s, u"3"_s, u"4\t1"_s}));
    // A direct load sets the gauge to 100 but does not show it.
    EXPECT_EQ(window->pbProgress->value(), 100);
    EXPECT_TRUE(window->pbProgress->isHidden());
}

TEST_F(MainWindowTest, GapsAreRedBoldAndOtherHistogramLinesPlain) {
    Open(Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-01-02"_s, u"2016-01-02"_s, u"2016-01-02"_s,
                                                u"2016-01-05"_s})));
    QTextDocument* doc = window->RichEdit3->document();
    ASSERT_EQ(doc->blockCount(), 3);
    const auto formatOf = [&](int block) { return doc->findBlockByNumber(block).begin().fragment().charFormat(); };
    EXPECT_EQ(doc->findBlockByNumber(1).text(), u"2"_s);
    EXPECT_EQ(formatOf(1).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(1).fontWeight(), QFont::Bold);
    for (int plain : {0, 2}) {
        EXPECT_NE(formatOf(plain).fontWeight(), QFont::Bold) << plain;
        EXPECT_NE(formatOf(plain).foreground().color(), QColor(255, 0, 0)) << plain;
    }
}

TEST_F(MainWindowTest, MissingFileShowsTheErrorBoxAndKeepsEarlierResults) {
    Open(Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-07-01"_s})));
    const QString missing = dir.filePath(u"Fehlt.gpx"_s);
    Open(missing);
    ASSERT_EQ(ui.boxes.size(), 1u);
    const QString cause = QString::fromStdString(platform::SystemErrorText(ENOENT));
    EXPECT_EQ(ui.boxes[0].text, u"Datei "_s + missing + u" kann nicht geöffnet werden. "_s + cause +
                                    (cause.back() > u'.' ? u"."_s : u""_s));
    EXPECT_EQ(ui.boxes[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(ui.boxes[0].caption, u"App_tests"_s);
    EXPECT_EQ(global.DateiName, missing);
    EXPECT_TRUE(window->RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(window->RichEdit3->toPlainText().isEmpty());
    EXPECT_EQ(global.GpxZeilen.Count(), 13);
    EXPECT_EQ(window->lblCaches->text(), u"1"_s);
}

TEST_F(MainWindowTest, CancelledDialogChangesNothing) {
    Open(Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-07-01"_s})));
    const QString before = window->RichEdit2->toPlainText();
    Open(std::nullopt);
    EXPECT_EQ(window->RichEdit2->toPlainText(), before);
    EXPECT_EQ(global.DateiName, dir.filePath(u"Finds.gpx"_s));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MainWindowTest, RefusedFileChangesOnlyTheLineCount) {
    Open(Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-07-01"_s, u"2016-07-02"_s})));
    Open(Write(u"Other.gpx"_s, "<?xml?>\n<gpx>\n<name>Some other query</name>\n"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, u"Fehler"_s);
    EXPECT_EQ(ui.boxes[0].text, u"Das ist keine My Finds Pocket Query !!!"_s);
    EXPECT_EQ(ui.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(window->lblAnzZeilen->text(), u"3"_s);
    EXPECT_EQ(window->lblCaches->text(), u"2"_s);
    EXPECT_EQ(window->lblCacher->text(), u"1234567 - Beispiel"_s);
    EXPECT_TRUE(window->RichEdit1->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, UpperCaseZipIsReadAsTextAndInvalidBytesGiveNothing) {
    Open(Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-07-01"_s})));
    Open(Write(u"Finds.ZIP"_s, QByteArray("PK\x03\x04\x14\x00\x08\x00\x08\x00\x9c\xff\xfe", 13)));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(global.GpxZeilen.Count(), 0);
    EXPECT_EQ(window->lblAnzZeilen->text(), u"13"_s);
    EXPECT_TRUE(window->RichEdit1->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, SecondFileShowsOnlyItsOwnDays) {
    Open(Write(u"A.gpx"_s, PocketQueryBytes({u"2016-01-01"_s, u"2016-01-02"_s, u"2016-01-03"_s, u"2016-01-04"_s})));
    Open(Write(u"B.gpx"_s, PocketQueryBytes({u"2017-03-03"_s})));
    EXPECT_EQ(PaneLines(window->RichEdit2), QStringList({u"2017-03-03\t1"_s}));
    EXPECT_EQ(PaneLines(window->RichEdit3), QStringList({u"1\t1"_s}));
    EXPECT_EQ(window->lblTage->text(), u"1"_s);
    EXPECT_EQ(global.Finds.TagesKapazitaet, 8);
}

}  // namespace
