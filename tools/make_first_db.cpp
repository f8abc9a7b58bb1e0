// Creates the first database file: make_first_db <path of exercise.sqlite3>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "db/first_database.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // An option is never taken for a file name: `make_first_db --help` made a database "--help".
    const bool help = argc == 2 && (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "-h") == 0);
    if (argc != 2 || help || argv[1][0] == '-') {
        std::fprintf(help ? stdout : stderr, "usage: make_first_db <database file>\n");
        return help ? 0 : 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    QString error;
    if (!sorvenka::CreateFirstDatabase(path, error)) {
        std::fprintf(stderr, "make_first_db: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("created %s\n", argv[1]);
    return 0;
}
