#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace sorvenka {

// One prepared statement with bound values, finalized when it goes out of scope: the one
// statement type of the program (the database layer, the CSV import and export, the progress
// figures). Values typed by the user are bound, never written into a statement's text; the
// engine's own codes are returned unchanged.
class PreparedStatement {
  public:
    PreparedStatement() = default;
    // A UTF-8 text.
    PreparedStatement(sqlite3* db, const char* sql);
    // A UTF-16 text, prepared as UTF-16 (the statements the program builds as text).
    PreparedStatement(sqlite3* db, const QString& sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;
    PreparedStatement(PreparedStatement&& other) noexcept;
    PreparedStatement& operator=(PreparedStatement&& other) noexcept;

    // Prepared, and no step through next() has failed since.
    bool ok() const { return statement_ != nullptr && code_ == 0; }
    explicit operator bool() const { return statement_ != nullptr; }
    int prepareCode() const { return prepareCode_; }
    // The engine's message of the failed prepare or step.
    const QString& error() const { return error_; }
    // The engine's handle, for the database layer's row readers.
    sqlite3_stmt* handle() const { return statement_; }
    // Finalizes now: the engine's code of the finalize (SQLITE_OK when nothing was pending).
    int finalize();

    // Positions count from 1. An absent value binds NULL.
    void bindText(int position, const QString& value);
    void bindText(int position, const std::optional<QString>& value);
    // UTF-8 bytes as they are; an absent value binds NULL.
    void bindBytes(int position, const QByteArray& utf8);
    void bindBytes(int position, const std::optional<QByteArray>& utf8);
    // The same, without holding the bytes: the caller keeps them unchanged until the statement
    // has been stepped and reset (rows written one by one from a buffer that outlives them).
    void bindBorrowed(int position, const std::optional<QByteArray>& utf8);
    void bindInt(int position, qint64 value);
    void bindDouble(int position, double value);
    void bindNull(int position);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // The next row; false at the end or on a failure, which ok() and error() then tell.
    bool next();
    // Ready for the next binding: resets and clears the bound values (and lets go of their
    // bytes).
    void reset();
    // Ready for the next step with the values still bound: for a statement whose every value
    // is bound anew before each step, so the engine has nothing to clear.
    void rewind();

    // The column's storage class (SQLITE_INTEGER, ...), and its value.
    int columnType(int column) const;
    qint64 columnInt(int column) const;
    double columnDouble(int column) const;
    QString columnText(int column) const;
    // The UTF-8 bytes of a TEXT cell as the engine holds them, valid until the next step.
    const char* columnBytes(int column, int& size) const;
    bool isNull(int column) const;
    // An integer or a real.
    bool isNumber(int column) const;
    // The value as a NUL-terminated UTF-8 text without a copy (null for NULL), valid until
    // the next step: one call into the engine where a row is read in bulk.
    const char* cText(int column) const;
    // The stored text's bytes without a copy (UTF-8), valid until the next step.
    std::string_view bytes(int column) const;
    // Seconds since midnight of a stored hh:nn:ss (hour 00-23); -1 for anything else.
    int timeOfDay(int column) const;

  private:
    // Binds the bytes where they stand (the engine does not copy them).
    void bindUnheld(int position, const QByteArray& utf8);
    void prepared(sqlite3_stmt* raw);
    void release();

    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    int prepareCode_ = 0;
    int code_ = 0;  // the failure of the prepare or of next()
    QString error_;
    std::vector<QByteArray> held_;  // the bound texts, by position
    bool used_ = false;             // bound or stepped since the last reset
};

// A write transaction: begun at construction, rolled back at destruction unless committed.
class Transaction {
  public:
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool begun() const { return begun_; }
    // False when the commit failed; the transaction is then rolled back.
    bool commit();

  private:
    sqlite3* db_;
    bool begun_ = false;
    bool open_ = false;
};

}  // namespace sorvenka
