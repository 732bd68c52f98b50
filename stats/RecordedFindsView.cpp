#include "RecordedFindsView.h"

void TRecordedFindsView::SetPaneText(TFindsPane pane, const QString& text) {
    std::vector<TPaneLine>& lines = panes[pane];
    lines.clear();
    // The text holds one line per CR LF; a last line without a break counts too.
    lines.reserve(static_cast<size_t>(text.count(QStringLiteral("\r\n"))) + 1);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QStringLiteral("\r\n"), start);
        if (end < 0) end = text.size();
        lines.push_back({text.mid(start, end - start), std::nullopt});
        start = end + 2;
    }
}

void TRecordedFindsView::AppendLine(TFindsPane pane, const QString& text) {
    panes[pane].push_back({text, std::nullopt});
}

void TRecordedFindsView::AppendColoredLine(TFindsPane pane, const QString& text, int color) {
    panes[pane].push_back({text, color});
}

std::optional<QString> TRecordedFindsView::Label(TFindsLabel label) const {
    const auto it = labels.find(label);
    if (it == labels.end()) return std::nullopt;
    return it->second;
}

const std::vector<TPaneLine>& TRecordedFindsView::Pane(TFindsPane pane) const {
    static const std::vector<TPaneLine> empty;
    const auto it = panes.find(pane);
    return it == panes.end() ? empty : it->second;
}
