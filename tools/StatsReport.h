#pragma once
// What kalvero-stats prints: the window's counters and panes as text, or one JSON object.
#include <QString>

#include "StatsToolView.h"
#include "stats/LineList.h"
#include "stats/StatsTypes.h"

struct TStatsResult {
    QString file;
    const TLineList* lines = nullptr;
    const TStatsToolView* view = nullptr;
    const TFindsState* state = nullptr;
};

// Counters with their German labels, then the three panes under headings. With `color`,
// the lines the window shows in red bold are printed red and bold.
QString FormatText(const TStatsResult& result, bool color);
// One JSON object (UTF-8 text, one line).
QString FormatJson(const TStatsResult& result);
