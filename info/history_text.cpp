#include "history_text.h"

#include <QStringDecoder>
#include <QTextEdit>

#include "platform/codepage.h"
#include "platform/host_file.h"
#include "rtf_reader.h"

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

QString Decode(QStringConverter::Encoding encoding, std::string_view bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

QString DecodeTextFile(std::string_view bytes) {
    QString text;
    if (StartsWith(bytes, "\xFF\xFE")) {
        text = Decode(QStringConverter::Utf16LE, bytes.substr(2));
    } else if (StartsWith(bytes, "\xFE\xFF")) {
        text = Decode(QStringConverter::Utf16BE, bytes.substr(2));
    } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        text = Decode(QStringConverter::Utf8, bytes.substr(3));
    } else {
        text = QString::fromStdU16String(platform::Cp1252ToUtf16(bytes));
    }
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) text.truncate(nul);
    return text;
}

void ShowHistoryText(QTextEdit& edit, const QString& text) {
    if (IsRtf(text)) {
        ReadRtf(text, *edit.document());
        return;
    }
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(u'\r', u'\n');
    edit.setPlainText(plain);
}

void LoadHistoryFile(QTextEdit& edit, const std::string& path) {
    const platform::TByteBuffer bytes = platform::ReadWholeFile(path);
    ShowHistoryText(edit, DecodeTextFile(bytes.View()));
}
