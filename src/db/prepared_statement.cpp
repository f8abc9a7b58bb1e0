#include "db/prepared_statement.h"

#include <sqlite3.h>

namespace sorvenka {

PreparedStatement::PreparedStatement(sqlite3* db, const char* sql) {
    prepareCode_ = db ? sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) : SQLITE_MISUSE;
    if (prepareCode_ != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

PreparedStatement::~PreparedStatement() {
    sqlite3_finalize(statement_);
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

void PreparedStatement::reset() {
    // A statement reset and unbound since its last use has nothing to undo.
    if (!used_) return;
    used_ = false;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    held_.clear();
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
