#include "Main_Unit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStyle>
#include <QTabWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "AnchorLayout.h"
#include "BusyCursor.h"
#include "ErrorText.h"
#include "Gauge.h"
#include "RichPane.h"
#include "platform/ui_design.h"
#include "platform/ui_host.h"

namespace {

constexpr int kClientWidth = 662;
constexpr int kClientHeight = 749;
// Outer minimum height less the frame and caption Windows draws around the client at 120 ppi.
constexpr int kMinClientHeight = 737 - 18 - 29;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QColor kDarkRed(215, 0, 0);

// The widest value of a pane's first column: a day (yyyy-mm-dd), or a number of finds on one
// day in the histogram.
const QString kWidestDay = QStringLiteral("0000-00-00");
const QString kWidestFindsPerDay = QStringLiteral("00000");

QLabel* MakeLabel(const QString& text, QWidget* parent, const QColor* color = nullptr,
                  bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (color) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, *color);
        label->setPalette(p);
    }
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

QPlainTextEdit* MakePane(QWidget* parent, const QColor& background) {
    auto* pane = new QPlainTextEdit(parent);
    QPalette p = pane->palette();
    p.setColor(QPalette::Base, background);
    pane->setPalette(p);
    pane->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10));
    pane->document()->setDefaultFont(pane->font());
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    return pane;
}

}  // namespace

void ShowStandardErrorBox(QWidget* parent, const QString& message) {
    platform::Ui().messageBox(parent, ApplicationTitle(), WithFullStop(message),
                              platform::MessageIcon::Error, QMessageBox::Ok, QMessageBox::Ok);
}

void RunHandler(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowStandardErrorBox(parent, QString::fromUtf8(e.what()));
    }
}

TfrmMain::TfrmMain(TGlobalUnit& global, QWidget* parent)
    : QMainWindow(parent), Archiver(nullptr), global_(global) {
    Archiver.SetName(u"Archiver");
    flow_ = std::make_unique<TFileOpenFlow>(global_, *this, Archiver);
    setWindowTitle(QStringLiteral("Anzahl Kalvero"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10));
    setAcceptDrops(true);
    BuildActions();
    BuildControls();
    setFixedWidth(platform::Px(kClientWidth));
    setMinimumHeight(platform::Px(kMinClientHeight));
    resize(platform::Px(kClientWidth), menuBar()->sizeHint().height() + platform::Px(kClientHeight));
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildActions() {
    QStyle* st = style();
    FileOpen1 = new QAction(st->standardIcon(QStyle::SP_DialogOpenButton),
                            QStringLiteral("Ö&ffnen..."), this);
    FileOpen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpen1->setStatusTip(QStringLiteral("Vorhandene Datei öffnen"));
    FileOpen1->setToolTip(QStringLiteral("Öffnen"));
    connect(FileOpen1, &QAction::triggered, this, [this] { FileOpen1Execute(); });

    FileExit1 = new QAction(st->standardIcon(QStyle::SP_DialogCloseButton),
                            QStringLiteral("&Beenden"), this);
    FileExit1->setStatusTip(QStringLiteral("Anwendung beenden"));
    FileExit1->setToolTip(QStringLiteral("Beenden"));
    connect(FileExit1, &QAction::triggered, this, &QWidget::close);

    actinfo = new QAction(st->standardIcon(QStyle::SP_MessageBoxInformation),
                          QStringLiteral("Info"), this);
    connect(actinfo, &QAction::triggered, this, [this] { RunHandler(this, [this] { actinfoExecute(); }); });

    QMenu* datei = menuBar()->addMenu(QStringLiteral("Datei"));
    datei->addAction(FileOpen1);
    datei->addSeparator();
    datei->addAction(FileExit1);
    QMenu* extras = menuBar()->addMenu(QStringLiteral("Extras"));
    extras->addAction(actinfo);
}

void TfrmMain::BuildControls() {
    using A = TAnchorLayout;
    auto* client = new QWidget(this);
    auto* layout = new TAnchorLayout(client, QSize(kClientWidth, kClientHeight));
    setCentralWidget(client);

    GroupBox1 = new QGroupBox(client);
    auto* box = new TAnchorLayout(GroupBox1, QSize(646, 57));
    Label1 = MakeLabel(QStringLiteral("Anzahl Zeilen:"), GroupBox1);
    lblAnzZeilen = MakeLabel(QString(), GroupBox1, &kRed);
    lblPQ = MakeLabel(QString(), GroupBox1, &kGreen);
    Label2 = MakeLabel(QStringLiteral("Caches:"), GroupBox1, &kBlue);
    lblCaches = MakeLabel(QString(), GroupBox1, &kBlue);
    lblCacher = MakeLabel(QString(), GroupBox1, &kPurple);
    pbProgress = new TGauge(GroupBox1);
    box->Place(Label1, QRect(7, 3, 0, 0));
    box->Place(lblAnzZeilen, QRect(119, 3, 0, 0));
    box->Place(lblPQ, QRect(232, 3, 0, 0));
    box->Place(Label2, QRect(487, 3, 0, 0));
    box->Place(lblCaches, QRect(566, 3, 0, 0));
    box->Place(lblCacher, QRect(7, 30, 0, 0));
    box->Place(pbProgress, QRect(487, 34, 150, 17));
    for (QWidget* hidden : {static_cast<QWidget*>(lblAnzZeilen), static_cast<QWidget*>(lblPQ),
                            static_cast<QWidget*>(lblCaches), static_cast<QWidget*>(lblCacher),
                            static_cast<QWidget*>(pbProgress)}) {
        hidden->setVisible(false);
    }

    PageControl1 = new QTabWidget(client);
    TabSheet1 = new QWidget();
    auto* sheet = new TAnchorLayout(TabSheet1, QSize(638, 615));
    Label3 = MakeLabel(QStringLiteral("Tage:"), TabSheet1, &kDarkRed, true);
    lblTage = MakeLabel(QString(), TabSheet1, &kDarkRed, true);
    lblTage->setVisible(false);
    RichEdit1 = MakePane(TabSheet1, QColor(255, 230, 230));
    RichEdit2 = MakePane(TabSheet1, QColor(230, 255, 230));
    RichEdit3 = MakePane(TabSheet1, QColor(223, 255, 255));
    SetColumnTabStop(RichEdit1, kWidestDay);
    SetColumnTabStop(RichEdit2, kWidestDay);
    SetColumnTabStop(RichEdit3, kWidestFindsPerDay);
    for (QPlainTextEdit* pane : {RichEdit1, RichEdit2, RichEdit3}) pane->viewport()->installEventFilter(this);
    sheet->Place(Label3, QRect(467, 5, 0, 0));
    sheet->Place(lblTage, QRect(520, 5, 0, 0));
    const int panes = A::Left | A::Top | A::Bottom;
    sheet->Place(RichEdit1, QRect(11, 32, 190, 558), panes);
    sheet->Place(RichEdit2, QRect(236, 32, 197, 558), panes);
    sheet->Place(RichEdit3, QRect(467, 32, 158, 558), panes);
    PageControl1->addTab(TabSheet1, QStringLiteral("Caches"));

    layout->Place(GroupBox1, QRect(8, 12, 646, 57));
    layout->Place(PageControl1, QRect(8, 79, 646, 646), A::Left | A::Top | A::Right | A::Bottom);
}

void TfrmMain::FormCreate() {
    RichEdit1->clear();
    RichEdit2->clear();
    RichEdit3->clear();
    global_.Finds.TagesKapazitaet = 1;
    global_.Finds.TagesListe.resize(1);
    global_.Finds.MengenListe.resize(static_cast<size_t>(global_.Finds.TagesKapazitaet));
}

void TfrmMain::FileOpen1BeforeExecute() {
    openFilter_ = QStringLiteral("ZIP-Datei|*.zip|GPX-Datei|*.gpx|Alle Dateien|*.*");
}

void TfrmMain::FileOpen1Execute() {
    if (flow_->Extracting()) return;
    std::optional<QString> chosen;
    RunHandler(this, [&] {
        FileOpen1BeforeExecute();
        chosen = platform::Ui().openFileName(this, openFilter_);
    });
    if (chosen) OpenChosenFile(*chosen);
}

void TfrmMain::OpenChosenFile(const QString& fileName) {
    if (flow_->Extracting()) return;
    RunHandler(this, [&] { FileOpen1Accept(fileName); });
    if (closeRequested_) QTimer::singleShot(0, this, &QWidget::close);
}

void TfrmMain::FileOpen1Accept(const QString& fileName) {
    // Busy from the start of the load until the panes hold their lines; restored on every
    // way out, before a failure reaches the error box.
    TBusyCursor busy;
    struct PaneWritesEnd {
        TfrmMain* window;
        ~PaneWritesEnd() { window->FinishPaneWrites(); }
    } end{this};
    flow_->Accept(fileName);
}

TPaneWriter& TfrmMain::WriterOf(TFindsPane pane) {
    std::unique_ptr<TPaneWriter>& writer = paneWriters_[pane];
    if (!writer) writer = std::make_unique<TPaneWriter>(PaneOf(pane));
    return *writer;
}

void TfrmMain::FinishPaneWrites() { paneWriters_.clear(); }

void TfrmMain::actinfoExecute() {
    if (flow_->Extracting() || !frmInfo_) return;
    frmInfo_->exec();
}

std::optional<QString> TfrmMain::DroppedFile(const QDropEvent& event) const {
    const QMimeData* mime = event.mimeData();
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return std::nullopt;
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile()) return std::nullopt;
    return url.toLocalFile();
}

// One local file dragged onto the window or a pane is taken in; a drop opens it once the drop
// has ended, as if it had been chosen in the open dialog.
bool TfrmMain::HandleFileDrag(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drag = static_cast<QDropEvent*>(event);
    const std::optional<QString> file = DroppedFile(*drag);
    if (!file) return false;
    if (flow_->Extracting()) {
        drag->ignore();
        return true;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, this, [this, path = *file] { OpenChosenFile(path); });
    }
    return true;
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (HandleFileDrag(event)) return true;
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // An extraction in progress runs to its end first; the window closes right after it.
    if (flow_->Extracting()) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

QPlainTextEdit* TfrmMain::PaneOf(TFindsPane pane) const {
    switch (pane) {
        case TFindsPane::Dates: return RichEdit1;
        case TFindsPane::Days: return RichEdit2;
        case TFindsPane::Histogram: return RichEdit3;
    }
    return RichEdit1;
}

QLabel* TfrmMain::LabelOf(TFindsLabel label) const {
    switch (label) {
        case TFindsLabel::AnzZeilen: return lblAnzZeilen;
        case TFindsLabel::PQ: return lblPQ;
        case TFindsLabel::Cacher: return lblCacher;
        case TFindsLabel::Caches: return lblCaches;
        case TFindsLabel::Tage: return lblTage;
    }
    return lblAnzZeilen;
}

void TfrmMain::SetLabel(TFindsLabel label, const QString& text) {
    QLabel* l = LabelOf(label);
    l->setText(text);
    l->adjustSize();
    l->setVisible(true);
}

void TfrmMain::SetPaneText(TFindsPane pane, const QString& text) {
    paneWriters_.erase(pane);
    ::SetPaneText(PaneOf(pane), text);
}

void TfrmMain::AppendLine(TFindsPane pane, const QString& text) { WriterOf(pane).AppendLine(text); }

void TfrmMain::AppendColoredLine(TFindsPane pane, const QString& text, int color) {
    WriterOf(pane).AppendColoredLine(text, color);
}

void TfrmMain::ShowRefusal(const QString& text) {
    TArrowCursorWhileAsking asking;
    platform::Ui().messageBox(this, QStringLiteral("Fehler"), text, platform::MessageIcon::Error,
                              QMessageBox::Ok, QMessageBox::Ok);
}

void TfrmMain::ProcessPendingMessages() {
    FinishPaneWrites();
    QCoreApplication::processEvents();
}

void TfrmMain::ClearPanes() {
    FinishPaneWrites();
    RichEdit1->clear();
    RichEdit2->clear();
    RichEdit3->clear();
}

void TfrmMain::ShowProgressGauge() { pbProgress->setVisible(true); }

void TfrmMain::SetProgress(int percent) { pbProgress->setValue(std::clamp(percent, 0, 100)); }
