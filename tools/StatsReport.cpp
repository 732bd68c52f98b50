#include "StatsReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto kRedBold = "\x1b[1;31m";
constexpr auto kReset = "\x1b[0m";

// Printable ASCII other than the quote and the backslash stands in a JSON string as it is.
bool NeedsNoEscape(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'"' && c != u'\\';
    });
}

// Appends `s` to `out` as a JSON string.
void AppendJsonString(QString& out, const QString& s) {
    // Dates and numbers, nearly every string here, need no escape.
    if (NeedsNoEscape(s)) {
        out += u'"';
        out += s;
        out += u'"';
        return;
    }
    // QJsonValue escapes exactly as JSON wants; strip the array brackets around it.
    const QByteArray doc = QJsonDocument(QJsonArray{QJsonValue(s)}).toJson(QJsonDocument::Compact);
    out += QString::fromUtf8(doc.mid(1, doc.size() - 2));
}

// Room for the whole document: its size grows with the dates and days, and one allocation
// for all of it saves copying it as it grows.
qsizetype JsonSizeHint(const std::vector<TPaneLine>& dates, const TFindsState& st) {
    qsizetype size = 256 + 24 * static_cast<qsizetype>(st.MengenListe.size());
    for (const TPaneLine& d : dates) size += d.text.size() + 3;
    for (int32_t k = 0; k < st.AnzTage; ++k) size += st.TagesListe[static_cast<size_t>(k)].Datum.size() + 16;
    return size;
}

void AppendPane(QString& out, const QString& heading, const std::vector<TPaneLine>& lines, bool color) {
    out += u'\n' + heading + u'\n';
    for (const TPaneLine& line : lines) {
        if (line.color && color) {
            out += QString::fromLatin1(kRedBold) + line.text + QString::fromLatin1(kReset) + u'\n';
        } else {
            out += line.text + u'\n';
        }
    }
}

}  // namespace

QString FormatText(const TStatsResult& r, bool color) {
    const TRecordedFindsView& v = r.view->shown;
    QString out;
    const auto counter = [&](TFindsLabel label, const QString& caption) {
        if (const auto text = v.Label(label)) out += caption + *text + u'\n';
    };
    counter(TFindsLabel::AnzZeilen, QStringLiteral("Anzahl Zeilen: "));
    counter(TFindsLabel::PQ, QString());
    counter(TFindsLabel::Cacher, QString());
    counter(TFindsLabel::Caches, QStringLiteral("Caches: "));
    counter(TFindsLabel::Tage, QStringLiteral("Tage: "));
    if (!v.Label(TFindsLabel::PQ)) return out;
    AppendPane(out, QStringLiteral("Funddaten:"), v.Pane(TFindsPane::Dates), color);
    AppendPane(out, QStringLiteral("Funde pro Tag:"), v.Pane(TFindsPane::Days), color);
    AppendPane(out, QStringLiteral("Tage mit N Funden:"), v.Pane(TFindsPane::Histogram), color);
    return out;
}

QString FormatJson(const TStatsResult& r) {
    const TRecordedFindsView& v = r.view->shown;
    const TFindsState& st = *r.state;
    QString out = u"{\"file\":"_s;
    AppendJsonString(out, r.file);
    out += u",\"lines\":"_s + QString::number(r.lines->Count());
    if (r.lines->Count() > 0) {
        const bool pq = v.Label(TFindsLabel::PQ).has_value();
        out += pq ? u",\"pocketQuery\":true"_s : u",\"pocketQuery\":false"_s;
        if (pq) {
            out += u",\"finder\":"_s;
            if (v.Label(TFindsLabel::Cacher)) {
                out += u"{\"id\":"_s;
                AppendJsonString(out, st.CacherID);
                out += u",\"name\":"_s;
                AppendJsonString(out, st.CacherName);
                out += u'}';
            } else {
                out += u"null"_s;
            }
            out += u",\"finds\":"_s + v.Label(TFindsLabel::Caches).value_or(u"0"_s);
            out += u",\"days\":"_s + v.Label(TFindsLabel::Tage).value_or(u"0"_s);
            const auto& dates = v.Pane(TFindsPane::Dates);
            out.reserve(out.size() + JsonSizeHint(dates, st));
            out += u",\"dates\":["_s;
            for (size_t i = 0; i < dates.size(); ++i) {
                if (i) out += u',';
                AppendJsonString(out, dates[i].text);
            }
            out += u"],\"perDay\":["_s;
            for (int32_t k = 0; k < st.AnzTage; ++k) {
                const TDatum& d = st.TagesListe[static_cast<size_t>(k)];
                out += k ? u",["_s : u"["_s;
                AppendJsonString(out, d.Datum);
                out += u',' + QString::number(d.Anzahl) + u']';
            }
            out += u"],\"histogram\":["_s;
            for (size_t k = 0; k < st.MengenListe.size(); ++k) {
                const TMenge& m = st.MengenListe[k];
                out += (k ? u","_s : QString()) + u'[' + QString::number(m.CacheProTag) + u',' +
                       QString::number(m.Anzahl) + u']';
            }
            out += u']';
        }
    }
    out += u'}';
    return out;
}
