#include "RichPane.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextEdit>

namespace {

QColor ColorOf(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

}  // namespace

void SetColumnTabStop(QPlainTextEdit* pane, const QString& widestFirstColumn) {
    const QFontMetricsF metrics(pane->document()->defaultFont());
    pane->setTabStopDistance(metrics.horizontalAdvance(widestFirstColumn) +
                             metrics.horizontalAdvance(QStringLiteral("0")));
}

void SetPaneText(QPlainTextEdit* pane, const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pane->document()->setPlainText(plain);
}

TPaneWriter::TPaneWriter(QPlainTextEdit* pane) : pane_(pane), cursor_(pane->document()) {
    cursor_.beginEditBlock();
}

TPaneWriter::~TPaneWriter() {
    Flush();
    cursor_.endEditBlock();
}

void TPaneWriter::Append(const QString& text, const QTextCharFormat& format) {
    if (hasPending_ && format == pendingFormat_) {
        pending_ += u'\n';
        pending_ += text;
        return;
    }
    Flush();
    pending_ = text;
    pendingFormat_ = format;
    hasPending_ = true;
}

// Inserts the collected lines at the end: into the first paragraph while the pane is empty,
// else after a paragraph break; each line break of the text starts a paragraph.
void TPaneWriter::Flush() {
    if (!hasPending_) return;
    cursor_.movePosition(QTextCursor::End);
    if (!pane_->document()->isEmpty()) cursor_.insertBlock(QTextBlockFormat(), pendingFormat_);
    cursor_.insertText(pending_, pendingFormat_);
    pending_.clear();
    hasPending_ = false;
}

void TPaneWriter::AppendLine(const QString& text) {
    QTextCharFormat plain;
    plain.setFont(pane_->document()->defaultFont());
    plain.setForeground(pane_->palette().text());
    Append(text, plain);
}

void TPaneWriter::AppendColoredLine(const QString& text, int color) {
    QTextCharFormat format;
    format.setFont(pane_->document()->defaultFont());
    format.setForeground(ColorOf(color));
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    Append(text, format);
}

