// The sorted date list against inserting each date into a list sorted by the collator, one
// after the other, a later date going before the dates equal to it.
#include "stats/SortedDateList.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<QString> InsertedOneByOne(const std::vector<QString>& dates, const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QString> sorted;
    for (const QString& d : dates) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), d,
                                         [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
        sorted.insert(at, d);
    }
    return sorted;
}

// Days written yyyy-mm-dd only, and the same with texts of other forms among them: the list
// orders both as the collator does, under German and under English rules.
TEST(SortedDateList, OrdersAsInsertingIntoACollatedList) {
    std::mt19937 rng(1999);
    std::vector<QString> days;
    for (int i = 0; i < 3000; ++i) {
        days.push_back(QString::asprintf("%04u-%02u-%02u", unsigned(1990 + rng() % 40), unsigned(1 + rng() % 12), unsigned(1 + rng() % 31)));
    }
    std::vector<QString> mixed = days;
    for (const char* other : {"2016-3-09", "2016-03-09T1", "ABC", "abc", "2016/03/09", "", " 2016-03-0"}) {
        mixed.insert(mixed.begin() + static_cast<std::ptrdiff_t>(rng() % mixed.size()), QString::fromLatin1(other));
    }
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        for (const std::vector<QString>* dates : {&days, &mixed}) {
            TSortedDateList list(locale);
            for (const QString& d : *dates) list.Add(d);
            EXPECT_EQ(list.Sorted(), InsertedOneByOne(*dates, locale)) << locale.name().toStdString();
        }
    }
}

}  // namespace
