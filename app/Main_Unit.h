#pragma once
// The main window: counters, the three result panes, the menu with its actions and the
// progress gauge, and the file-open flow behind them.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "Global_Unit.h"
#include "OpenFlow.h"
#include "RichPane.h"
#include "zip/ZipArchiver.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QDialog;
class QGroupBox;
class QLabel;
class QProgressBar;
class QTabWidget;
class QPlainTextEdit;

class TfrmMain : public QMainWindow, public IOpenFlowView {
    Q_OBJECT

public:
    explicit TfrmMain(TGlobalUnit& global = Global(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The information window shown by the Info action (not owned).
    void SetInfoWindow(QDialog* frmInfo) { frmInfo_ = frmInfo; }

    // Handlers of the window; each shows a failure that leaves it in the standard error box.
    void FormCreate();
    void FileOpen1BeforeExecute();
    void FileOpen1Accept(const QString& fileName);
    // Opens `fileName` exactly as if it had been chosen in the open dialog: the program's
    // command-line file and a file dropped on the window come this way.
    void OpenChosenFile(const QString& fileName);
    void actinfoExecute();

    // IOpenFlowView
    void SetLabel(TFindsLabel label, const QString& text) override;
    void SetPaneText(TFindsPane pane, const QString& text) override;
    void AppendLine(TFindsPane pane, const QString& text) override;
    void AppendColoredLine(TFindsPane pane, const QString& text, int color) override;
    void ShowRefusal(const QString& text) override;
    void ProcessPendingMessages() override;
    void ClearPanes() override;
    void ShowProgressGauge() override;
    void SetProgress(int percent) override;

    // Controls, named as in the window's design.
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* lblAnzZeilen;
    QLabel* lblPQ;
    QLabel* Label2;
    QLabel* lblCaches;
    QLabel* lblCacher;
    QProgressBar* pbProgress;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QLabel* Label3;
    QLabel* lblTage;
    QPlainTextEdit* RichEdit1;
    QPlainTextEdit* RichEdit2;
    QPlainTextEdit* RichEdit3;
    QAction* FileOpen1;
    QAction* FileExit1;
    QAction* actinfo;
    TZipArchiver Archiver;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Takes file drags from the panes, which would otherwise insert the file's name as text.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildActions();
    void FileOpen1Execute();
    // The one local file a drag carries, if it carries exactly one.
    std::optional<QString> DroppedFile(const QDropEvent& event) const;
    // Accepts or refuses a drag of a file and opens a dropped one; false for other events
    // and other drags.
    bool HandleFileDrag(QEvent* event);
    QPlainTextEdit* PaneOf(TFindsPane pane) const;
    QLabel* LabelOf(TFindsLabel label) const;
    TPaneWriter& WriterOf(TFindsPane pane);
    // Ends the open pane edits, so the panes lay out what was appended.
    void FinishPaneWrites();

    TGlobalUnit& global_;
    std::unique_ptr<TFileOpenFlow> flow_;
    std::map<TFindsPane, std::unique_ptr<TPaneWriter>> paneWriters_;
    QString openFilter_;
    QDialog* frmInfo_ = nullptr;
    bool closeRequested_ = false;
};

// Runs `handler`; a failure that leaves it is shown in the standard error box.
void RunHandler(QWidget* parent, const std::function<void()>& handler);
// The standard error box: error icon, one "OK", the application title as caption.
void ShowStandardErrorBox(QWidget* parent, const QString& message);
