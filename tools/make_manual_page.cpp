// Writes the manual page from its template and the command table:
// make_manual_page <template> <page>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

#include "cli/manual_page.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual_page <template> <page>\n");
        return 2;
    }
    QFile in(QFile::decodeName(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual_page: cannot read %s\n", argv[1]);
        return 1;
    }
    QString page, reason;
    if (!sorvenka::FillManualPage(QString::fromUtf8(in.readAll()), page, reason)) {
        std::fprintf(stderr, "make_manual_page: %s: %s\n", argv[1], reason.toUtf8().constData());
        return 1;
    }
    // Replaced whole or not at all.
    QSaveFile out(QFile::decodeName(argv[2]));
    const QByteArray bytes = page.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        std::fprintf(stderr, "make_manual_page: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
