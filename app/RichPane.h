#pragma once
// Writing lines into the rich-text panes of the main window.
#include <QString>

class QTextEdit;

// Replaces the pane's whole content and format by `text` (lines end with CR LF).
void SetPaneText(QTextEdit* pane, const QString& text);
// Appends `text` as a new last line in the pane's own font and colour.
void AppendPaneLine(QTextEdit* pane, const QString& text);
// Appends `text` as a new last line, bold alone, in `color` (red + 256 * green + 65536 * blue).
// Nothing else in the pane changes its format.
void AppendColoredLine(QTextEdit* pane, const QString& text, int color);
