#include "Info_Unit.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>

#include "GetWindowsVersions.h"
#include "history_text.h"
#include "info_design.h"
#include "kalvero_logo.h"
#include "platform/host_path.h"
#include "platform/ui_design.h"
#include "platform/ui_host.h"
#include "shell_execute.h"

namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kArial = QStringLiteral("Arial");

const QColor kMaroon(128, 0, 0);
const QColor kPurple(128, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kPageFileBlue(0, 0, 160);
const QColor kPageFileGreen(0, 64, 0);
const QColor kSystemRed(225, 0, 0);
const QColor kHistoryBlue(0, 0, 191);
const QColor kSystemPanel(224, 223, 227);

const QString kMemoryDesignText = QStringLiteral("65.536 KB");

QToolButton* MakeFlatButton(QWidget* parent, const QString& text, const QRect& geometry,
                            const QFont& font) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    button->setFont(font);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QWidget* MakePanel(QWidget* parent, const QRect& geometry) {
    auto* panel = new QWidget(parent);
    panel->setGeometry(geometry);
    return panel;
}

// The application's error box for a failure that a show event cannot pass on: error icon,
// one OK button, the application title as caption, and a full stop after a message that ends
// in a letter or digit.
void ShowFailureBox(QWidget* window, const std::exception& failure) {
    QString text = QString::fromUtf8(failure.what());
    if (!text.isEmpty() && text.back().unicode() > u'.') text += u'.';
    const QString title =
        QString::fromStdString(platform::ApplicationTitle(platform::ExecutablePath()));
    platform::Ui().messageBox(window, title, text, platform::MessageIcon::Error, QMessageBox::Ok,
                              QMessageBox::Ok);
}

}  // namespace

QString MemoryKBText(uint64_t bytes, const QLocale& locale) {
    // Whole kilobytes, rounded half up; done in integers so that no 64-bit figure loses digits.
    const uint64_t kilobytes = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    return locale.toString(static_cast<qulonglong>(kilobytes)) + QStringLiteral(" KB");
}

const QUrl& TfrmInfo::MakerSite() {
    static const QUrl site(QStringLiteral("https://kalvero.example.org/"));
    return site;
}

const QUrl& TfrmInfo::GroundspeakSite() {
    static const QUrl site(QStringLiteral("https://www.geocaching.com/"));
    return site;
}

TfrmInfo::TfrmInfo(QWidget* parent)
    : QDialog(parent),
      exeFolder_(platform::ExecutableFolder()),
      versionFile_(QFile::decodeName(platform::ExecutablePath().c_str())),
      memoryQuery_(QueryMemoryStatus),
      failureHandler_(ShowFailureBox) {
    platform::RegisterDesignFonts();
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::Px(572), platform::Px(537));
    setFont(DesignPixelFont(kSansSerif, 14));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    BuildButtons();
    PageControl2 = new QTabWidget(this);
    PageControl2->setGeometry(platform::PxRect(10, 20, 552, 454));
    PageControl2->tabBar()->setAttribute(Qt::WA_Hover);
    tsAllgemeines = new QWidget;
    tsHistorie = new QWidget;
    PageControl2->addTab(tsAllgemeines, QStringLiteral("Allgemeines"));
    PageControl2->addTab(tsHistorie, QStringLiteral("Historie"));
    BuildGeneralTab();
    BuildSystemPanel();
    BuildHistoryTab();

    setTabOrder(BitBtnOK, BitBtnSys);
    setTabOrder(BitBtnSys, PageControl2);
    BitBtnOK->setFocus();
}

void TfrmInfo::BuildButtons() {
    BitBtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("&OK"), this);
    BitBtnOK->setGeometry(platform::PxRect(428, 487, 130, 36));
    BitBtnOK->setFont(DesignPixelFont(kSansSerif, 15, true));
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });

    BitBtnSys = new QPushButton(QStringLiteral("&SystemInfo..."), this);
    BitBtnSys->setGeometry(platform::PxRect(290, 487, 130, 36));
    BitBtnSys->setAutoDefault(false);
    connect(BitBtnSys, &QPushButton::clicked, this, [this] { BitBtnSysClick(); });
}

void TfrmInfo::BuildGeneralTab() {
    Image1 = new QLabel(tsAllgemeines);
    Image1->setGeometry(platform::PxRect(11, 30, 161, 153));
    Image1->setScaledContents(true);
    Image1->setPixmap(KalveroLogo(256));

    Panel1 = MakePanel(tsAllgemeines, platform::PxRect(179, 15, 361, 173));
    const QColor text = palette().color(QPalette::WindowText);
    Label2 = MakeLabel(Panel1, QStringLiteral("Kalvero"), 10, 34, DesignPixelFont(kArial, 27, true),
                       text);
    Label4 = MakeLabel(Panel1, QStringLiteral("Geocaching-Werkzeuge"), 10, 74,
                       DesignPixelFont(kArial, 20), text);
    lblV =
        MakeLabel(Panel1, QStringLiteral("Version:"), 10, 105, DesignPixelFont(kArial, 17), text);
    lblVersion =
        MakeLabel(Panel1, QStringLiteral("0.0.0.0"), 78, 105, DesignPixelFont(kArial, 17), text);
    sbtnHomepage = MakeFlatButton(Panel1, QString(), platform::PxRect(10, 132, 346, 41),
                                  DesignPixelFont(kArial, 17));
    connect(sbtnHomepage, &QToolButton::clicked, this, [this] { shellExecClick(sbtnHomepage); });

    Bevel2 = new QFrame(tsAllgemeines);
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Raised);
    Bevel2->setGeometry(platform::Px(11), platform::Px(196), platform::Px(519),
                        std::max(2, platform::Px(2)));

    sbtnGroundspeak =
        MakeFlatButton(tsAllgemeines, QStringLiteral("Groundspeak ®"),
                       platform::PxRect(423, 398, 107, 21), DesignPixelFont(kSansSerif, 15));
    SetTextColor(sbtnGroundspeak, kBlue);
    sbtnGroundspeak->setToolTip(QStringLiteral("Die Website von Groundspeak öffnen"));
    connect(sbtnGroundspeak, &QToolButton::clicked, this,
            [this] { shellExecClick(sbtnGroundspeak); });
}

void TfrmInfo::BuildSystemPanel() {
    Panel3 = MakePanel(tsAllgemeines, platform::PxRect(11, 215, 494, 168));
    QPalette palette = Panel3->palette();
    palette.setColor(QPalette::Window, kSystemPanel);
    Panel3->setPalette(palette);
    Panel3->setAutoFillBackground(true);

    lblOS = MakeLabel(Panel3, QStringLiteral("Betriebsystem"), 8, 18, DesignPixelFont(kArial, 15),
                      kSystemRed);

    const QFont memoryFont = DesignPixelFont(kSansSerif, 15);
    auto valueLabel = [&](int top, const QColor& color) {
        QLabel* label = MakeLabel(Panel3, kMemoryDesignText, 286, top, memoryFont, color);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    Label8 =
        MakeLabel(Panel3, QStringLiteral("Phys. Windows - Speicher:"), 8, 52, memoryFont, kMaroon);
    lblMemory = valueLabel(52, kMaroon);
    Label10 = MakeLabel(Panel3, QStringLiteral("Verfügb. Phys.  Windows - Speicher:"), 8, 72,
                        memoryFont, kPurple);
    lblMemoryAvail = valueLabel(72, kPurple);
    Label9 = MakeLabel(Panel3, QStringLiteral("Auslagerungsspeicher:"), 8, 106, memoryFont,
                       kPageFileBlue);
    lblPageMemory = valueLabel(106, kPageFileBlue);
    Label11 = MakeLabel(Panel3, QStringLiteral("Verfügbarer Auslagerungsspeicher:"), 8, 126,
                        memoryFont, kPageFileGreen);
    lblPageMemoryAvail = valueLabel(126, kPageFileGreen);
}

void TfrmInfo::BuildHistoryTab() {
    rtfHistorie = new QTextEdit(tsHistorie);
    rtfHistorie->setGeometry(platform::PxRect(16, 16, 505, 393));
    rtfHistorie->setReadOnly(true);
    rtfHistorie->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rtfHistorie->setFont(DesignPixelFont(kSansSerif, 13));
    SetTextColor(rtfHistorie, kHistoryBlue);
    rtfHistorie->setPlainText(QStringLiteral("rtfHistorie"));
}

void TfrmInfo::FormCreate() {
    sbtnHomepage->setText(QStringLiteral("© 2024 Kalvero · ") + MakerSite().host());
    LoadHistoryFile(*rtfHistorie, exeFolder_ + kHistoryFileName);
}

void TfrmInfo::FormActivate() {
    TMemoryStatusEx status = {};
    status.dwLength = sizeof status;
    if (!memoryQuery_(status)) RaiseLastOSError();

    uint16_t major = 0, minor = 0, release = 0, build = 0;
    GetFileVersionNumbers(versionFile_, major, minor, release, build);
    const QString version =
        QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);

    PageControl2->setCurrentWidget(tsAllgemeines);
    SetLabelText(lblVersion, version);
    SetLabelText(lblOS, GetWindowsVersionName(true, true, true, false));

    memoryQuery_(status);
    SetRightAlignedLabelText(lblMemory, MemoryKBText(status.ullTotalPhys));
    SetRightAlignedLabelText(lblMemoryAvail, MemoryKBText(status.ullAvailPhys));
    SetRightAlignedLabelText(lblPageMemory, MemoryKBText(status.ullTotalPageFile));
    SetRightAlignedLabelText(lblPageMemoryAvail, MemoryKBText(status.ullAvailPageFile));
}

void TfrmInfo::BitBtnOKClick() { close(); }

void TfrmInfo::BitBtnSysClick() {
    if (const auto tool = FindSystemInfoTool()) {
        platform::Ui().startProgram(tool->program, tool->arguments);
    }
}

void TfrmInfo::shellExecClick(QObject* sender) {
    QUrl target;
    if (sender == sbtnHomepage) target = MakerSite();
    if (sender == sbtnGroundspeak) target = GroundspeakSite();
    if (target.isEmpty()) return;
    ShowShellExecuteError(this, ShellOpenUrl(target));
    BitBtnOK->setFocus();
}

void TfrmInfo::CenterOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
}

void TfrmInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    CenterOnScreen();
    try {
        FormActivate();
    } catch (const std::exception& failure) {
        failureHandler_(this, failure);
    }
}
