#pragma once
// The file-open flow: a confirmed file name is loaded into the shared lines, straight from the
// file or, for a ".zip", from the archive entry named like the archive, and then analysed.
// The main window and the command-line tool run the same flow through their own views.
#include <QString>

#include "Global_Unit.h"
#include "stats/FindsView.h"

class TZipArchiver;
class TZABaseArchiver;

// What the flow needs of the window besides the analysis' labels and panes.
class IOpenFlowView : public IFindsView {
public:
    virtual void ClearPanes() = 0;
    // The progress gauge: shown with the first archive, then never hidden again.
    virtual void ShowProgressGauge() = 0;
    // The gauge's percentage; values outside 0..100 are clamped.
    virtual void SetProgress(int percent) = 0;
};

// The archive entry looked for: the file name with every ".zip", in any letter case, turned
// into ".gpx".
QString GpxNameFor(const QString& path);
// True when the file's extension is exactly ".zip" (letter case included).
bool IsZipExtension(const QString& path);
// The gauge value for a progress percentage: truncated toward zero.
int GaugePercent(double progress);

class TFileOpenFlow {
public:
    // Installs the progress handlers on `archiver`, which must outlive the flow.
    TFileOpenFlow(TGlobalUnit& global, IOpenFlowView& view, TZipArchiver& archiver);

    // The confirmed dialog: names, empty panes, load, analysis. A failing load throws and
    // the analysis does not run.
    void Accept(const QString& path);
    // Fills the shared lines from the entry GpxName of the archive DateiName.
    void ExtractZip();
    // True while an archive is being extracted.
    bool Extracting() const { return extracting_; }

private:
    void ArchiverOverallProgress(double progress);
    void ArchiverFileProgress();

    TGlobalUnit& global_;
    IOpenFlowView& view_;
    TZipArchiver& archiver_;
    bool extracting_ = false;
};
