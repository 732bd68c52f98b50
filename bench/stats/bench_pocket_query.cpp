// Load plus analysis of a big "My Finds" pocket query, and the main window's filling of its
// three panes. The query (100,000 finds, about 5 million lines) is written once by the
// example generator into $KALVERO_BENCH_GPX or /tmp/kalvero-bench-100k.gpx.
//
// Counters: bytes_per_second for load plus analysis; peak_rss_per_file_size is the process's
// peak resident memory divided by the file size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <cstdlib>

#include "app/Main_Unit.h"
#include "stats/ProcessStringList.h"
#include "stats/RecordedFindsView.h"

namespace {

QString BenchFile() {
    const char* env = std::getenv("KALVERO_BENCH_GPX");
    const QString path = env ? QString::fromLocal8Bit(env) : QStringLiteral("/tmp/kalvero-bench-100k.gpx");
    if (!QFileInfo::exists(path)) {
        const std::string cmd = std::string("python3 '") + KALVERO_GENERATOR + "' --finds 100000 --out '" +
                                path.toStdString() + "'";
        if (std::system(cmd.c_str()) != 0) std::abort();
    }
    return path;
}

double PeakRssBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

void BM_LoadAndAnalyse(benchmark::State& state) {
    const QString path = BenchFile();
    const double size = static_cast<double>(QFileInfo(path).size());
    int64_t finds = 0;
    for (auto _ : state) {
        TLineList lines;
        lines.LoadFromFile(path);
        TRecordedFindsView view;
        TFindsState finds_state;
        ProcessStringList(view, finds_state, lines);
        finds = view.Label(TFindsLabel::Caches).value_or(QString()).toLongLong();
        benchmark::DoNotOptimize(finds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
    state.counters["finds"] = static_cast<double>(finds);
    state.counters["peak_rss_per_file_size"] = PeakRssBytes() / size;
}
BENCHMARK(BM_LoadAndAnalyse)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowFillsPanes(benchmark::State& state) {
    TLineList lines;
    lines.LoadFromFile(BenchFile());
    TRecordedFindsView recorded;
    TFindsState finds_state;
    ProcessStringList(recorded, finds_state, lines);
    QString dates;
    for (const TPaneLine& line : recorded.Pane(TFindsPane::Dates)) dates += line.text + QStringLiteral("\r\n");

    TGlobalUnit global;
    TfrmMain window(global);
    window.FormCreate();
    for (auto _ : state) {
        window.ClearPanes();
        window.SetPaneText(TFindsPane::Dates, dates);
        for (const TPaneLine& line : recorded.Pane(TFindsPane::Days)) window.AppendLine(TFindsPane::Days, line.text);
        for (const TPaneLine& line : recorded.Pane(TFindsPane::Histogram)) {
            if (line.color) {
                window.AppendColoredLine(TFindsPane::Histogram, line.text, *line.color);
            } else {
                window.AppendLine(TFindsPane::Histogram, line.text);
            }
        }
        QCoreApplication::processEvents();
    }
    state.counters["date_lines"] = static_cast<double>(recorded.Pane(TFindsPane::Dates).size());
    state.counters["day_lines"] = static_cast<double>(recorded.Pane(TFindsPane::Days).size());
    state.counters["histogram_lines"] = static_cast<double>(recorded.Pane(TFindsPane::Histogram).size());
}
BENCHMARK(BM_WindowFillsPanes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
