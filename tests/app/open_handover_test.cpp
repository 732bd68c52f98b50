// Files that reach the window other than through the open dialog (the command line, a drop)
// and the busy cursor of a load.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/CommandLine.h"
#include "app/Main_Unit.h"
#include "window_fixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class OpenHandoverTest : public TWindowTest {
protected:
    void SetUp() override {
        TWindowTest::SetUp();
        window->show();
    }

    // The panes and counters, as one text to compare two ways of opening a file.
    QString Shown() const {
        return window->lblAnzZeilen->text() + u'|' + window->lblCaches->text() + u'|' + window->lblTage->text() +
               u'|' + window->RichEdit1->toPlainText() + u'|' + window->RichEdit2->toPlainText() + u'|' +
               window->RichEdit3->toPlainText();
    }

    // Sends a drag of `mime` through enter, move and drop to `target`; true when the drop was
    // taken.
    static bool Drag(QWidget* target, QMimeData& mime) {
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
};

TEST(CommandLine, OneFileOrNothing) {
    const QString here = QDir::currentPath();
    const struct {
        QStringList arguments;
        bool valid;
        std::optional<QString> file;
    } cases[] = {
        {{u"kalvero"_s}, true, std::nullopt},
        {{u"kalvero"_s, u"/data/My Finds.zip"_s}, true, u"/data/My Finds.zip"_s},
        {{u"kalvero"_s, u"Finds.gpx"_s}, true, here + u"/Finds.gpx"_s},
        {{u"kalvero"_s, u"sub/../Finds.gpx"_s}, true, here + u"/Finds.gpx"_s},
        {{u"kalvero"_s, u"a.gpx"_s, u"b.gpx"_s}, false, std::nullopt},
        {{u"kalvero"_s, u"--help"_s}, false, std::nullopt},
        {{u"kalvero"_s, u""_s}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        const TCommandLine parsed = ParseCommandLine(c.arguments);
        EXPECT_EQ(parsed.valid, c.valid) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.file, c.file) << c.arguments.join(u' ').toStdString();
    }
}

TEST(CommandLine, TheProgramRefusesOptionsAndSecondFiles) {
    for (const QStringList& arguments : {QStringList{u"--version"_s}, QStringList{u"a.gpx"_s, u"b.gpx"_s}}) {
        QProcess program;
        program.start(QStringLiteral(KALVERO_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        EXPECT_EQ(program.exitCode(), 2) << arguments.join(u' ').toStdString();
        const std::string error = program.readAllStandardError().toStdString();
        EXPECT_TRUE(error.ends_with(CommandLineUsage().toStdString())) << error;
    }
}

// The command line's file goes through the same road as the dialog's: same counters and
// panes, and a file that cannot be opened gives the same error box.
TEST_F(OpenHandoverTest, CommandLineFileOpensAsFromTheDialog) {
    const QString path = Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-05-07"_s, u"2016-05-07"_s, u"2016-05-09"_s}));
    Open(path);
    const QString fromDialog = Shown();
    ASSERT_EQ(window->lblCaches->text(), u"3"_s);

    window->ClearPanes();
    QDir::setCurrent(dir.path());
    const TCommandLine commandLine = ParseCommandLine({u"kalvero"_s, u"Finds.gpx"_s});
    ASSERT_TRUE(commandLine.file);
    window->OpenChosenFile(*commandLine.file);
    EXPECT_EQ(Shown(), fromDialog);
    EXPECT_EQ(global.DateiName, path);
    EXPECT_EQ(global.GpxName, u"Finds.gpx"_s);

    const TCommandLine missing = ParseCommandLine({u"kalvero"_s, u"Fehlt.gpx"_s});
    Open(*missing.file);
    window->OpenChosenFile(*missing.file);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, ui.boxes[1].text);
    EXPECT_TRUE(ui.boxes[1].text.startsWith(u"Datei "_s + dir.filePath(u"Fehlt.gpx"_s))) << ui.boxes[1].text.toStdString();
}

TEST_F(OpenHandoverTest, OneDroppedFileIsOpenedOnTheWindowAndOnAPane) {
    const QString first = Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-05-07"_s}));
    const QString second =
        WriteZip(u"Zipped.zip"_s, "Zipped.gpx", PocketQueryBytes({u"2017-01-01"_s, u"2017-01-01"_s}).toStdString());

    for (const auto& [target, path, finds] : {std::tuple{static_cast<QWidget*>(window.get()), first, u"1"_s},
                                              std::tuple{window->RichEdit2->viewport(), second, u"2"_s}}) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        mime.setText(QUrl::fromLocalFile(path).toString());
        EXPECT_TRUE(Drag(target, mime)) << path.toStdString();
        EXPECT_EQ(global.DateiName, path);
        EXPECT_EQ(window->lblCaches->text(), finds) << path.toStdString();
        EXPECT_FALSE(window->RichEdit2->toPlainText().contains(u"file:"_s));
    }
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(window->pbProgress->isHidden());
}

TEST_F(OpenHandoverTest, DragsOfSeveralFilesOrOfNoLocalFileAreRefused) {
    const QString a = Write(u"A.gpx"_s, PocketQueryBytes({u"2016-05-07"_s}));
    const QString b = Write(u"B.gpx"_s, PocketQueryBytes({u"2016-05-08"_s}));
    const QList<QList<QUrl>> refused = {
        {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)},
        {QUrl(u"https://example.org/Finds.gpx"_s)},
        {},
    };
    for (const QList<QUrl>& urls : refused) {
        QMimeData mime;
        if (!urls.isEmpty()) mime.setUrls(urls);
        EXPECT_FALSE(Drag(window.get(), mime)) << urls.size();
    }
    EXPECT_TRUE(global.DateiName.isEmpty());
    EXPECT_TRUE(window->lblCaches->isHidden());
}

// The busy cursor shows from the start of a load until the panes are filled, is gone after
// every ending, and no box is shown under it.
TEST_F(OpenHandoverTest, BusyCursorDuringTheLoadOnly) {
    const struct {
        const char* what;
        QString path;
        size_t boxes;
    } loads[] = {
        {"pocket query", Write(u"Finds.gpx"_s, PocketQueryBytes({u"2016-05-07"_s, u"2016-05-08"_s})), 0},
        {"missing file", dir.filePath(u"Fehlt.gpx"_s), 1},
        {"not a pocket query", Write(u"Other.gpx"_s, "<?xml?>\n<gpx>\n<name>Some other query</name>\n"), 1},
        {"archive without the entry", WriteZip(u"Finds.zip"_s, "Other.gpx", "<gpx/>"), 1},
    };
    for (const auto& load : loads) {
        ui.boxes.clear();
        std::optional<Qt::CursorShape> duringLoad;
        QTimer::singleShot(0, window.get(), [&] {
            if (const QCursor* forced = QGuiApplication::overrideCursor()) duringLoad = forced->shape();
        });
        Open(load.path);
        QCoreApplication::processEvents();  // a load that processed no messages runs the timer here

        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << load.what;
        ASSERT_EQ(ui.boxes.size(), load.boxes) << load.what;
        for (const TShownBox& box : ui.boxes) {
            EXPECT_NE(box.overrideCursor, std::optional<Qt::CursorShape>(Qt::WaitCursor)) << load.what;
        }
        if (load.boxes == 0) {
            EXPECT_EQ(duringLoad, std::optional<Qt::CursorShape>(Qt::WaitCursor)) << load.what;
        }
    }
}

TEST_F(OpenHandoverTest, BusyCursorWhileAnArchiveIsExtracted) {
    std::string gpx = PocketQueryBytes({u"2016-05-07"_s}).toStdString();
    gpx.insert(gpx.find("</gpx>"), std::string(3u << 20, ' '));  // several progress events
    const QString path = WriteZip(u"Finds.zip"_s, "Finds.gpx", gpx);

    std::optional<Qt::CursorShape> duringExtraction;
    QTimer::singleShot(0, window.get(), [&] {
        if (const QCursor* forced = QGuiApplication::overrideCursor()) duringExtraction = forced->shape();
    });
    Open(path);
    EXPECT_EQ(duringExtraction, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    EXPECT_EQ(window->lblCaches->text(), u"1"_s);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
