#pragma once
// The information window: the program's version, the running system, the memory figures, the
// version history and links to the maker's and Groundspeak's web sites.
#include <QDialog>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "hfunctions.h"

class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QWidget;

// A byte count as whole kilobytes, rounded to the nearest, grouped by `locale`, with " KB":
// 64 MiB reads "65.536 KB" in German.
QString MemoryKBText(uint64_t bytes, const QLocale& locale = QLocale());

class TfrmInfo : public QDialog {
    Q_OBJECT

public:
    using MemoryQuery = std::function<bool(TMemoryStatusEx&)>;
    using FailureHandler = std::function<void(QWidget* window, const std::exception& failure)>;

    explicit TfrmInfo(QWidget* parent = nullptr);

    // Runs once after construction: sets the maker's link caption, then loads the history
    // file from the program's folder. Throws platform::HostError (a std::runtime_error) when
    // the history cannot be read; the history tab then keeps its design text.
    void FormCreate();

    // Runs each time the window is shown: refreshes the version, the system line and the
    // memory figures and turns to the "Allgemeines" tab. Throws std::runtime_error with the
    // operating-system failure text when the memory status cannot be read; the labels then
    // stay as they were.
    void FormActivate();

    void BitBtnOKClick();
    void BitBtnSysClick();
    // Shared by the two link buttons; `sender` chooses the site.
    void shellExecClick(QObject* sender);

    // The folder that holds the history file, ending with '/'. Default: the executable's.
    void SetExeFolder(const std::string& folder) { exeFolder_ = folder; }
    const std::string& ExeFolder() const { return exeFolder_; }
    // The file whose version block is shown. Default: the running executable.
    void SetVersionFile(const QString& file) { versionFile_ = file; }
    // The memory figures' source. Default: QueryMemoryStatus.
    void SetMemoryQuery(MemoryQuery query) { memoryQuery_ = std::move(query); }
    // Receives a failure of the activation refresh, which a show event cannot pass on.
    // Default: an error box with the application title.
    void SetFailureHandler(FailureHandler handler) { failureHandler_ = std::move(handler); }

    static const QUrl& MakerSite();
    static const QUrl& GroundspeakSite();

    QPushButton* BitBtnOK = nullptr;
    QPushButton* BitBtnSys = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QWidget* tsAllgemeines = nullptr;
    QWidget* tsHistorie = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblV = nullptr;
    QLabel* lblVersion = nullptr;
    QToolButton* sbtnHomepage = nullptr;
    QFrame* Bevel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* lblOS = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lblMemory = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblMemoryAvail = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblPageMemory = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* lblPageMemoryAvail = nullptr;
    QToolButton* sbtnGroundspeak = nullptr;
    QTextEdit* rtfHistorie = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildGeneralTab();
    void BuildSystemPanel();
    void BuildHistoryTab();
    void BuildButtons();
    void CenterOnScreen();

    std::string exeFolder_;
    QString versionFile_;
    MemoryQuery memoryQuery_;
    FailureHandler failureHandler_;
};
