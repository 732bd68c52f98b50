#include "RichPane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QColor ColorOf(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// Inserts a line at the end: into the first paragraph while the pane is empty, else after a
// paragraph break.
void AppendWithFormat(QTextEdit* pane, const QString& text, const QTextCharFormat& format) {
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    if (!pane->document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(text, format);
}

}  // namespace

void SetPaneText(QTextEdit* pane, const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pane->setPlainText(plain);
}

void AppendPaneLine(QTextEdit* pane, const QString& text) {
    QTextCharFormat plain;
    plain.setFont(pane->document()->defaultFont());
    plain.setForeground(pane->palette().text());
    AppendWithFormat(pane, text, plain);
}

void AppendColoredLine(QTextEdit* pane, const QString& text, int color) {
    QTextCharFormat format;
    format.setFont(pane->document()->defaultFont());
    format.setForeground(ColorOf(color));
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    AppendWithFormat(pane, text, format);
}
