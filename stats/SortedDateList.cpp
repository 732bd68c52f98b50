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

const std::vector<QString>& TSortedDateList::Sorted() {
    if (sorted_) return dates_;
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
    std::vector<QString> result;
    result.reserve(dates_.size());
    for (size_t i : order) result.push_back(std::move(dates_[i]));
    dates_ = std::move(result);
    sorted_ = true;
    return dates_;
}
