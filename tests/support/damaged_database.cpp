#include "support/damaged_database.h"

#include <sqlite3.h>

#include <QFile>
#include <QStringList>

#include "db/first_database.h"

namespace sorvenka::testing {

namespace {

// A SQLite varint at bytes[at]; at moves past it.
quint64 ReadVarint(const QByteArray& bytes, qsizetype& at) {
    quint64 value = 0;
    for (int i = 0; i < 9; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        if (i == 8) return (value << 8) | byte;
        value = (value << 7) | (byte & 0x7f);
        if ((byte & 0x80) == 0) break;
    }
    return value;
}

// Length in the record body of a value of the serial type.
qsizetype SerialLength(quint64 type) {
    static const int kFixed[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type < 10) return kFixed[type];
    return static_cast<qsizetype>((type - (type % 2 == 0 ? 12 : 13)) / 2);
}

bool Query(sqlite3* db, const char* sql, qint64& value) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    const bool row = sqlite3_step(statement) == SQLITE_ROW;
    if (row) value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return row;
}

}  // namespace

QString PragmaAnswer(const QString& dbPath, const char* pragma) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList answers;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, (QByteArray("PRAGMA ") + pragma).constData(), -1, &statement,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            answers << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    } else {
        answers << QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answers.join(QLatin1Char('\n'));
}

bool DamagePrimaryKeyIndex(const QString& dbPath) {
    QString error;
    if (!RunSqlScript(dbPath,
                      QStringLiteral("insert into t_exer (ymd, grp_cd, exer_cd, set_num, hms_sta, "
                                     "hms_end, target, unit_t, cnt, unit, sweat_cd, comment) "
                                     "select '2099/12/31', '01', '01', n, '', '', 60, 'kg', 10, "
                                     "'回', '2', '' from (select 2 as n union select 3 union "
                                     "select 4 union select 5)"),
                      error))
        return false;
    qint64 pageSize = 0, root = 0;
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        const bool read =
            Query(db, "PRAGMA page_size", pageSize) &&
            Query(db, "select rootpage from sqlite_master where name = 'sqlite_autoindex_t_exer_1'",
                  root);
        sqlite3_close(db);
        if (!read || root < 2) return false;
    }
    QFile file(dbPath);
    if (!file.open(QIODevice::ReadWrite)) return false;
    QByteArray bytes = file.readAll();
    const qsizetype page = (root - 1) * pageSize;
    // An index leaf page (type 10) with its cells' pointers after its 8-byte header, in key
    // order.
    if (bytes.size() < page + pageSize || bytes[page] != 10) return false;
    const int cells = (static_cast<unsigned char>(bytes[page + 3]) << 8) |
                      static_cast<unsigned char>(bytes[page + 4]);
    if (cells < 1) return false;
    const qsizetype pointer = page + 8 + 2 * (cells - 1);
    qsizetype at = page + ((static_cast<unsigned char>(bytes[pointer]) << 8) |
                           static_cast<unsigned char>(bytes[pointer + 1]));
    ReadVarint(bytes, at);  // payload size
    const qsizetype header = at;
    const auto headerSize = static_cast<qsizetype>(ReadVarint(bytes, at));
    // ymd, grp_cd, exer_cd, then set_num: the body offset of the set number.
    qsizetype body = header + headerSize;
    for (int column = 0; column < 3; ++column) body += SerialLength(ReadVarint(bytes, at));
    if (ReadVarint(bytes, at) != 1) return false;  // an 8-bit integer
    if (bytes[body] != 5) return false;            // the last set of the day
    bytes[body] = 50;                              // still the greatest key: order kept
    file.seek(0);
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace sorvenka::testing
