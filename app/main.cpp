// Kalvero: start-up, the two windows and the end of the run.
#include <QApplication>
#include <QDialog>
#include <QScreen>

#include "Global_Unit.h"
#include "Main_Unit.h"
#include "platform/ui_design.h"

int main(int argc, char** argv) {
    Global().Initialize();
    int result = 0;
    {
        QApplication app(argc, argv);
        platform::RegisterDesignFonts();
        app.setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10));

        TfrmMain frmMain;
        RunHandler(&frmMain, [&] { frmMain.FormCreate(); });

        frmMain.show();
        const QRect screen = frmMain.screen()->availableGeometry();
        frmMain.move(screen.center() - frmMain.frameGeometry().center() + frmMain.pos());
        result = app.exec();
    }
    Global().Release();
    return result;
}
