// Values of a set in raw UTF-16 (a mask names the values the input replaces in a valid set):
// whatever the form checks accept must give an insert and an
// update that the engine reads as one statement, storing every value exactly as given.
#include <sqlite3.h>

#include <QStringDecoder>
#include <algorithm>

#include "db/record_statements.h"
#include "db/value_forms.h"
#include "fuzz_input.h"

namespace {

sqlite3* Database() {
    static sqlite3* db = [] {
        sqlite3* handle = nullptr;
        sqlite3_open(":memory:", &handle);
        sqlite3_exec(handle,
                     "create table t_exer (ymd text not null, grp_cd text not null, exer_cd text "
                     "not null, set_num integer not null, hms_sta text, hms_end text, target "
                     "real, unit_t text, cnt integer, unit text, cnt_min integer, cnt_sec "
                     "integer, sweat_cd text, comment text, primary key (ymd, grp_cd, exer_cd, "
                     "set_num));"
                     "create table other (x);",
                     nullptr, nullptr, nullptr);
        return handle;
    }();
    return db;
}

// Runs the statement text as the program does; false when the engine refuses it. The whole
// text must be one statement: nothing may follow it but blanks.
bool RunOne(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    const void* tail = nullptr;
    const int size = static_cast<int>(sql.size() * 2);
    if (sqlite3_prepare16_v2(Database(), sql.utf16(), size, &statement, &tail) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return false;
    }
    const auto* end = reinterpret_cast<const char16_t*>(sql.utf16()) + sql.size();
    for (auto* rest = static_cast<const char16_t*>(tail); rest < end; ++rest)
        REQUIRE(*rest == u' ' || *rest == u'\r' || *rest == u'\n');
    const int code = sqlite3_step(statement);
    sqlite3_finalize(statement);
    return code == SQLITE_DONE;
}

// Read back from the engine's UTF-8 (its own UTF-16 reading turns U+FFFF into U+FFFD), with a
// byte order mark at the start kept as the character it is.
QString StoredText(const char* column) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QByteArray("select ") + column + " from t_exer";
    sqlite3_prepare_v2(Database(), sql.constData(), -1, &statement, nullptr);
    QString value;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        value = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
                    .decode(QByteArrayView(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                        sqlite3_column_bytes(statement, 0)));
    sqlite3_finalize(statement);
    return value;
}

int Count(const char* table) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(Database(), (QByteArray("select count(*) from ") + table).constData(), -1,
                       &statement, nullptr);
    sqlite3_step(statement);
    const int count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return count;
}

void ExpectStored(const sorvenka::ExerRecord& r) {
    REQUIRE(Count("t_exer") == 1 && Count("other") == 0);
    REQUIRE(StoredText("comment") == r.comment);
    REQUIRE(StoredText("unit_t") == r.unit_t);
    REQUIRE(StoredText("grp_cd") == r.grp_cd && StoredText("exer_cd") == r.exer_cd);
    REQUIRE(StoredText("sweat_cd") == r.sweat_cd);
}

// A valid set in count or duration form; the input replaces the values its mask names.
sorvenka::ExerRecord ValidSet(bool countForm) {
    sorvenka::ExerRecord r;
    r.ymd = QStringLiteral("2024/05/14");
    r.grp_cd = QStringLiteral("01");
    r.exer_cd = QStringLiteral("02");
    r.set_num = QStringLiteral("3");
    r.hms_sta = QStringLiteral("09:00:00");
    r.hms_end = QStringLiteral("09:01:30");
    r.target = QStringLiteral("60.5");
    r.unit_t = QStringLiteral("kg");
    r.cnt = countForm ? QStringLiteral("10") : QString();
    r.unit = QStringLiteral("回");
    r.cnt_min = countForm ? QString() : QStringLiteral("1");
    r.cnt_sec = countForm ? QString() : QStringLiteral("30");
    r.sweat_cd = QStringLiteral("2");
    r.comment = QStringLiteral("ok");
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const bool countForm = (data[0] & 1) != 0;
    const unsigned mask = data[1] | (data[2] << 8);
    sorvenka::ExerRecord r = ValidSet(countForm);
    QString* values[] = {&r.comment,  &r.unit_t, &r.unit,    &r.grp_cd,  &r.exer_cd,
                         &r.sweat_cd, &r.ymd,    &r.set_num, &r.hms_sta, &r.hms_end,
                         &r.target,   &r.cnt,    &r.cnt_min, &r.cnt_sec};
    const QStringList f = sorvenka::fuzz::Fields(sorvenka::fuzz::RawUtf16(data + 3, size - 3), 14);
    int next = 0;
    for (int i = 0; i < 14; ++i)
        if (mask & (1u << i)) *values[i] = f[next++];

    QString message;
    if (!sorvenka::CheckRecordForm(r, countForm, message)) return 0;
    // Long digit runs are numbers the engine stores as reals; they are no key to read back.
    if (r.set_num.size() > 15) return 0;

    sqlite3_exec(Database(), "delete from t_exer", nullptr, nullptr, nullptr);
    const QString insert =
        countForm ? sorvenka::InsertExerCountSql(r) : sorvenka::InsertExerTimeSql(r);
    REQUIRE(RunOne(insert));
    ExpectStored(r);

    // The same set updated with the comment and units reversed: still one row, exactly these.
    std::reverse(r.comment.begin(), r.comment.end());
    QString checked;
    if (sorvenka::CheckRecordForm(r, countForm, checked)) {
        REQUIRE(
            RunOne(countForm ? sorvenka::UpdateExerCountSql(r) : sorvenka::UpdateExerTimeSql(r)));
        ExpectStored(r);
    }
    REQUIRE(RunOne(sorvenka::DeleteExerSql(r.key())));
    REQUIRE(Count("t_exer") == 0);
    return 0;
}
