#include "common/display_width.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace sorvenka {

namespace {

// One conversion descriptor per thread, opened on first use and kept for the process.
class Cp932Converter {
  public:
    Cp932Converter() : cd_(iconv_open("CP932", "UTF-16LE")) {}
    ~Cp932Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    QByteArray convert(const QString& text) {
        QByteArray out;
        if (text.isEmpty()) return out;
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return replaceAll(text);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        // Every UTF-16 unit gives at most 2 bytes.
        out.resize(text.size() * 2 + 8);
        char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
        size_t inLeft = static_cast<size_t>(text.size()) * 2;
        char* outPtr = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        while (inLeft > 0) {
            if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
            if (errno != EILSEQ && errno != EINVAL) break;
            // Skip the unencodable character (a surrogate pair as one) and write "?".
            const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                        (static_cast<unsigned char>(in[1]) << 8));
            size_t skip = 2;
            if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) {
                const char16_t next = static_cast<char16_t>(
                    static_cast<unsigned char>(in[2]) | (static_cast<unsigned char>(in[3]) << 8));
                if (next >= 0xDC00 && next <= 0xDFFF) skip = 4;
            }
            in += skip;
            inLeft -= skip;
            *outPtr++ = '?';
            --outLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        out.truncate(static_cast<int>(outPtr - out.data()));
        return out;
    }

  private:
    static QByteArray replaceAll(const QString& text) {
        QByteArray out;
        for (QChar c : text) out.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
        return out;
    }
    iconv_t cd_;
};

Cp932Converter& converter() {
    thread_local Cp932Converter instance;
    return instance;
}

// The characters of a text with surrogate pairs kept together.
std::vector<QString> characters(const QString& text) {
    std::vector<QString> result;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result.push_back(text.mid(i, 2));
            ++i;
        } else {
            result.push_back(text.mid(i, 1));
        }
    }
    return result;
}

}  // namespace

QByteArray EncodeCp932(const QString& text) {
    return converter().convert(text);
}

int ByteWidth(const QString& text) {
    return static_cast<int>(EncodeCp932(text).size());
}

QString PadToWidth(const QString& text, int width, bool rightAligned) {
    int current = ByteWidth(text);
    QString result = text;
    if (current > width) {
        // Cut character by character from the end; Shift_JIS widths add up per character.
        std::vector<QString> chars = characters(text);
        while (current > width && !chars.empty()) {
            current -= ByteWidth(chars.back());
            chars.pop_back();
        }
        result.clear();
        for (const QString& c : chars) result += c;
    }
    if (current < width) {
        const QString blanks(width - current, QLatin1Char(' '));
        result = rightAligned ? blanks + result : result + blanks;
    }
    return result;
}

void SplitDuration(int seconds, QString& minutesText, QString& secondsText) {
    const int minutes = seconds / 60;  // C++ division truncates toward zero.
    const int rest = seconds - 60 * minutes;
    minutesText = (QStringLiteral("  ") + QString::number(minutes)).right(3);
    secondsText = (QStringLiteral(" ") + QString::number(rest)).right(2);
}

}  // namespace sorvenka
