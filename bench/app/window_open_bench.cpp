// Opens one pocket query in the main window, as a confirmed open dialog does, and prints the
// seconds from the accepted dialog to the laid-out panes, with the numbers the window shows.
//   window_open_bench FILE
// The window is shown first, so the panes lay out and paint as they would on a desktop.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <cstdio>

#include "app/Main_Unit.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_open_bench FILE\n");
        return 2;
    }
    TGlobalUnit global;
    global.Initialize();
    TfrmMain window(global);
    window.FormCreate();
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.FileOpen1Accept(QString::fromLocal8Bit(argv[1]));
    // The panes lay out and paint what they were given.
    for (QPlainTextEdit* pane : {window.RichEdit1, window.RichEdit2, window.RichEdit3}) pane->repaint();
    QCoreApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    std::printf("%.3f s lines=%s finds=%s days=%s date_blocks=%d\n", seconds,
                qPrintable(window.lblAnzZeilen->text()), qPrintable(window.lblCaches->text()),
                qPrintable(window.lblTage->text()), window.RichEdit1->document()->blockCount());
    return window.lblCaches->text().isEmpty() ? 1 : 0;
}
