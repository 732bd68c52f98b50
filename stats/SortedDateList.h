#pragma once
// The find dates in ascending order under the user's locale, ignoring letter case. Equal
// dates are all kept, and a date added later stands before the dates equal to it, exactly as
// inserting each date into a sorted list in turn would place it. The order is made once, by
// sorting with collation keys, so the cost grows as n log n.
#include <QCollator>
#include <QString>
#include <QStringList>
#include <vector>

class TSortedDateList {
public:
    explicit TSortedDateList(const QLocale& locale = UserCollationLocale());

    // The user's locale; a bare "C" environment collates as a German system would.
    static QLocale UserCollationLocale();

    void Add(const QString& date);
    qsizetype Count() const { return static_cast<qsizetype>(dates_.size()); }
    // The dates in their sorted order.
    const std::vector<QString>& Sorted();

private:
    // Sorts days written yyyy-mm-dd by their numbers; false, and nothing done, when a date
    // is written otherwise.
    bool SortIsoDays();
    // The dates in the order of the indices in `order`.
    void TakeInOrder(const std::vector<size_t>& order);

    QCollator collator_;
    std::vector<QString> dates_;
    bool sorted_ = true;
};
