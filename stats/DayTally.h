#pragma once
// Second half of the analysis: finds per day and the histogram of finds per day.
#include <vector>

#include "FindsView.h"
#include "StatsTypes.h"

// Groups the sorted dates into TagesListe (growing it by doubling as needed), builds
// MengenListe and AnzBelegt, and writes the second and third panes and the "Tage:" counter.
void TallyDays(IFindsView& view, TFindsState& state, const std::vector<QString>& sortedDates);
