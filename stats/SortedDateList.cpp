#include "SortedDateList.h"

#include <QHash>
#include <algorithm>
#include <numeric>

TSortedDateList::TSortedDateList(const QLocale& locale) : collator_(locale) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

QLocale TSortedDateList::UserCollationLocale() {
    const QLocale user;
    if (user.language() == QLocale::C) return QLocale(QLocale::German, QLocale::Germany);
    return user;
}

void TSortedDateList::Add(const QString& date) {
    dates_.push_back(date);
    sorted_ = dates_.size() < 2;
}

namespace {

// A day written yyyy-mm-dd: ASCII digits with hyphens in the same two places. A collator
// orders such texts as the numbers formed by their digits (digits sort by their value, and
// the hyphens never decide), and finds two of them equal only when they are the same text.
bool IsIsoDay(const QString& s) {
    if (s.size() != 10) return false;
    for (qsizetype i = 0; i < 10; ++i) {
        const char16_t c = s[i].unicode();
        if (i == 4 || i == 7 ? c != u'-' : (c < u'0' || c > u'9')) return false;
    }
    return true;
}

uint32_t IsoDayNumber(const QString& s) {
    uint32_t n = 0;
    for (qsizetype i = 0; i < 10; ++i) {
        if (i != 4 && i != 7) n = n * 10 + static_cast<uint32_t>(s[i].unicode() - u'0');
    }
    return n;
}

}  // namespace

void TSortedDateList::TakeInOrder(const std::vector<size_t>& order) {
    std::vector<QString> result;
    result.reserve(dates_.size());
    for (size_t i : order) result.push_back(std::move(dates_[i]));
    dates_ = std::move(result);
    sorted_ = true;
}

// Days written yyyy-mm-dd, as nearly every date of a query is, are ordered by their numbers
// without the collator: one sort of 64-bit keys, day number above, position below. Equal
// days are the same text, so their order among themselves does not show.
bool TSortedDateList::SortIsoDays() {
    if (!std::all_of(dates_.begin(), dates_.end(), IsIsoDay)) return false;
    const size_t n = dates_.size();
    std::vector<uint64_t> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = uint64_t{IsoDayNumber(dates_[i])} << 32 | i;
    std::sort(keys.begin(), keys.end());
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k) order[k] = static_cast<size_t>(keys[k] & 0xFFFFFFFFu);
    TakeInOrder(order);
    return true;
}

const std::vector<QString>& TSortedDateList::Sorted() {
    if (sorted_) return dates_;
    if (dates_.size() < (size_t{1} << 32) && SortIsoDays()) return dates_;
    // A list holds the same days many times: collate each distinct text once and give it a
    // rank; texts the collator finds equal share a rank.
    QHash<QString, int> distinctIndex;
    std::vector<QString> distinct;
    std::vector<int> dateDistinct(dates_.size());
    for (size_t i = 0; i < dates_.size(); ++i) {
        auto it = distinctIndex.constFind(dates_[i]);
        if (it == distinctIndex.constEnd()) {
            it = distinctIndex.insert(dates_[i], static_cast<int>(distinct.size()));
            distinct.push_back(dates_[i]);
        }
        dateDistinct[i] = it.value();
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (const QString& d : distinct) keys.push_back(collator_.sortKey(d));
    std::vector<int> byKey(distinct.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<int> rank(distinct.size());
    for (size_t i = 0; i < byKey.size(); ++i) {
        const bool sameAsPrevious = i > 0 && keys[byKey[i - 1]].compare(keys[byKey[i]]) == 0;
        rank[byKey[i]] = sameAsPrevious ? rank[byKey[i - 1]] : static_cast<int>(i);
    }

    // Later additions go first among equals: sort stably by rank over the reversed order.
    std::vector<size_t> order(dates_.size());
    std::iota(order.rbegin(), order.rend(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return rank[dateDistinct[a]] < rank[dateDistinct[b]];
    });
    TakeInOrder(order);
    return dates_;
}
