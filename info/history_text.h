#pragma once
// The version history shown by the information window: a text file that is either plain text
// or rich text (RTF).
#include <QString>
#include <string_view>

class QTextEdit;

// The file name of the history, beside the executable.
inline constexpr char kHistoryFileName[] = "Historie.txt";

// Decodes the bytes of a text file. A byte-order mark selects UTF-16 little-endian, UTF-16
// big-endian or UTF-8 (and is dropped); without one the bytes are read in the ANSI code page
// 1252. A NUL character ends the text.
QString DecodeTextFile(std::string_view bytes);

// Shows `text` in `edit`: formatted when it is rich text, else as plain text with CR LF, LF or
// CR as line ends.
void ShowHistoryText(QTextEdit& edit, const QString& text);

// Loads the file at `path` (UTF-8 path) into `edit`, denying other writers while it reads.
// Throws platform::HostError with "Datei <path> kann nicht geöffnet werden. <cause>" when the
// file cannot be read; `edit` then keeps what it showed.
void LoadHistoryFile(QTextEdit& edit, const std::string& path);
