// Kalvero: start-up, the two windows and the end of the run.
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "CommandLine.h"
#include "GermanTranslation.h"
#include "Global_Unit.h"
#include "Main_Unit.h"
#include "ZipPrompts.h"
#include "info/GetWindowsVersions.h"
#include "info/Info_Unit.h"
#include "info/kalvero_logo.h"
#include "platform/ui_design.h"

int main(int argc, char** argv) {
    Global().Initialize();
    int result = 0;
    {
        QApplication app(argc, argv);
        const TCommandLine commandLine = ParseCommandLine(QCoreApplication::arguments());
        if (!commandLine.valid) {
            std::fputs(CommandLineUsage().toUtf8().constData(), stderr);
            Global().Release();
            return 2;
        }
        // A bare "C" environment has no user locale: use the German one the tool is made for
        // (number grouping, collation of the dates).
        if (QLocale().language() == QLocale::C) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // Qt's dialogs, standard buttons and key names in German; without the translation
        // installed they stay as Qt ships them.
        const std::unique_ptr<QTranslator> qtGerman = LoadQtGermanTranslation();
        if (qtGerman) QCoreApplication::installTranslator(qtGerman.get());
        platform::RegisterDesignFonts();
        app.setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10));
        app.setWindowIcon(QIcon(KalveroLogo(256)));

        ProbeNativeSystemInfo();
        TfrmMain frmMain;
        TZipPrompts archiverPrompts(&frmMain);
        SetZAPrompt(&archiverPrompts);
        RunHandler(&frmMain, [&] { frmMain.FormCreate(); });

        TfrmInfo frmInfo;
        frmInfo.SetExeFolder(Global().ExePfad.toStdString());
        frmInfo.SetFailureHandler([](QWidget* window, const std::exception& e) {
            ShowStandardErrorBox(window, QString::fromUtf8(e.what()));
        });
        RunHandler(&frmMain, [&] { frmInfo.FormCreate(); });
        frmMain.SetInfoWindow(&frmInfo);

        frmMain.show();
        const QRect screen = frmMain.screen()->availableGeometry();
        frmMain.move(screen.center() - frmMain.frameGeometry().center() + frmMain.pos());
        // The file of the command line opens once the window is on screen.
        if (commandLine.file) {
            QTimer::singleShot(0, &frmMain, [&frmMain, file = *commandLine.file] { frmMain.OpenChosenFile(file); });
        }
        result = app.exec();
        SetZAPrompt(nullptr);
    }
    Global().Release();
    return result;
}
