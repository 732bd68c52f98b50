#include "ProcessStringList.h"

#include "DayTally.h"
#include "PocketQueryScan.h"
#include "SortedDateList.h"

namespace {

constexpr qsizetype kPhraseLine = 2;
constexpr qsizetype kFirstScannedLine = 9;

void ScanLines(IFindsView& view, TFindsState& st, const TLineList& lines, TSortedDateList& dates) {
    const qsizetype n = lines.Count();
    for (qsizetype i = kFirstScannedLine; i < n; ++i) {
        const std::string_view line = lines.Utf8Line(i);
        if (st.CacherSuchen && IsFinderLine(line)) {
            const TFinder finder = ExtractFinder(lines.Line(i));
            st.CacherID = finder.id;
            st.CacherName = finder.name;
            st.CacherSuchen = false;
            view.SetLabel(TFindsLabel::Cacher, st.CacherID + QStringLiteral(" - ") + st.CacherName);
            view.ProcessPendingMessages();
        }
        if (i + 1 < n && IsDateLine(line) && IsCountedLogType(lines.Utf8Line(i + 1))) {
            dates.Add(ExtractDay(lines.Line(i)));
        }
    }
}

QString JoinWithCrLf(const std::vector<QString>& dates) {
    qsizetype size = 0;
    for (const QString& d : dates) size += d.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString& d : dates) {
        text += d;
        text += QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace

void ProcessStringList(IFindsView& view, TFindsState& st, const TLineList& strListe) {
    st.CacherSuchen = true;
    TSortedDateList datumListe;
    const qsizetype n = strListe.Count();
    if (n == 0) return;

    view.SetLabel(TFindsLabel::AnzZeilen, QString::number(n));
    if (n < 3 || !ContainsMyFindsPhrase(strListe.Utf8Line(kPhraseLine))) {
        view.ShowRefusal(kRefusalText.toString());
        return;
    }
    view.SetLabel(TFindsLabel::PQ, QString(kMyFindsPhrase));

    ScanLines(view, st, strListe, datumListe);
    const auto anzFunde = static_cast<int32_t>(datumListe.Count());
    const std::vector<QString>& sorted = datumListe.Sorted();
    view.SetPaneText(TFindsPane::Dates, JoinWithCrLf(sorted));
    view.SetLabel(TFindsLabel::Caches, QString::number(anzFunde));

    TallyDays(view, st, sorted);
}
