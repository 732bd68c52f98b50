// The information window: its design, the history load at creation, the refresh on every
// activation, the failure paths and the buttons.
#include <gtest/gtest.h>

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <cerrno>

#include "fake_ui_host.h"
#include "info/GetWindowsVersions.h"
#include "info/Info_Unit.h"
#include "platform/host_error.h"
#include "platform/host_path.h"

namespace {

struct Figures {
    uint64_t totalPhys, availPhys, totalPage, availPage;
};

class InfoWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        frm_.SetExeFolder(QFile::encodeName(dir_.path()).toStdString() + "/");
        frm_.SetMemoryQuery([this](TMemoryStatusEx& status) {
            ++memoryQueries_;
            if (failWith_) {
                errno = *failWith_;
                return false;
            }
            status.ullTotalPhys = figures_.totalPhys;
            status.ullAvailPhys = figures_.availPhys;
            status.ullTotalPageFile = figures_.totalPage;
            status.ullAvailPageFile = figures_.availPage;
            return true;
        });
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    void WriteHistory(const QByteArray& bytes) {
        QFile file(dir_.filePath(QStringLiteral("Historie.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The four memory labels, physical first.
    QStringList MemoryTexts() const {
        return {frm_.lblMemory->text(), frm_.lblMemoryAvail->text(), frm_.lblPageMemory->text(),
                frm_.lblPageMemoryAvail->text()};
    }

    FakeUiHost ui_;
    QTemporaryDir dir_;
    TfrmInfo frm_;
    Figures figures_{16ull << 30, 1800, 64ull << 20, 1023};
    std::optional<int> failWith_;
    int memoryQueries_ = 0;
};

TEST_F(InfoWindow, DesignTextsAndColours) {
    struct LabelCase {
        const QLabel* label;
        const char* text;
        QColor color;
    };
    const LabelCase cases[] = {
        {frm_.Label2, "Kalvero", frm_.palette().color(QPalette::WindowText)},
        {frm_.lblV, "Version:", frm_.palette().color(QPalette::WindowText)},
        {frm_.lblVersion, "0.0.0.0", frm_.palette().color(QPalette::WindowText)},
        {frm_.lblOS, "Betriebsystem", QColor(225, 0, 0)},
        {frm_.Label8, "Phys. Windows - Speicher:", QColor(128, 0, 0)},
        {frm_.lblMemory, "65.536 KB", QColor(128, 0, 0)},
        {frm_.Label10, "Verfügb. Phys.  Windows - Speicher:", QColor(128, 0, 128)},
        {frm_.lblMemoryAvail, "65.536 KB", QColor(128, 0, 128)},
        {frm_.Label9, "Auslagerungsspeicher:", QColor(0, 0, 160)},
        {frm_.lblPageMemory, "65.536 KB", QColor(0, 0, 160)},
        {frm_.Label11, "Verfügbarer Auslagerungsspeicher:", QColor(0, 64, 0)},
        {frm_.lblPageMemoryAvail, "65.536 KB", QColor(0, 64, 0)},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), c.color) << c.text;
    }
    EXPECT_EQ(frm_.windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(frm_.minimumSize(), frm_.maximumSize()) << "the window is not resizable";
    EXPECT_EQ(frm_.PageControl2->tabText(0), QStringLiteral("Allgemeines"));
    EXPECT_EQ(frm_.PageControl2->tabText(1), QStringLiteral("Historie"));
    EXPECT_EQ(frm_.BitBtnOK->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(frm_.BitBtnOK->isDefault());
    EXPECT_TRUE(frm_.BitBtnOK->font().bold());
    EXPECT_EQ(frm_.BitBtnSys->text(), QStringLiteral("&SystemInfo..."));
    EXPECT_EQ(frm_.sbtnGroundspeak->text(), QStringLiteral("Groundspeak ®"));
    EXPECT_EQ(frm_.sbtnGroundspeak->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    EXPECT_FALSE(frm_.sbtnGroundspeak->toolTip().isEmpty());
    EXPECT_EQ(frm_.Panel3->palette().color(QPalette::Window), QColor(224, 223, 227));
    EXPECT_TRUE(frm_.rtfHistorie->isReadOnly());
    EXPECT_EQ(frm_.rtfHistorie->toPlainText(), QStringLiteral("rtfHistorie"));
    EXPECT_EQ(frm_.rtfHistorie->palette().color(QPalette::Text), QColor(0, 0, 191));
    EXPECT_FALSE(frm_.Image1->pixmap().isNull());
}

TEST_F(InfoWindow, CreationSetsTheLinkCaptionAndLoadsTheHistory) {
    WriteHistory("Version 1.1.0.0\r\n\x84Neu\x93: Info-Fenster");
    frm_.FormCreate();
    EXPECT_TRUE(frm_.sbtnHomepage->text().contains(TfrmInfo::MakerSite().host()));
    EXPECT_EQ(frm_.rtfHistorie->toPlainText(),
              QStringLiteral("Version 1.1.0.0\n„Neu“: Info-Fenster"));
}

TEST_F(InfoWindow, MissingHistoryFailsAfterTheCaptionIsSet) {
    const std::string path =
        QFile::encodeName(dir_.filePath(QStringLiteral("Historie.txt"))).toStdString();
    try {
        frm_.FormCreate();
        FAIL() << "no failure raised";
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(failure.what(), platform::FileOpenErrorText(path, ENOENT));
    }
    EXPECT_EQ(frm_.rtfHistorie->toPlainText(), QStringLiteral("rtfHistorie"));
    EXPECT_FALSE(frm_.sbtnHomepage->text().isEmpty());
}

TEST_F(InfoWindow, ActivationShowsVersionSystemAndMemory) {
    const int memoryRight = frm_.lblMemory->x() + frm_.lblMemory->width();
    frm_.show();
    EXPECT_EQ(frm_.lblVersion->text(), QStringLiteral("1.1.0.0"));
    EXPECT_EQ(frm_.lblOS->text(), GetWindowsVersionName(true, true, true, false));
    EXPECT_EQ(MemoryTexts(), (QStringList{"16.777.216 KB", "2 KB", "65.536 KB", "1 KB"}));
    EXPECT_EQ(frm_.lblMemory->x() + frm_.lblMemory->width(), memoryRight)
        << "value labels keep their right edge";
    EXPECT_GE(frm_.lblMemory->width(), frm_.lblMemory->sizeHint().width());
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(InfoWindow, EveryShowingRefreshesAndReturnsToTheFirstTab) {
    frm_.show();
    frm_.PageControl2->setCurrentIndex(1);
    frm_.hide();
    figures_ = {8ull << 30, 4ull << 30, 0, 0};
    frm_.lblVersion->setText(QStringLiteral("stale"));

    frm_.show();
    EXPECT_EQ(frm_.PageControl2->currentWidget(), frm_.tsAllgemeines);
    EXPECT_EQ(frm_.lblVersion->text(), QStringLiteral("1.1.0.0"));
    EXPECT_EQ(MemoryTexts(), (QStringList{"8.388.608 KB", "4.194.304 KB", "0 KB", "0 KB"}));
}

TEST_F(InfoWindow, ProgramWithoutVersionBlockShowsZeros) {
    QFile plain(dir_.filePath(QStringLiteral("kalvero")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    frm_.SetVersionFile(plain.fileName());
    frm_.lblVersion->setText(QStringLiteral("stale"));
    frm_.show();
    EXPECT_EQ(frm_.lblVersion->text(), QStringLiteral("0.0.0.0"));
}

TEST_F(InfoWindow, MemoryFailureReachesTheErrorBoxAndLeavesTheLabels) {
    frm_.show();
    frm_.PageControl2->setCurrentIndex(1);
    frm_.hide();
    figures_ = {1024, 1024, 1024, 1024};
    const QString app =
        QString::fromStdString(platform::ApplicationTitle(platform::ExecutablePath()));

    struct FailureCase {
        int code;
        QString text;
    };
    const FailureCase cases[] = {
        {ENOMEM, QString::fromStdString(OSErrorText(ENOMEM)) + u'.'},
        {0, QStringLiteral("Ein Aufruf einer Betriebssystemfunktion ist fehlgeschlagen.")},
    };
    for (const FailureCase& c : cases) {
        ui_.boxes.clear();
        failWith_ = c.code;
        frm_.show();
        ASSERT_EQ(ui_.boxes.size(), 1u);
        EXPECT_EQ(ui_.boxes[0].caption, app);
        EXPECT_EQ(ui_.boxes[0].text, c.text);
        EXPECT_EQ(ui_.boxes[0].icon, platform::MessageIcon::Error);
        EXPECT_TRUE(frm_.isVisible());
        EXPECT_EQ(MemoryTexts(), (QStringList{"16.777.216 KB", "2 KB", "65.536 KB", "1 KB"}));
        EXPECT_EQ(frm_.PageControl2->currentIndex(), 1) << "nothing further happens";
        frm_.hide();
    }
}

TEST_F(InfoWindow, AnInstalledFailureHandlerReceivesTheFailure) {
    std::string received;
    frm_.SetFailureHandler([&](QWidget* window, const std::exception& failure) {
        EXPECT_EQ(window, &frm_);
        received = failure.what();
    });
    failWith_ = EACCES;
    frm_.show();
    EXPECT_EQ(received, OSErrorText(EACCES));
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(InfoWindow, LinksOpenTheirSitesAndFailuresShowTheBox) {
    struct LinkCase {
        QToolButton* button;
        QUrl site;
        bool opens;
    };
    const LinkCase cases[] = {
        {frm_.sbtnGroundspeak, TfrmInfo::GroundspeakSite(), true},
        {frm_.sbtnHomepage, TfrmInfo::MakerSite(), true},
        {frm_.sbtnGroundspeak, TfrmInfo::GroundspeakSite(), false},
        {frm_.sbtnHomepage, TfrmInfo::MakerSite(), false},
    };
    frm_.show();
    for (const LinkCase& c : cases) {
        ui_.urls.clear();
        ui_.boxes.clear();
        ui_.openUrlSucceeds = c.opens;
        c.button->setFocus();
        c.button->click();
        EXPECT_EQ(ui_.urls, std::vector<QUrl>{c.site});
        if (c.opens) {
            EXPECT_TRUE(ui_.boxes.empty());
        } else {
            ASSERT_EQ(ui_.boxes.size(), 1u);
            EXPECT_EQ(ui_.boxes[0].caption, QStringLiteral("Fataler Dateifehler !"));
            EXPECT_EQ(ui_.boxes[0].text, QString());
        }
        EXPECT_EQ(frm_.focusWidget(), frm_.BitBtnOK);
        EXPECT_TRUE(frm_.isVisible());
    }
    EXPECT_NE(TfrmInfo::MakerSite(), TfrmInfo::GroundspeakSite());
}

class ScopedPath {
public:
    explicit ScopedPath(const QByteArray& path) : saved_(qgetenv("PATH")) { qputenv("PATH", path); }
    ~ScopedPath() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

TEST_F(InfoWindow, SystemInfoStartsAToolWhenTheSystemHasOne) {
    {
        ScopedPath path(QFile::encodeName(dir_.path()));
        frm_.BitBtnSys->click();
        EXPECT_TRUE(ui_.programs.empty());
    }
    QFile tool(dir_.filePath(QStringLiteral("hardinfo")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    {
        ScopedPath path(QFile::encodeName(dir_.path()));
        frm_.BitBtnSys->click();
    }
    EXPECT_EQ(ui_.programs, std::vector<QString>{tool.fileName()});
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(InfoWindow, OkClosesAndTheWindowCanBeShownAgain) {
    frm_.show();
    frm_.BitBtnOK->click();
    EXPECT_FALSE(frm_.isVisible());
    const int queries = memoryQueries_;
    frm_.show();
    EXPECT_TRUE(frm_.isVisible());
    EXPECT_EQ(memoryQueries_, queries + 2) << "one refresh reads the memory status twice";
}

}  // namespace
