#pragma once
// An ordered list of text lines, indexed from 0. The lines are kept as checked UTF-8 in one
// buffer with a table of line positions: a load of millions of lines costs two allocations,
// and the scan for tags works on the bytes without decoding every line.
#include <QString>
#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

#include "Utf8Lines.h"
#include "platform/byte_buffer.h"

class TLineList {
public:
    qsizetype Count() const { return static_cast<qsizetype>(spans_.size()); }
    // The line at `index`; an index outside 0..Count()-1 throws std::out_of_range.
    QString Line(qsizetype index) const;
    // The same line as its UTF-8 bytes.
    std::string_view Utf8Line(qsizetype index) const;
    void Append(QStringView line);
    void Clear();

    // Replaces the content by the lines of `bytes` read as UTF-8: a leading EF BB BF is
    // skipped; bytes that are not well-formed UTF-8 anywhere give an empty list; CR, LF and
    // CR LF end a line; a break at the very end adds no empty line; a NUL ends the text.
    void LoadFromUtf8(std::string_view bytes);
    // The same for the bytes of `bytes` from `from` on; the buffer is taken over, not copied.
    void LoadFromUtf8(platform::TByteBuffer bytes, size_t from);
    // The same for the whole file at `path`. When the file cannot be read, throws
    // platform::HostError ("Datei %s kann nicht geöffnet werden. %s") and keeps the content.
    void LoadFromFile(const QString& path);

private:
    // Takes `bytes` as the text when they are well-formed.
    void TakeText(platform::TByteBuffer bytes, size_t from);

    platform::TByteBuffer text_;
    std::vector<TLineSpan> spans_;
};
