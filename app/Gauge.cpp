#include "Gauge.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>

TGauge::TGauge(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setFormat(QStringLiteral("%p%"));
    setAlignment(Qt::AlignCenter);
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int span = std::max(1, maximum() - minimum());
    const int filledWidth = static_cast<int>(static_cast<long long>(inner.width()) * (value() - minimum()) / span);
    const QRect filled(inner.left(), inner.top(), std::max(0, filledWidth), inner.height());

    p.fillRect(rect(), kBackground);
    p.fillRect(filled, kBar);
    p.setPen(kBorder);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QString shown = text();
    p.setFont(font());
    p.setClipRegion(QRegion(filled));
    p.setPen(Qt::white);
    p.drawText(inner, Qt::AlignCenter, shown);
    p.setClipRegion(QRegion(inner).subtracted(QRegion(filled)));
    p.setPen(Qt::black);
    p.drawText(inner, Qt::AlignCenter, shown);
}
