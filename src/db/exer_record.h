#pragma once

#include <QString>

namespace sorvenka {

// The key of one stored set.
struct RecordKey {
    QString ymd;
    QString grp_cd;
    QString exer_cd;
    QString set_num;
};

// One performed set as texts named like the columns of t_exer; NULL travels as "".
struct ExerRecord {
    QString ymd, grp_cd, exer_cd, set_num;
    QString hms_sta, hms_end;
    QString target, unit_t;
    QString cnt, unit;
    QString cnt_min, cnt_sec;
    QString sweat_cd;
    QString comment;

    RecordKey key() const { return {ymd, grp_cd, exer_cd, set_num}; }
};

}  // namespace sorvenka
