#include "progress/bound_statement.h"

#include <sqlite3.h>

namespace sorvenka {

void BoundStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

BoundStatement::BoundStatement(sqlite3* connection, const char* sql) : connection_(connection) {
    if (connection_ == nullptr) {
        code_ = SQLITE_MISUSE;
        error_ = QStringLiteral("no open database");
        return;
    }
    sqlite3_stmt* raw = nullptr;
    code_ = sqlite3_prepare_v2(connection_, sql, -1, &raw, nullptr);
    statement_.reset(raw);
    if (code_ != SQLITE_OK) fail();
}

void BoundStatement::fail() {
    error_ = QString::fromUtf8(sqlite3_errmsg(connection_));
    statement_.reset();
}

void BoundStatement::bind(int index, const QString& value) {
    if (!statement_) return;
    const QByteArray utf8 = value.toUtf8();
    code_ =
        sqlite3_bind_text(statement_.get(), index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    if (code_ != SQLITE_OK) fail();
}

bool BoundStatement::next() {
    if (!statement_) return false;
    const int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW) return true;
    if (code != SQLITE_DONE) {
        code_ = code;
        fail();
    }
    return false;
}

bool BoundStatement::isNull(int column) const {
    return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

bool BoundStatement::isInteger(int column) const {
    return sqlite3_column_type(statement_.get(), column) == SQLITE_INTEGER;
}

bool BoundStatement::isNumber(int column) const {
    const int type = sqlite3_column_type(statement_.get(), column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

double BoundStatement::real(int column) const {
    return sqlite3_column_double(statement_.get(), column);
}

long long BoundStatement::integer(int column) const {
    return sqlite3_column_int64(statement_.get(), column);
}

QString BoundStatement::text(int column) const {
    const auto* text = sqlite3_column_text(statement_.get(), column);
    if (text == nullptr) return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(text),
                             sqlite3_column_bytes(statement_.get(), column));
}

int BoundStatement::type(int column) const {
    return sqlite3_column_type(statement_.get(), column);
}

const char* BoundStatement::cText(int column) const {
    return reinterpret_cast<const char*>(sqlite3_column_text(statement_.get(), column));
}

std::string_view BoundStatement::bytes(int column) const {
    const auto* text = sqlite3_column_text(statement_.get(), column);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column))};
}

int BoundStatement::timeOfDay(int column) const {
    // A number in a time column reads as its digits, which are no time either.
    const char* t = cText(column);
    if (t == nullptr) return -1;
    for (int i = 0; i < 8; ++i)  // never reads past the end of a shorter text
        if (t[i] == 0) return -1;
    if (t[2] != ':' || t[5] != ':' || t[8] != 0) return -1;
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const char high = t[i * 3], low = t[i * 3 + 1];
        if (high < '0' || high > '9' || low < '0' || low > '9') return -1;
        parts[i] = (high - '0') * 10 + (low - '0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return -1;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

}  // namespace sorvenka
