#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "db/prepared_statement.h"
#include "db/result_table.h"
#include "db/row_cells.h"

struct sqlite3;
struct sqlite3_stmt;

namespace sorvenka {

class Log;
class Platform;

// The one connection of the program and the only road to the database. Statements are
// handed over as UTF-16 text and live only inside one call. Failures are reported by the
// result; the paths that the program cannot recover from end it through the platform.
class Database {
  public:
    Database(Platform& platform, Log& log);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // DBOpenDB: logs "DBOpenDB", opens (and creates) the file. False with "DBFile Open Error".
    bool open(const QString& path, QString& message);
    // DBCloseDB: logs "SQLite3Close" and closes the connection.
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    // SQLite3NonQuery: 0 on success, else the failing SQLite code after showing
    // "SQLite3NonQuery Error" and the statement, or for a cause the user can act on (read-only,
    // disk full, damaged file, ...) its plain words, the statement then going to the log. A
    // database locked beyond the busy wait shows "The database file is locked" and ends the
    // program.
    int nonQuery(const QString& sql, QString& message);
    // SQLite3Query: true when the query ran to its end. On failure the connection is closed and
    // message holds "Returned N:..." with the statement, or for a cause the user can act on
    // (locked by another program, damaged file, ...) its plain words, the statement then going
    // to the log; the caller ends the program.
    bool query(const QString& sql, ResultTable& table, QString& message);
    // The same query with its rows handed to the sink as they are stepped, instead of
    // collected into a table: the cells the sink sees are the table's cells, row by row,
    // with the same texts and the same split at TAB. Same results and failures as query.
    bool queryRows(const QString& sql, RowSink& sink, QString& message);
    // The same with the values bound in place of the parameters ?1, ?2, ... of sql: its
    // statement is prepared once and kept for the next run of the same text, so that a read
    // repeated day after day is not compiled anew each time. shownSql gives the text with the
    // values written in; rows and failures (their messages too) are those of queryRows on it.
    bool queryRowsBound(const QString& sql, std::span<const QString> values,
                        const std::function<QString()>& shownSql, RowSink& sink, QString& message);

    // Frees the engine's caches of this connection that no statement uses.
    void releaseMemory();

    // GetColValue: one cell by row and exact column name. A missing column shows the
    // "Error!" box and ends the program through the fatal report.
    QString colValue(const ResultTable& table, int row, const QString& name);
    // FatalErrorExit: closes, logs and shows the error report, then ends the program.
    [[noreturn]] void fatalErrorExit(const QString& errorDescription = QString());

    // Shows a query's failure message and ends the program: the reads' common failure path.
    [[noreturn]] void failQuery(const QString& message);

    // The open connection (null when closed) for modules that prepare their own statements
    // with bound values, such as the progress figures.
    sqlite3* connection() const { return handle_.get(); }

    Platform& platform() { return platform_; }
    // The engine's connection, for the statements prepared once and run for many rows.
    sqlite3* rawHandle() const { return handle_.get(); }
    Log& log() { return log_; }

    // How long a statement waits for another process's lock before it gives up.
    static constexpr int kBusyTimeoutMilliseconds = 3000;

  private:
    // Prepares a statement's text; misuse for a closed connection or a text that is not valid
    // UTF-16.
    static int prepare(sqlite3* handle, const QString& sql, PreparedStatement& statement);
    // Prepares and steps a query, calling onRow for every row; the failure paths of query.
    bool stepRows(const QString& sql, QString& message,
                  const std::function<void(sqlite3_stmt*)>& onRow);
    // Reads the current row's cells into the kept buffers (streamed queries).
    void readRowCells(sqlite3_stmt* statement, RowCells& cells);
    void readColumnNames(sqlite3_stmt* statement, RowCells& names);
    // Hands one stepped row to the sink, the column names before the first.
    void feedRow(sqlite3_stmt* statement, RowSink& sink, RowCells& cells, bool& first);
    // A query's failure: closes the connection and writes "Returned N:..." with sql. False.
    bool failed(int code, const QString& sql, QString& message);
    void dropKeptStatement();
    void closeConnection();

    struct Closer {
        void operator()(sqlite3* handle) const;
    };

    Platform& platform_;
    Log& log_;
    QString path_;  // the file of the last open, named in messages
    std::unique_ptr<sqlite3, Closer> handle_;
    // The statement of the last bound query and its text; finalized before the connection
    // closes (declared after it, so also on destruction).
    PreparedStatement kept_;
    QString keptSql_;
    // Cell texts of streamed rows: kept from row to row and query to query, so that reading
    // a row allocates nothing once the buffers have grown.
    std::vector<QString> cellTexts_;
    std::vector<QString> nameTexts_;
    // FLOAT cells already formatted: loads repeat a few values over and over.
    QHash<quint64, QString> floatTexts_;
};

}  // namespace sorvenka
