#include "support/hostile_copies.h"

#include <QFile>

#include "db/first_database.h"

namespace sorvenka::testing {

const std::vector<HostileCopy>& HostileCopies() {
    static const std::vector<HostileCopy> copies{
        {"a trigger", "create trigger wipe after update on m_exer begin delete from t_exer; end;",
         false, "トリガー wipe"},
        {"an endless view for the record table",
         "drop table t_exer;"
         "create view t_exer(ymd, grp_cd, exer_cd, set_num, hms_sta, hms_end, target, unit_t,"
         " cnt, unit, cnt_min, cnt_sec, sweat_cd, comment) as"
         " with recursive n(i) as (select 1 union all select i + 1 from n)"
         " select '2024/01/01', '01', '01', i, '', '', 0, '', 1, '', null, null, '0', ''"
         " from n;",
         false, "記録の表がありません"},
        {"a foreign schema", "create table foo(x);", true, "記録の表がありません"},
        {"a record table without its comment", "alter table t_exer drop column comment;", false,
         "列が違います"},
    };
    return copies;
}

bool MakeHostileCopy(const QString& path, const HostileCopy& copy) {
    QFile::remove(path);
    QString error;
    if (!copy.fromNothing && !CreateFirstDatabase(path, error)) return false;
    return RunSqlScript(path, QString::fromUtf8(copy.sql), error);
}

}  // namespace sorvenka::testing
