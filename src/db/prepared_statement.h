#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace sorvenka {

// One prepared statement with bound values, finalized when it goes out of scope. Used where
// many rows go through the same statement (the CSV import and export); the engine's own
// codes are returned unchanged.
class PreparedStatement {
  public:
    PreparedStatement(sqlite3* db, const char* sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    bool ok() const { return statement_ != nullptr; }
    int prepareCode() const { return prepareCode_; }

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
    // Ready for the next binding: resets and clears the bound values (and lets go of their
    // bytes).
    void reset();

    // The column's storage class (SQLITE_INTEGER, ...), and its value.
    int columnType(int column) const;
    qint64 columnInt(int column) const;
    double columnDouble(int column) const;
    QString columnText(int column) const;
    // The UTF-8 bytes of a TEXT cell as the engine holds them, valid until the next step.
    const char* columnBytes(int column, int& size) const;

  private:
    // Binds the bytes where they stand (the engine does not copy them).
    void bindUnheld(int position, const QByteArray& utf8);

    sqlite3_stmt* statement_ = nullptr;
    int prepareCode_ = 0;
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
