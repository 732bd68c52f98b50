#include "OpenFlow.h"

#include <cmath>

#include "platform/host_path.h"
#include "stats/ProcessStringList.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"

QString GpxNameFor(const QString& path) {
    QString name = QString::fromStdString(platform::ExtractFileName(path.toStdString()));
    return name.replace(QStringLiteral(".zip"), QStringLiteral(".gpx"), Qt::CaseInsensitive);
}

bool IsZipExtension(const QString& path) {
    return platform::ExtractFileExt(path.toStdString()) == ".zip";
}

int GaugePercent(double progress) { return static_cast<int>(std::trunc(progress)); }

TFileOpenFlow::TFileOpenFlow(TGlobalUnit& global, IOpenFlowView& view, TZipArchiver& archiver)
    : global_(global), view_(view), archiver_(archiver) {
    archiver_.OnOverallProgress = [this](TZABaseArchiver*, double progress, TZAProcessOperation,
                                         TZAProgressPhase, bool&) {
        ArchiverOverallProgress(progress);
    };
    archiver_.OnFileProgress = [this](TZABaseArchiver*, const ZAString&, double,
                                      TZAProcessOperation, TZAProgressPhase,
                                      bool&) { ArchiverFileProgress(); };
}

void TFileOpenFlow::Accept(const QString& path) {
    global_.DateiName = path;
    global_.GpxName = GpxNameFor(path);
    view_.ClearPanes();
    if (IsZipExtension(path)) {
        ExtractZip();
    } else {
        global_.GpxZeilen.LoadFromFile(global_.DateiName);
        view_.SetProgress(100);
    }
    ProcessStringList(view_, global_.Finds, global_.GpxZeilen);
}

void TFileOpenFlow::ExtractZip() {
    if (global_.DateiName.isEmpty()) return;
    view_.ShowProgressGauge();
    struct ExtractingScope {
        bool& flag;
        explicit ExtractingScope(bool& f) : flag(f) { flag = true; }
        ~ExtractingScope() { flag = false; }
    } scope(extracting_);

    TZAMemoryStream stream;
    archiver_.SetFileName(global_.DateiName.toStdU16String());
    archiver_.OpenArchive();
    archiver_.ExtractToStream(global_.GpxName.toStdU16String(), stream);
    archiver_.CloseArchive();
    stream.SetPosition(0);
    const auto from = static_cast<size_t>(stream.Position());
    global_.GpxZeilen.LoadFromUtf8(stream.TakeBuffer(), from);
}

void TFileOpenFlow::ArchiverOverallProgress(double progress) {
    view_.SetProgress(GaugePercent(progress));
    view_.ProcessPendingMessages();
}

void TFileOpenFlow::ArchiverFileProgress() { view_.ProcessPendingMessages(); }
