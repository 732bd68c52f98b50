#include "DayTally.h"

#include "ProcessStringList.h"

namespace {

void GroupDays(TFindsState& st, const std::vector<QString>& dates) {
    const auto d = static_cast<int32_t>(dates.size());
    st.AnzTage = 0;
    st.AnzGleich = 1;
    st.MaxAnzahl = 0;
    int32_t i = 0;
    while (i < d) {
        TDatum& day = st.TagesListe[static_cast<size_t>(st.AnzTage)];
        day.Datum = dates[static_cast<size_t>(i)];
        st.AnzGleich = 1;
        while (i + st.AnzGleich < d && dates[static_cast<size_t>(i + st.AnzGleich)] == day.Datum) {
            ++st.AnzGleich;
        }
        day.Anzahl = st.AnzGleich;
        if (st.AnzGleich > st.MaxAnzahl) st.MaxAnzahl = st.AnzGleich;
        ++st.AnzTage;
        if (st.AnzTage == st.TagesKapazitaet) {
            st.TagesKapazitaet *= 2;
            st.TagesListe.resize(static_cast<size_t>(st.TagesKapazitaet));
        }
        i += st.AnzGleich;
    }
    st.AnzGleich = 1;
}

void BuildHistogram(TFindsState& st) {
    st.AnzBelegt = 0;
    // One pass over the days counts every N at once; the rows come out as counting the days
    // for each N in turn would give them.
    st.MengenListe.assign(static_cast<size_t>(st.MaxAnzahl), TMenge{});
    for (int32_t k = 0; k < st.AnzTage; ++k) {
        ++st.MengenListe[static_cast<size_t>(st.TagesListe[static_cast<size_t>(k)].Anzahl - 1)].Anzahl;
    }
    for (int32_t n = 1; n <= st.MaxAnzahl; ++n) {
        TMenge& row = st.MengenListe[static_cast<size_t>(n - 1)];
        row.CacheProTag = n;
        if (row.Anzahl > 0) ++st.AnzBelegt;
    }
}

}  // namespace

void TallyDays(IFindsView& view, TFindsState& st, const std::vector<QString>& sortedDates) {
    GroupDays(st, sortedDates);
    for (int32_t k = 0; k < st.AnzTage; ++k) {
        const TDatum& day = st.TagesListe[static_cast<size_t>(k)];
        view.AppendLine(TFindsPane::Days, day.Datum + u'\t' + QString::number(day.Anzahl));
    }

    BuildHistogram(st);
    view.SetLabel(TFindsLabel::Tage, QString::number(st.AnzBelegt));
    for (const TMenge& row : st.MengenListe) {
        if (row.Anzahl > 0) {
            view.AppendLine(TFindsPane::Histogram,
                            QString::number(row.CacheProTag) + u'\t' + QString::number(row.Anzahl));
        } else {
            view.AppendColoredLine(TFindsPane::Histogram, QString::number(row.CacheProTag), kGapColor);
        }
    }
}
