#pragma once
// Writing lines into the rich-text panes of the main window.
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

class QPlainTextEdit;

// Sets the pane's tab stop just past `widestFirstColumn` in the pane's own font (with a
// digit's width as gap), so that the column after the tab starts clear of the widest value
// before it at every screen density.
void SetColumnTabStop(QPlainTextEdit* pane, const QString& widestFirstColumn);

// Replaces the pane's whole content and format by `text` (lines end with CR LF).
void SetPaneText(QPlainTextEdit* pane, const QString& text);

// Appends lines at the end of a pane. The appends of one writer form one edit of the
// document, so thousands of lines cost one relayout when the writer ends.
class TPaneWriter {
public:
    explicit TPaneWriter(QPlainTextEdit* pane);
    ~TPaneWriter();
    TPaneWriter(const TPaneWriter&) = delete;
    TPaneWriter& operator=(const TPaneWriter&) = delete;

    // Appends `text` as a new last line in the pane's own font and colour.
    void AppendLine(const QString& text);
    // Appends `text` as a new last line, bold alone, in `color` (red + 256 * green +
    // 65536 * blue). Nothing else in the pane changes its format.
    void AppendColoredLine(const QString& text, int color);

private:
    // Lines in the same format are collected and inserted together.
    void Append(const QString& text, const QTextCharFormat& format);
    void Flush();

    QPlainTextEdit* pane_;
    QTextCursor cursor_;
    QString pending_;
    QTextCharFormat pendingFormat_;
    bool hasPending_ = false;
};

