#include "db/prepared_statement.h"

#include <sqlite3.h>

namespace sorvenka {

PreparedStatement::PreparedStatement(sqlite3* db, const char* sql) : connection_(db) {
    sqlite3_stmt* raw = nullptr;
    prepareCode_ = db ? sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) : SQLITE_MISUSE;
    prepared(raw);
}

PreparedStatement::PreparedStatement(sqlite3* db, const QString& sql) : connection_(db) {
    sqlite3_stmt* raw = nullptr;
    prepareCode_ =
        db ? sqlite3_prepare16_v2(db, sql.utf16(), static_cast<int>(sql.size() * 2), &raw, nullptr)
           : SQLITE_MISUSE;
    prepared(raw);
}

void PreparedStatement::prepared(sqlite3_stmt* raw) {
    statement_ = raw;
    code_ = prepareCode_;
    if (prepareCode_ == SQLITE_OK) return;
    error_ = connection_ ? QString::fromUtf8(sqlite3_errmsg(connection_))
                         : QStringLiteral("no open database");
    sqlite3_finalize(statement_);
    statement_ = nullptr;
}

PreparedStatement::~PreparedStatement() {
    sqlite3_finalize(statement_);
}

PreparedStatement::PreparedStatement(PreparedStatement&& other) noexcept {
    *this = std::move(other);
}

PreparedStatement& PreparedStatement::operator=(PreparedStatement&& other) noexcept {
    if (this == &other) return *this;
    sqlite3_finalize(statement_);
    connection_ = other.connection_;
    statement_ = other.statement_;
    prepareCode_ = other.prepareCode_;
    code_ = other.code_;
    error_ = std::move(other.error_);
    held_ = std::move(other.held_);
    used_ = other.used_;
    other.statement_ = nullptr;
    other.used_ = false;
    return *this;
}

int PreparedStatement::finalize() {
    const int code = sqlite3_finalize(statement_);
    statement_ = nullptr;
    held_.clear();
    used_ = false;
    return code;
}

void PreparedStatement::bindText(int position, const QString& value) {
    bindBytes(position, value.toUtf8());
}

void PreparedStatement::bindBytes(int position, const QByteArray& utf8) {
    if (position < 1) return;
    if (static_cast<size_t>(position) > held_.size()) held_.resize(position);
    // The statement keeps (shares) the bytes until they are bound anew, so the engine need not
    // copy them.
    QByteArray& bytes = held_[position - 1];
    bytes = utf8;
    bindUnheld(position, bytes);
}

void PreparedStatement::bindUnheld(int position, const QByteArray& utf8) {
    used_ = true;
    // An empty text stays an empty text: the engine binds NULL for a null pointer.
    sqlite3_bind_text(statement_, position, utf8.isEmpty() ? "" : utf8.constData(),
                      static_cast<int>(utf8.size()), SQLITE_STATIC);
}

void PreparedStatement::bindBytes(int position, const std::optional<QByteArray>& utf8) {
    if (utf8)
        bindBytes(position, *utf8);
    else
        bindNull(position);
}

void PreparedStatement::bindBorrowed(int position, const std::optional<QByteArray>& utf8) {
    if (utf8)
        bindUnheld(position, *utf8);
    else
        bindNull(position);
}

void PreparedStatement::bindText(int position, const std::optional<QString>& value) {
    if (value)
        bindText(position, *value);
    else
        bindNull(position);
}

void PreparedStatement::bindInt(int position, qint64 value) {
    used_ = true;
    sqlite3_bind_int64(statement_, position, value);
}

void PreparedStatement::bindDouble(int position, double value) {
    used_ = true;
    sqlite3_bind_double(statement_, position, value);
}

void PreparedStatement::bindNull(int position) {
    used_ = true;
    sqlite3_bind_null(statement_, position);
}

int PreparedStatement::step() {
    used_ = true;
    return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE;
}

bool PreparedStatement::next() {
    if (!ok()) return false;
    used_ = true;
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code != SQLITE_DONE) {
        code_ = code;
        error_ = QString::fromUtf8(sqlite3_errmsg(connection_));
    }
    return false;
}

void PreparedStatement::reset() {
    // A statement reset and unbound since its last use has nothing to undo.
    if (!used_) return;
    used_ = false;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    held_.clear();
}

void PreparedStatement::rewind() {
    if (statement_ != nullptr) sqlite3_reset(statement_);
}

int PreparedStatement::columnType(int column) const {
    return sqlite3_column_type(statement_, column);
}

qint64 PreparedStatement::columnInt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double PreparedStatement::columnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

QString PreparedStatement::columnText(int column) const {
    int size = 0;
    const char* bytes = columnBytes(column, size);
    return QString::fromUtf8(bytes, size);
}

const char* PreparedStatement::columnBytes(int column, int& size) const {
    const auto* text = sqlite3_column_text(statement_, column);
    size = sqlite3_column_bytes(statement_, column);
    return reinterpret_cast<const char*>(text);
}

bool PreparedStatement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

bool PreparedStatement::isNumber(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

const char* PreparedStatement::cText(int column) const {
    return reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
}

std::string_view PreparedStatement::bytes(int column) const {
    const char* text = cText(column);
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

int PreparedStatement::timeOfDay(int column) const {
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

Transaction::Transaction(sqlite3* db) : db_(db) {
    // Immediate: the write lock is taken now, so no other writer slips in between the reads
    // that decide and the writes.
    begun_ = db && sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK;
    open_ = begun_;
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
}

bool Transaction::commit() {
    if (!open_) return false;
    if (sqlite3_exec(db_, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    open_ = false;
    return true;
}

}  // namespace sorvenka
