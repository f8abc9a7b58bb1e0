#include "db/connection.h"

#include <sqlite3.h>

#include <QFile>

namespace sorvenka {

namespace {

// How long a copy or check waits for another program's write lock on the file.
constexpr int kBusyTimeoutMilliseconds = 3000;

}  // namespace

void ConnectionCloser::operator()(sqlite3* handle) const {
    sqlite3_close(handle);
}

Connection OpenConnection(const QString& path, int flags, int* code) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection connection(raw);
    if (code != nullptr) *code = opened;
    if (opened != SQLITE_OK) return nullptr;
    sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
    return connection;
}

}  // namespace sorvenka
