#include "kalvero_logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

// Everything is drawn on a 100 x 100 canvas that the painter scales to the picture.
void DrawBackground(QPainter& p) {
    QLinearGradient green(0, 0, 0, 100);
    green.setColorAt(0.0, QColor(46, 125, 50));
    green.setColorAt(1.0, QColor(20, 70, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);
}

void DrawDial(QPainter& p) {
    QRadialGradient face(QPointF(45, 42), 40);
    face.setColorAt(0.0, QColor(255, 255, 250));
    face.setColorAt(1.0, QColor(222, 226, 214));
    p.setPen(QPen(QColor(250, 200, 60), 3.5));
    p.setBrush(face);
    p.drawEllipse(QPointF(50, 50), 38, 38);

    p.setPen(QPen(QColor(60, 60, 60), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 16; ++i) {
        const double angle = i * M_PI / 8;
        const double inner = i % 4 == 0 ? 28 : 32;
        p.drawLine(QPointF(50 + inner * std::sin(angle), 50 - inner * std::cos(angle)),
                   QPointF(50 + 35 * std::sin(angle), 50 - 35 * std::cos(angle)));
    }
}

// Three bars growing to the right: finds counted per day.
void DrawHistogram(QPainter& p) {
    const QColor bars[] = {QColor(66, 133, 200), QColor(52, 110, 180), QColor(36, 88, 160)};
    const double heights[] = {14, 22, 32};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(bars[i]);
        p.drawRoundedRect(QRectF(32 + i * 13, 70 - heights[i], 10, heights[i]), 1.5, 1.5);
    }
}

void DrawNeedle(QPainter& p) {
    p.save();
    p.translate(50, 50);
    p.rotate(40);
    QPainterPath north;
    north.moveTo(0, -30);
    north.lineTo(5.5, 0);
    north.lineTo(-5.5, 0);
    north.closeSubpath();
    QPainterPath south;
    south.moveTo(0, 30);
    south.lineTo(5.5, 0);
    south.lineTo(-5.5, 0);
    south.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.setBrush(QColor(210, 30, 30));
    p.drawPath(north);
    p.setBrush(QColor(245, 245, 245));
    p.drawPath(south);
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
    p.restore();
}

}  // namespace

QPixmap KalveroLogo(int side) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 100.0, side / 100.0);
    DrawBackground(p);
    DrawDial(p);
    DrawHistogram(p);
    DrawNeedle(p);
    return picture;
}
