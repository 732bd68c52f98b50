#include "ZAFormat.h"

#include <string>

namespace {

struct FieldFormat {
    bool leftAlign = false;
    bool zeroPad = false;
    size_t width = 0;
    int precision = -1;
};

ZAString Pad(ZAString body, const FieldFormat& field, bool numeric) {
    if (body.size() >= field.width) return body;
    const size_t fill = field.width - body.size();
    if (field.leftAlign) return body + ZAString(fill, u' ');
    if (field.zeroPad && numeric && field.precision < 0) {
        const size_t signLen = (!body.empty() && body[0] == u'-') ? 1 : 0;
        body.insert(signLen, fill, u'0');
        return body;
    }
    return ZAString(fill, u' ') + body;
}

ZAString FormatNumber(int64_t value, bool asUnsigned, const FieldFormat& field) {
    std::string digits;
    bool negative = false;
    uint64_t magnitude;
    if (asUnsigned) {
        magnitude = static_cast<uint64_t>(value);
        if (value < 0) magnitude = static_cast<uint32_t>(value);  // a 32-bit unsigned view
    } else if (value < 0) {
        negative = true;
        magnitude = 0 - static_cast<uint64_t>(value);
    } else {
        magnitude = static_cast<uint64_t>(value);
    }
    digits = std::to_string(magnitude);
    if (field.precision >= 0 && digits.size() < static_cast<size_t>(field.precision))
        digits.insert(0, static_cast<size_t>(field.precision) - digits.size(), '0');
    if (negative) digits.insert(0, 1, '-');
    return Pad(AsciiToZA(digits), field, true);
}

}  // namespace

ZAString AsciiToZA(std::string_view ascii) {
    ZAString out;
    out.reserve(ascii.size());
    for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return out;
}

ZAString ZAFormat(std::u16string_view format, std::initializer_list<TZAFormatArg> args) {
    ZAString out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    size_t i = 0;
    while (i < format.size()) {
        const char16_t c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t j = i + 1;
        if (format[j] == u'%') {
            out.push_back(u'%');
            i = j + 1;
            continue;
        }
        FieldFormat field;
        for (; j < format.size() && (format[j] == u'-' || format[j] == u'0'); ++j) {
            if (format[j] == u'-') field.leftAlign = true;
            else field.zeroPad = true;
        }
        for (; j < format.size() && format[j] >= u'0' && format[j] <= u'9'; ++j)
            field.width = field.width * 10 + static_cast<size_t>(format[j] - u'0');
        if (j < format.size() && format[j] == u'.') {
            field.precision = 0;
            for (++j; j < format.size() && format[j] >= u'0' && format[j] <= u'9'; ++j)
                field.precision = field.precision * 10 + (format[j] - u'0');
        }
        if (j >= format.size()) {  // a cut-off specifier stands as it is
            out.append(format.substr(i));
            break;
        }
        const char16_t kind = format[j];
        if (kind != u's' && kind != u'd' && kind != u'u') {
            out.append(format.substr(i, j + 1 - i));
            i = j + 1;
            continue;
        }
        const TZAFormatArg* arg = next != args.end() ? &*next++ : nullptr;
        if (kind == u's') {
            if (arg && arg->Text()) {
                ZAString text = *arg->Text();
                if (field.precision >= 0 && text.size() > static_cast<size_t>(field.precision))
                    text.resize(static_cast<size_t>(field.precision));
                out += Pad(std::move(text), field, false);
            } else if (arg && arg->Number()) {
                out += Pad(AsciiToZA(std::to_string(*arg->Number())), field, false);
            }
        } else if (arg && arg->Number()) {
            out += FormatNumber(*arg->Number(), kind == u'u', field);
        }
        i = j + 1;
    }
    return out;
}
