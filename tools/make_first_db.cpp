// Creates the first database file: make_first_db <path of exercise.sqlite3>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "db/first_database.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_first_db <database file>\n");
        return 2;
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
