#pragma once

#include <QString>
#include <memory>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace sorvenka {

// One prepared statement with bound values, finalized when it goes out of scope. The progress
// figures read through it: values typed by the user never become part of the statement text.
class BoundStatement {
  public:
    BoundStatement(sqlite3* connection, const char* sql);

    // False with the engine's message when the statement could not be prepared (a table or
    // column missing from a file edited elsewhere) or a step failed.
    bool ok() const { return code_ == 0; }
    const QString& error() const { return error_; }

    // Binds a text to the 1-based parameter.
    void bind(int index, const QString& value);
    // The next row; false at the end or on a failure (see ok()).
    bool next();

    bool isNull(int column) const;
    // A whole number stored as one; false for a text, a real, a blob or NULL.
    bool isInteger(int column) const;
    // An integer or a real.
    bool isNumber(int column) const;
    double real(int column) const;
    long long integer(int column) const;
    QString text(int column) const;
    // The engine's type of the value: SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, ...
    int type(int column) const;
    // The value as a NUL-terminated UTF-8 text without a copy (null for NULL), valid until
    // the next step: one call into the engine where a row is read in bulk.
    const char* cText(int column) const;
    // The stored text's bytes without a copy (UTF-8), valid until the next step.
    std::string_view bytes(int column) const;
    // Seconds since midnight of a stored hh:nn:ss (hour 00-23); -1 for anything else.
    int timeOfDay(int column) const;

  private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    void fail();

    sqlite3* connection_;
    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
    int code_ = 0;
    QString error_;
};

}  // namespace sorvenka
