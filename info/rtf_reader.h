#pragma once
// A small reader for the rich text (RTF) a version history is written in: paragraphs and
// their alignment, line breaks and tabs, bold, italic, underline and strike-out, the font and
// colour tables, font sizes, and the escapes for 8-bit characters (\'hh, code page
// 1252) and Unicode characters (\uN with its \ucN fallback count). Unknown control words are
// skipped, and so are the groups of style sheets, pictures, headers and other optional
// destinations.
class QString;
class QTextDocument;

// True when `text` is rich text: it starts with "{\rtf".
bool IsRtf(const QString& text);

// Replaces the content of `document` with the text of `rtf`. Text without a font, colour or
// size of its own keeps the viewer's colour and the document's default font. Damaged input
// (missing braces, cut-off escapes) is read as far as it goes.
void ReadRtf(const QString& rtf, QTextDocument& document);
