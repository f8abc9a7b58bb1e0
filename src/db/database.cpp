#include "db/database.h"

#include <sqlite3.h>

#include <QStringDecoder>
#include <bit>
#include <cstring>

#include "common/log.h"
#include "common/platform.h"
#include "common/utf16.h"
#include "common/version.h"
#include "db/cell_text.h"
#include "db/engine_causes.h"

namespace sorvenka {

namespace {

QString fromUtf8(const unsigned char* text) {
    if (text == nullptr || *text == 0) return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

QString cellText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            // 64-bit, so that a long count typed as digits reads back as stored.
            return QString::number(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return FloatCellText(sqlite3_column_double(statement, column));
        case SQLITE_NULL:
            return QString();
        default:  // TEXT and BLOB
            return fromUtf8(sqlite3_column_text(statement, column));
    }
}

QString rowText(sqlite3_stmt* statement) {
    QStringList cells;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) cells << cellText(statement, i);
    return cells.join(QLatin1Char('\t'));
}

QString headerText(sqlite3_stmt* statement) {
    QStringList names;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i)
        names << fromUtf8(
            reinterpret_cast<const unsigned char*>(sqlite3_column_name(statement, i)));
    return names.join(QLatin1Char('\t'));
}

}  // namespace

int Database::prepare(sqlite3* handle, const QString& sql, PreparedStatement& statement) {
    statement = PreparedStatement();
    // A closed connection is misuse; the engine is not asked, since it may not check for it.
    if (handle == nullptr) return SQLITE_MISUSE;
    // An unpaired surrogate would swallow the character after it, a closing quote included.
    if (!IsValidUtf16(sql)) return SQLITE_MISUSE;
    statement = PreparedStatement(handle, sql);
    return statement.prepareCode();
}

namespace {

// Replaces text by the UTF-8 of a cell as QString::fromUtf8 reads it (a NUL ends the text,
// invalid bytes become U+FFFD, a leading byte-order mark is dropped), reusing text's storage.
// Tells whether the text holds a TAB.
bool assignUtf8(QString& text, const unsigned char* bytes) {
    text.truncate(0);
    if (bytes == nullptr) return false;
    const char* chars = reinterpret_cast<const char*>(bytes);
    bool tab = false;
    qsizetype i = 0;
    for (; chars[i] != 0 && static_cast<unsigned char>(chars[i]) < 0x80; ++i)
        tab |= chars[i] == '\t';
    if (chars[i] == 0) {
        text.append(QLatin1StringView(chars, i));
        return tab;
    }
    const qsizetype size = i + static_cast<qsizetype>(std::strlen(chars + i));
    // A TAB byte is never part of a longer UTF-8 sequence.
    tab = tab || std::memchr(chars + i, '\t', static_cast<size_t>(size - i)) != nullptr;
    // Never more UTF-16 units than bytes.
    text.resize(size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar* end = decoder.appendToBuffer(text.data(), QByteArrayView(chars, size));
    text.truncate(end - text.constData());
    return tab;
}

// Steps a statement to its end, handing every row to onRow: SQLITE_DONE or the failing code.
template <typename OnRow>
int stepAll(sqlite3_stmt* statement, const OnRow& onRow) {
    for (;;) {
        const int code = sqlite3_step(statement);
        if (code != SQLITE_ROW) return code;
        onRow(statement);
    }
}

bool isBusy(int code) {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

const QString kLockedMessage = QStringLiteral("The database file is locked");

}  // namespace

void Database::Closer::operator()(sqlite3* handle) const {
    sqlite3_close(handle);
}

Database::Database(Platform& platform, Log& log) : platform_(platform), log_(log) {}

Database::~Database() = default;

bool Database::open(const QString& path, QString& message) {
    log_.write(QStringLiteral("DBOpenDB"));
    message.clear();
    path_ = path;
    // The engine is linked in, so binding it cannot fail.
    // The connection is only ever used by the thread that opened it, so the engine need not
    // lock it on every call (steps and cell reads are many).
    closeConnection();
    sqlite3* raw = nullptr;
    int code =
        sqlite3_open_v2(path.toUtf8().constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    handle_.reset(raw);
    // A file made by this call holds its texts as UTF-16, as it always has; the setting is
    // ignored for a file that exists.
    if (code == SQLITE_OK)
        code = sqlite3_exec(handle_.get(), "PRAGMA encoding = 'UTF-16'", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        closeConnection();
        message = QStringLiteral("DBFile Open Error");
        return false;
    }
    // Another program holding a lock is waited for a bounded time, by prepare and step alike.
    sqlite3_busy_timeout(handle_.get(), kBusyTimeoutMilliseconds);
    return true;
}

void Database::close() {
    log_.write(QStringLiteral("SQLite3Close"));
    closeConnection();
}

int Database::nonQuery(const QString& sql, QString& message) {
    PreparedStatement statement;
    int code = prepare(handle_.get(), sql, statement);
    if (code == SQLITE_OK) {
        code = statement.step();
        if (code == SQLITE_DONE) {
            code = statement.finalize();
            if (code == SQLITE_OK) {
                message.clear();
                return 0;
            }
        }
    }
    if (isBusy(code)) {
        platform_.message(kLockedMessage);
        platform_.endProgram(kFailureExitStatus);
    }
    message = QStringLiteral("SQLite3NonQuery Error") + kCrLf + sql;
    platform_.message(message);
    // The failure's own text stays as it is; a cause the user can act on (read-only, a full
    // disk, a damaged file) is named after it in plain words.
    const QString cause = PlainEngineCause(code, path_);
    if (!cause.isEmpty()) {
        log_.write(message + kCrLf + QString::fromUtf8(sqlite3_errstr(code)));
        platform_.message(cause);
    }
    return code;
}

bool Database::query(const QString& sql, ResultTable& table, QString& message) {
    table = ResultTable{QString()};
    return stepRows(sql, message, [&table](sqlite3_stmt* statement) {
        if (table.size() == 1) table[0] = headerText(statement);
        table.append(rowText(statement));
    });
}

bool Database::queryRows(const QString& sql, RowSink& sink, QString& message) {
    RowCells cells;
    bool first = true;
    return stepRows(sql, message,
                    [&](sqlite3_stmt* statement) { feedRow(statement, sink, cells, first); });
}

bool Database::queryRowsBound(const QString& sql, std::span<const QString> values,
                              const std::function<QString()>& shownSql, RowSink& sink,
                              QString& message) {
    message.clear();
    if (!kept_ || keptSql_ != sql) {
        dropKeptStatement();
        PreparedStatement statement;
        const int code = prepare(handle_.get(), sql, statement);
        if (isBusy(code)) return failed(code, shownSql(), message);
        // Any other failure takes the text's road, which reports it as it always has.
        if (code != SQLITE_OK) return queryRows(shownSql(), sink, message);
        kept_ = std::move(statement);
        keptSql_ = sql;
    }
    sqlite3_stmt* statement = kept_.handle();
    const int parameters = sqlite3_bind_parameter_count(statement);
    for (int i = 0; i < parameters; ++i) {
        const QString value = static_cast<size_t>(i) < values.size() ? values[i] : QString();
        // The text's road refuses a value with an unpaired surrogate, as misuse.
        if (!IsValidUtf16(value)) return queryRows(shownSql(), sink, message);
        // An empty text stays an empty text: the engine binds NULL for a null pointer.
        const void* text = value.isEmpty() ? static_cast<const void*>(u"") : value.utf16();
        sqlite3_bind_text16(statement, i + 1, text, static_cast<int>(value.size() * 2),
                            SQLITE_TRANSIENT);
    }
    RowCells cells;
    bool first = true;
    const int code =
        stepAll(statement, [&](sqlite3_stmt* row) { feedRow(row, sink, cells, first); });
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (code == SQLITE_DONE) return true;
    // A statement whose tables changed since it was prepared fails at its first step; the
    // text's road then prepares it anew and reports what is wrong as it always has.
    if (first && !isBusy(code)) {
        dropKeptStatement();
        return queryRows(shownSql(), sink, message);
    }
    return failed(code, shownSql(), message);
}

void Database::feedRow(sqlite3_stmt* statement, RowSink& sink, RowCells& cells, bool& first) {
    if (first) {
        readColumnNames(statement, cells);
        sink.columns(cells);
        first = false;
    }
    readRowCells(statement, cells);
    sink.row(cells);
}

void Database::readColumnNames(sqlite3_stmt* statement, RowCells& names) {
    const int count = sqlite3_column_count(statement);
    if (nameTexts_.size() < static_cast<size_t>(count)) nameTexts_.resize(count);
    names.clear();
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement, i);
        assignUtf8(nameTexts_[i], reinterpret_cast<const unsigned char*>(name));
        names.appendSplit(nameTexts_[i]);
    }
}

void Database::readRowCells(sqlite3_stmt* statement, RowCells& cells) {
    const int count = sqlite3_column_count(statement);
    if (cellTexts_.size() < static_cast<size_t>(count)) cellTexts_.resize(count);
    cells.clear();
    for (int i = 0; i < count; ++i) {
        QString& text = cellTexts_[i];
        bool tab = false;
        switch (sqlite3_column_type(statement, i)) {
            case SQLITE_NULL:
                text.truncate(0);
                break;
            case SQLITE_FLOAT: {
                const double value = sqlite3_column_double(statement, i);
                auto found = floatTexts_.constFind(std::bit_cast<quint64>(value));
                if (found == floatTexts_.constEnd()) {
                    if (floatTexts_.size() >= 4096) floatTexts_.clear();
                    found = floatTexts_.insert(std::bit_cast<quint64>(value), FloatCellText(value));
                }
                text.truncate(0);
                text.append(*found);
                break;
            }
            default:  // INTEGER reads as its decimal digits, TEXT and BLOB as UTF-8
                tab = assignUtf8(text, sqlite3_column_text(statement, i));
                break;
        }
        // A TAB inside a cell splits it, as in the table's row text.
        if (tab)
            cells.appendSplit(text);
        else
            cells.append(text);
    }
}

bool Database::stepRows(const QString& sql, QString& message,
                        const std::function<void(sqlite3_stmt*)>& onRow) {
    message.clear();
    PreparedStatement statement;
    int code = prepare(handle_.get(), sql, statement);
    // A lock held past the busy wait is named as such rather than as a malformed query.
    if (isBusy(code)) return failed(code, sql, message);
    // Stepping the empty statement of a failed prepare gives 21, as the engine does.
    code = statement ? stepAll(statement.handle(), onRow) : SQLITE_MISUSE;
    if (code == SQLITE_DONE) return true;
    statement = PreparedStatement();
    return failed(code, sql, message);
}

bool Database::failed(int code, const QString& sql, QString& message) {
    closeConnection();
    const QString cause = PlainEngineCause(code, path_);
    if (code == SQLITE_MISUSE) {
        message = QStringLiteral("Returned 21:Library used incorrectly") + kCrLf + sql + kCrLf;
    } else if (!cause.isEmpty()) {
        // A cause the user can act on is named in plain words; the statement goes to the log.
        log_.write(QStringLiteral("Returned %1:%2")
                       .arg(code)
                       .arg(QString::fromUtf8(sqlite3_errstr(code))) +
                   kCrLf + sql);
        message = cause;
    } else {
        message = QStringLiteral("Returned %1:%2")
                      .arg(code)
                      .arg(QString::fromUtf8(sqlite3_errstr(code))) +
                  kCrLf + sql + kCrLf;
    }
    return false;
}

void Database::dropKeptStatement() {
    kept_ = PreparedStatement();
    keptSql_.clear();
}

void Database::closeConnection() {
    // The engine closes no connection that still has a statement.
    dropKeptStatement();
    handle_.reset();
}

void Database::releaseMemory() {
    dropKeptStatement();
    if (handle_) sqlite3_db_release_memory(handle_.get());
    cellTexts_.clear();
    cellTexts_.shrink_to_fit();
    floatTexts_.clear();
}

QString Database::colValue(const ResultTable& table, int row, const QString& name) {
    const QString header = table.value(0);
    const int index = static_cast<int>(header.split(QLatin1Char('\t')).indexOf(name));
    if (index < 0) {
        platform_.message(QStringLiteral("Error!") + kCrLf + QStringLiteral("  Cannot find col[") +
                          name + QLatin1Char(']') + kCrLf + QStringLiteral("  cols=[") + header +
                          QLatin1Char(']'));
        fatalErrorExit();
    }
    const QString rowText = table.value(row);
    if (rowText.isEmpty()) return QString();
    return rowText.split(QLatin1Char('\t')).value(index);
}

void Database::fatalErrorExit(const QString& errorDescription) {
    close();
    const QStringList lines{
        platform_.title() + QStringLiteral(" ") + versionText(),
        QString(),
        QStringLiteral("Err.Desc=") + errorDescription,
        QString(),
        QStringLiteral("プログラムを終了します。"),
        QString(),
        QStringLiteral(
            "Morvaneに連絡するときは，以下のファイルを添付して電子メールで連絡してください"),
        QStringLiteral("\u3000(1)エラーが起きたときのログファイル"),
        QStringLiteral("\u3000(2)画面のハードコピー"),
        QStringLiteral("\u3000(3)(できれば)DBファイル"),
    };
    const QString report = lines.join(kCrLf);
    log_.write(report);
    platform_.message(report, Buttons::Ok, QStringLiteral("エラーが発生しました"));
    platform_.endProgram(kFailureExitStatus);
}

void Database::failQuery(const QString& message) {
    platform_.message(message);
    platform_.endProgram(kFailureExitStatus);
}

}  // namespace sorvenka
