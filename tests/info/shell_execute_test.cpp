// Results of opening a link, the failure box they lead to, and the choice of the
// system-information tool.
#include "info/shell_execute.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "fake_ui_host.h"

namespace {

struct ResultCase {
    int result;
    const char* text;
};

const ResultCase kListedResults[] = {
    {0, "Zuwenig Speicher, ausführbare Datei war zerstört, Relokationswerte waren ungültig"},
    {2, "Datei wurde nicht gefunden."},
    {3, "Verzeichnis wurde nicht gefunden."},
    {5,
     "Fehler beim gemeinsamen Zugriff auf eine Datei im Netz oder Fehler beim Zugriff auf eine "
     "gesperrte Datei im Netz."},
    {6, "Bibliothek forderte separate Datensegmente für jede Task an."},
    {8, "Zuwenig Speicher, um die Anwendung zu starten."},
    {10, "Falsche Windows-Version."},
    {11,
     "Ungültige ausführbare Datei. Entweder keine Windows-Anwendung oder Fehler in der "
     "EXE-Datei."},
    {12, "Anwendung für ein anderes Betriebssystem."},
    {13, "Anwendung für MS-DOS 4.0."},
    {14, "Typ der ausführbaren Datei unbekannt."},
    {15, "Versuch, eine Real-Mode-Anwendung (für eine frühere Windows-Version) zu laden."},
    {16,
     "Versuch, eine zweite Instanz einer ausführbaren Datei mit mehreren Datensegmenten, die "
     "nicht als nur lesbar gekennzeichnet waren, zu laden."},
    {19,
     "Versuch, eine komprimierte ausführbare Datei zu laden. Die Datei muß dekomprimiert "
     "werden, bevor sie geladen werden kann."},
    {20,
     "Ungültige dynamische Linkbibliothek (DLL). Eine der DLLs, die benötigt wurde, um die "
     "Anwendung auszuführen, war beschädigt."},
};

void ExpectFailureBox(const FakeUiHost& ui, const QString& text, int result) {
    ASSERT_EQ(ui.boxes.size(), 1u) << result;
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Fataler Dateifehler !"));
    EXPECT_EQ(ui.boxes[0].text, text) << result;
    EXPECT_EQ(ui.boxes[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(ui.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(ShowShellExecuteError, ListedResultsShowTheirText) {
    for (const ResultCase& c : kListedResults) {
        FakeUiHost ui;
        ShowShellExecuteError(nullptr, c.result);
        ExpectFailureBox(ui, QString::fromUtf8(c.text), c.result);
    }
}

TEST(ShowShellExecuteError, UnlistedFailuresShowAnEmptyBox) {
    for (const int result : {-1, 1, 4, 7, 9, 17, 18, 21, 26, 31, 32}) {
        FakeUiHost ui;
        ShowShellExecuteError(nullptr, result);
        ExpectFailureBox(ui, QString(), result);
    }
}

TEST(ShowShellExecuteError, SuccessShowsNothing) {
    for (const int result : {33, 42, 0x7FFFFFFF}) {
        FakeUiHost ui;
        ShowShellExecuteError(nullptr, result);
        EXPECT_TRUE(ui.boxes.empty()) << result;
    }
}

TEST(ShellOpenUrl, MapsTheBrowsersAnswerOntoResults) {
    FakeUiHost ui;
    const QUrl site(QStringLiteral("https://www.geocaching.com/"));
    EXPECT_GT(ShellOpenUrl(site), 32);
    ui.openUrlSucceeds = false;
    const int failed = ShellOpenUrl(site);
    EXPECT_EQ(failed, SE_ERR_NOASSOC);
    ShowShellExecuteError(nullptr, failed);
    ExpectFailureBox(ui, QString(), failed);
    EXPECT_EQ(ui.urls, (std::vector<QUrl>{site, site}));
}

void MakeProgram(const QTemporaryDir& dir, const QString& name, bool executable = true) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

TEST(FindSystemInfoTool, PrefersTheMostSpecificToolFound) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(FindSystemInfoTool({dir.path()}).has_value());

    MakeProgram(dir, QStringLiteral("hardinfo"), false);
    EXPECT_FALSE(FindSystemInfoTool({dir.path()}).has_value()) << "not executable";

    MakeProgram(dir, QStringLiteral("gnome-system-monitor"));
    auto tool = FindSystemInfoTool({dir.path()});
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->program, dir.filePath(QStringLiteral("gnome-system-monitor")));

    MakeProgram(dir, QStringLiteral("kinfocenter"));
    tool = FindSystemInfoTool({dir.path()});
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->program, dir.filePath(QStringLiteral("kinfocenter")));
}

}  // namespace
