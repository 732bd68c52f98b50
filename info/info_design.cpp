#include "info_design.h"

#include <QLabel>
#include <QPalette>

#include "platform/ui_design.h"

QFont DesignPixelFont(const QString& family, int pixelHeight, bool bold) {
    QFont font = platform::DesignFont(family, 1, bold);
    // Points do not depend on the screen: 120 design pixels make one inch of 72 points.
    font.setPointSizeF(pixelHeight * 72.0 / 120.0);
    return font;
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font,
                  const QColor& color) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    SetTextColor(label, color);
    label->move(platform::Px(left), platform::Px(top));
    label->adjustSize();
    return label;
}

void SetLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

void SetRightAlignedLabelText(QLabel* label, const QString& text) {
    const int right = label->x() + label->width();
    label->setText(text);
    label->adjustSize();
    label->move(right - label->width(), label->y());
}
