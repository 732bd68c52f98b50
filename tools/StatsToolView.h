#pragma once
// The command-line tool's side of the file-open flow: it records what the analysis shows,
// like the window would show it, for printing afterwards.
#include "app/OpenFlow.h"
#include "stats/RecordedFindsView.h"

class TStatsToolView : public IOpenFlowView {
public:
    void SetLabel(TFindsLabel label, const QString& text) override { shown.SetLabel(label, text); }
    void SetPaneText(TFindsPane pane, const QString& text) override { shown.SetPaneText(pane, text); }
    void AppendLine(TFindsPane pane, const QString& text) override { shown.AppendLine(pane, text); }
    void AppendColoredLine(TFindsPane pane, const QString& text, int color) override {
        shown.AppendColoredLine(pane, text, color);
    }
    void ShowRefusal(const QString& text) override { shown.ShowRefusal(text); }
    void ProcessPendingMessages() override {}
    void ClearPanes() override { shown.panes.clear(); }
    void ShowProgressGauge() override {}
    void SetProgress(int) override {}

    TRecordedFindsView shown;
};
