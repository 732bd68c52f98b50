#pragma once
// An ordered list of text lines, indexed from 0. All lines share one text buffer, so a load of
// millions of lines costs one allocation for the text and one for the line table.
#include <QString>
#include <QStringView>
#include <string_view>
#include <vector>

class TLineList {
public:
    qsizetype Count() const { return static_cast<qsizetype>(spans_.size()); }
    // The line at `index`; an index outside 0..Count()-1 throws std::out_of_range.
    QStringView Line(qsizetype index) const;
    void Append(QStringView line);
    void Clear();

    // Replaces the content by the lines of `bytes` read as UTF-8: a leading EF BB BF is
    // skipped; bytes that are not well-formed UTF-8 anywhere give an empty list; CR, LF and
    // CR LF end a line; a break at the very end adds no empty line; a NUL ends the text.
    void LoadFromUtf8(std::string_view bytes);
    // The same for the whole file at `path`. When the file cannot be read, throws
    // platform::HostError ("Datei %s kann nicht geöffnet werden. %s") and keeps the content.
    void LoadFromFile(const QString& path);

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    void SplitText();

    QString text_;
    std::vector<Span> spans_;
};
