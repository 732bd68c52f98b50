// What the main window shows: whole numbers in the panes, a gauge that reads at every
// percentage, controls where the design puts them, and Qt's own texts in German.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTranslator>

#include "app/Gauge.h"
#include "app/GermanTranslation.h"
#include "app/Main_Unit.h"
#include "platform/ui_design.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class WindowLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TfrmMain>(global);
        window->FormCreate();
        window->show();
        QCoreApplication::processEvents();
    }

    TGlobalUnit global;
    std::unique_ptr<TfrmMain> window;
};

// The width the pane's first line takes when laid out in the pane, tab stops included.
qreal LaidOutWidth(QPlainTextEdit* pane) {
    QTextDocument* doc = pane->document();
    const QTextBlock first = doc->firstBlock();
    doc->documentLayout()->blockBoundingRect(first);  // lays the block out
    const QTextLayout* layout = first.layout();
    EXPECT_EQ(layout->lineCount(), 1);
    return layout->lineAt(0).naturalTextWidth() + doc->documentMargin();
}

// The widest lines each pane can get: a day with five-digit counts, and a five-digit number
// of finds with a five-digit number of days. Each must show whole, without scrolling, and
// its second column must start after the first at the first tab stop.
TEST_F(WindowLookTest, WidestValuesOfEveryColumnShowWhole) {
    const struct {
        QPlainTextEdit* pane;
        QString line;
    } cases[] = {
        {window->RichEdit1, u"2016-12-28"_s},
        {window->RichEdit2, u"2016-12-28\t99999"_s},
        {window->RichEdit2, u"2016-12-28\t1149"_s},
        {window->RichEdit3, u"99999\t88888"_s},
        {window->RichEdit3, u"1\t1149"_s},
    };
    for (const auto& c : cases) {
        window->SetPaneText(c.pane == window->RichEdit1   ? TFindsPane::Dates
                            : c.pane == window->RichEdit2 ? TFindsPane::Days
                                                          : TFindsPane::Histogram,
                            c.line);
        const qreal visible = c.pane->viewport()->width();
        EXPECT_LE(LaidOutWidth(c.pane), visible) << c.line.toStdString() << " in a pane "
                                                 << visible << " pixels wide";
        const qsizetype tab = c.line.indexOf(u'\t');
        if (tab < 0) continue;
        const QTextLine line = c.pane->document()->firstBlock().layout()->lineAt(0);
        const qreal firstColumnEnd = line.cursorToX(static_cast<int>(tab));
        const qreal secondColumnStart = line.cursorToX(static_cast<int>(tab) + 1);
        EXPECT_LT(firstColumnEnd, secondColumnStart) << c.line.toStdString();
        EXPECT_LE(secondColumnStart - line.x(), c.pane->tabStopDistance() + 0.5) << c.line.toStdString();
    }
}

// Larger fonts (a denser screen, or a user's larger font) move the tab stops with them.
TEST(PaneTabStops, FollowThePaneFont) {
    for (const int points : {8, 10, 14, 20}) {
        QPlainTextEdit pane;
        QFont font = platform::DesignFont(u"Tahoma"_s, points);
        pane.setFont(font);
        pane.document()->setDefaultFont(font);
        SetColumnTabStop(&pane, u"0000-00-00"_s);
        const QFontMetricsF metrics(font);
        EXPECT_GT(pane.tabStopDistance(), metrics.horizontalAdvance(u"2016-12-28"_s)) << points;
        EXPECT_LT(pane.tabStopDistance(), metrics.horizontalAdvance(u"2016-12-28000"_s)) << points;
    }
}

// Where each control of the counters box and the tab sits, against its design rectangle.
TEST_F(WindowLookTest, ControlsSitAtTheirDesignPositions) {
    window->pbProgress->setVisible(true);
    for (QLabel* hidden : {window->lblAnzZeilen, window->lblPQ, window->lblCaches, window->lblCacher, window->lblTage}) {
        hidden->setText(u"12345"_s);
        hidden->setVisible(true);
    }
    QCoreApplication::processEvents();
    const struct {
        QWidget* control;
        int left, top;
    } labels[] = {
        {window->Label1, 7, 3},        {window->lblAnzZeilen, 119, 3}, {window->lblPQ, 232, 3},
        {window->Label2, 487, 3},      {window->lblCaches, 566, 3},    {window->lblCacher, 7, 30},
        {window->Label3, 467, 5},      {window->lblTage, 520, 5},
    };
    for (const auto& l : labels) {
        EXPECT_EQ(l.control->pos(), platform::PxRect(l.left, l.top, 0, 0).topLeft())
            << "label at design " << l.left << "," << l.top;
    }
    EXPECT_EQ(window->pbProgress->geometry(), platform::PxRect(487, 34, 150, 17));
    EXPECT_TRUE(window->GroupBox1->rect().contains(window->pbProgress->geometry()))
        << "gauge bottom " << window->pbProgress->geometry().bottom() << ", box height "
        << window->GroupBox1->height();
}

// Pixels of the gauge's inner area, split at the end of the bar.
struct GaugePixels {
    int lightOnBar = 0;   // text drawn light over the bar
    int darkOnBar = 0;    // anything darker than the bar over it
    int darkOnWhite = 0;  // text drawn dark over the white rest
};

GaugePixels Inspect(TGauge& gauge) {
    const QImage image = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = image.devicePixelRatio();
    const int barEnd = static_cast<int>((1 + (gauge.width() - 2) * gauge.value() / 100) * ratio);
    GaugePixels seen;
    for (int y = static_cast<int>(2 * ratio); y < image.height() - 2 * ratio; ++y) {
        for (int x = static_cast<int>(2 * ratio); x < image.width() - 2 * ratio; ++x) {
            if (x >= barEnd - 1 && x <= barEnd + 1) continue;  // the edge of the bar
            const QColor c = image.pixelColor(x, y);
            if (x < barEnd) {
                if (c.lightness() > 160) ++seen.lightOnBar;
                if (c.blue() < 100) ++seen.darkOnBar;
            } else if (c.lightness() < 100) {
                ++seen.darkOnWhite;
            }
        }
    }
    return seen;
}

TEST(Gauge, PercentageReadsOnTheBarAndOnTheRest) {
    TGauge gauge;
    gauge.setFont(platform::DesignFont(u"Tahoma"_s, 10));
    gauge.resize(platform::Px(150), platform::Px(17));
    for (const int percent : {0, 8, 50, 100}) {
        gauge.setValue(percent);
        const GaugePixels seen = Inspect(gauge);
        EXPECT_EQ(seen.darkOnBar, 0) << percent << "%: dark text on the navy bar";
        if (percent == 100) {
            EXPECT_GT(seen.lightOnBar, 10) << "100%: no light text on the full bar";
            EXPECT_EQ(seen.darkOnWhite, 0);
        } else if (percent == 0) {
            EXPECT_GT(seen.darkOnWhite, 10) << "0%: no dark text on the white gauge";
        } else if (percent == 50) {
            EXPECT_GT(seen.lightOnBar, 5) << "50%: the text's part on the bar is not light";
            EXPECT_GT(seen.darkOnWhite, 5) << "50%: the text's part on white is not dark";
        }
    }
    gauge.setValue(100);
    EXPECT_EQ(gauge.text(), u"100%"_s);
    EXPECT_EQ(gauge.grab().toImage().pixelColor(gauge.width() / 8, gauge.height() / 2), TGauge::kBar);
}

// Qt's dialogs, buttons and key names speak German once its translation is installed.
TEST_F(WindowLookTest, QtTextsAreGermanWithItsTranslation) {
    const std::unique_ptr<QTranslator> german = LoadQtGermanTranslation();
    ASSERT_TRUE(german) << "Qt's German translation (qt6-translations-l10n) is not installed";
    EXPECT_EQ(window->FileOpen1->shortcut().toString(QKeySequence::NativeText), u"Ctrl+O"_s);
    QCoreApplication::installTranslator(german.get());

    EXPECT_EQ(window->FileOpen1->shortcut().toString(QKeySequence::NativeText), u"Strg+O"_s);
    QMessageBox box(QMessageBox::Question, u"Kalvero"_s, u"?"_s, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), u"Abbrechen"_s);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    for (const auto& [name, text] : {std::pair{u"lookInLabel"_s, u"Suchen in:"_s},
                                       std::pair{u"fileNameLabel"_s, u"Datei&name:"_s},
                                       std::pair{u"fileTypeLabel"_s, u"Dateien des Typs:"_s}}) {
        const QLabel* label = dialog.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        EXPECT_EQ(label->text().toStdString(), text.toStdString()) << name.toStdString();
    }

    QCoreApplication::removeTranslator(german.get());
    EXPECT_EQ(window->FileOpen1->shortcut().toString(QKeySequence::NativeText), u"Ctrl+O"_s);
}

TEST(GermanTranslation, AFolderWithoutItGivesNone) {
    EXPECT_EQ(LoadQtGermanTranslation(u"/nonexistent-kalvero"_s), nullptr);
}

}  // namespace
