#include "ProcessStringList.h"

#include "DayTally.h"
#include "PocketQueryScan.h"
#include "SortedDateList.h"

namespace {

constexpr qsizetype kPhraseLine = 2;
constexpr qsizetype kFirstScannedLine = 9;

// Step through the lines from line 9 on. The tags are searched in the bytes of all those
// lines at once; a hit is then placed in its line. Only the first finder line counts, and it
// is shown before anything else of the scan, so it is looked for first.
void ScanLines(IFindsView& view, TFindsState& st, const TLineList& lines, TSortedDateList& dates) {
    const qsizetype n = lines.Count();
    if (n <= kFirstScannedLine) return;
    if (const char* at = FindFinderTag(lines.Utf8Span(kFirstScannedLine))) {
        const qsizetype i = lines.LineOf(at, kFirstScannedLine);
        const TFinder finder = ExtractFinder(lines.Line(i));
        st.CacherID = finder.id;
        st.CacherName = finder.name;
        st.CacherSuchen = false;
        view.SetLabel(TFindsLabel::Cacher, st.CacherID + QStringLiteral(" - ") + st.CacherName);
        view.ProcessPendingMessages();
    }
    qsizetype i = kFirstScannedLine;
    while (i + 1 < n) {
        const char* at = FindDateTag(lines.Utf8Span(i));
        if (at == nullptr) break;
        i = lines.LineOf(at, i);
        if (i + 1 >= n) break;
        // The date line is taken before its successor: the list reads on from the line it
        // read last without a search.
        const std::string_view dateLine = lines.Utf8Line(i);
        if (IsCountedLogType(lines.Utf8Line(i + 1))) dates.Add(ExtractDayUtf8(dateLine));
        ++i;
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
