#include "main_window/comment_box.h"

namespace sorvenka {

namespace {

// Where the box starts a new line of its own.
bool EndsLine(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

}  // namespace

QString ShownCommentText(const QString& stored) {
    QString plain = stored;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qsizetype run = 0;
    bool tooLong = false;
    for (const QChar c : plain) {
        run = EndsLine(c) ? 0 : run + 1;
        if (run > kLongestShownCommentLine) {
            tooLong = true;
            break;
        }
    }
    if (!tooLong) return plain;

    QString shown;
    shown.reserve(plain.size() + plain.size() / kLongestShownCommentLine + 1);
    run = 0;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        if (EndsLine(c)) {
            shown.append(c);
            run = 0;
            continue;
        }
        // A surrogate pair is one character: it goes into a piece whole.
        const bool pair =
            c.isHighSurrogate() && i + 1 < plain.size() && plain[i + 1].isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        if (run + width > kLongestShownCommentLine) {
            shown.append(QLatin1Char('\n'));
            run = 0;
        }
        shown.append(QStringView(plain).mid(i, width));
        run += width;
        i += width - 1;
    }
    return shown;
}

}  // namespace sorvenka
