#pragma once
// A finds view that keeps what the analysis wrote, for the command-line tool and the tests.
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "FindsView.h"

struct TPaneLine {
    QString text;
    std::optional<int> color;  // set for lines written in colour and bold
    bool operator==(const TPaneLine&) const = default;
};

class TRecordedFindsView : public IFindsView {
public:
    void SetLabel(TFindsLabel label, const QString& text) override { labels[label] = text; }
    void SetPaneText(TFindsPane pane, const QString& text) override;
    void AppendLine(TFindsPane pane, const QString& text) override;
    void AppendColoredLine(TFindsPane pane, const QString& text, int color) override;
    void ShowRefusal(const QString& text) override { refusals.push_back(text); }
    void ProcessPendingMessages() override { ++pendingMessagePoints; }

    // The label's text, or no value while the analysis never set it.
    std::optional<QString> Label(TFindsLabel label) const;
    const std::vector<TPaneLine>& Pane(TFindsPane pane) const;

    std::map<TFindsLabel, QString> labels;
    std::map<TFindsPane, std::vector<TPaneLine>> panes;
    std::vector<QString> refusals;
    int pendingMessagePoints = 0;
};
