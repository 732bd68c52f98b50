#pragma once
// The analysis of a loaded pocket query: recognition, finder, find dates (first pane), finds
// per day (second pane) and the histogram of finds per day (third pane).
#include "FindsView.h"
#include "LineList.h"
#include "StatsTypes.h"

inline constexpr int kGapColor = 255;  // red, for an N that no day reached

void ProcessStringList(IFindsView& view, TFindsState& state, const TLineList& strListe);
