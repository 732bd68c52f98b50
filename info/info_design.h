#pragma once
// Helpers that build the information window's controls from its design: fonts given by their
// pixel height at 120 pixels per inch, text colours, and labels that size themselves to their
// text.
#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// The font `family` whose characters are `pixelHeight` design pixels high.
QFont DesignPixelFont(const QString& family, int pixelHeight, bool bold = false);

// Sets the colour in which `widget` draws its text.
void SetTextColor(QWidget* widget, const QColor& color);

// A label at design position (left, top) that sizes itself to `text`.
QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font,
                  const QColor& color);

// Sets the text of a self-sizing label and keeps its left edge.
void SetLabelText(QLabel* label, const QString& text);
// Sets the text of a right-aligned, self-sizing label and keeps its right edge.
void SetRightAlignedLabelText(QLabel* label, const QString& text);
