// Kalvero: start-up, the two windows and the end of the run.
#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QScreen>

#include "Global_Unit.h"
#include "Main_Unit.h"
#include "ZipPrompts.h"
#include "info/GetWindowsVersions.h"
#include "info/Info_Unit.h"
#include "platform/ui_design.h"

int main(int argc, char** argv) {
    Global().Initialize();
    int result = 0;
    {
        QApplication app(argc, argv);
        // A bare "C" environment has no user locale: use the German one the tool is made for
        // (number grouping, collation of the dates).
        if (QLocale().language() == QLocale::C) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        platform::RegisterDesignFonts();
        app.setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10));

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
        result = app.exec();
        SetZAPrompt(nullptr);
    }
    Global().Release();
    return result;
}
