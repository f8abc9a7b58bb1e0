// Rows of a day as another tool could have written them, in raw UTF-16: a record line carries
// a key exactly when the key cells are of their form, and then exactly that key; the export
// text is the line's visible part; any text at all parses to no key or a key of its form.
#include <QDateTime>

#include "common/log.h"
#include "common/platform.h"
#include "db/database.h"
#include "fuzz_input.h"
#include "record_list/record_key.h"
#include "record_list/record_lines.h"

namespace {

// The lines never need the desktop: every column is present, so no message is ever shown.
class SilentPlatform : public sorvenka::Platform {
  public:
    sorvenka::Answer message(const QString&, sorvenka::Buttons, const QString&) override {
        std::abort();
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QDateTime now() override { return {}; }
    void shellOpen(const QString&) override {}
    void playWave(const QString&) override {}

  protected:
    void exitProcess(int) override { std::abort(); }
};

const QString kHeader = QStringLiteral(
    "grp_cd\tgrp_name\texer_cd\texer_name\tset_num\thms_sta\thms_end\ttarget\tunit_t\tcnt\tunit\t"
    "cnt_min\tcnt_sec\tsweat_name\tcomment");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentPlatform platform;
    static sorvenka::Log log(platform, QStringLiteral("/nonexistent"), QStringLiteral("fuzz"));
    static sorvenka::Database db(platform, log);

    const QString text = sorvenka::fuzz::RawUtf16(data, size);
    // A cell holds no TAB (the row's separator); the day is the program's own.
    QStringList cells = sorvenka::fuzz::Fields(text, 16);
    for (QString& cell : cells) cell.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QString ymd = cells.takeFirst();
    const QString day =
        sorvenka::IsRecordKeyOfForm(ymd, u"01", u"01", u"1") ? ymd : QStringLiteral("2024/05/14");

    const sorvenka::ResultTable table{kHeader, cells.join(QLatin1Char('\t'))};
    for (const bool comments : {false, true}) {
        const std::vector<sorvenka::ListLine> lines =
            sorvenka::FormatDayRecords(db, day, table, comments);
        REQUIRE(!lines.empty() && lines[0].kind == sorvenka::LineKind::Record);
        const sorvenka::RecordKey cellsKey{day, cells[0], cells[2], cells[4]};
        sorvenka::RecordKey key;
        const bool found = sorvenka::ParseRecordKey(lines[0].text, key);
        REQUIRE(found == sorvenka::IsRecordKeyOfForm(cellsKey));
        if (found)
            REQUIRE(key.ymd == cellsKey.ymd && key.grp_cd == cellsKey.grp_cd &&
                    key.exer_cd == cellsKey.exer_cd && key.set_num == cellsKey.set_num);
        for (const sorvenka::ListLine& line : lines) {
            const QString exported = sorvenka::ExportLineText(line);
            REQUIRE(line.text.startsWith(exported));
            if (line.kind != sorvenka::LineKind::Record) {
                REQUIRE(exported == line.text);
                REQUIRE(!sorvenka::ParseRecordKey(line.text, key) ||
                        sorvenka::IsRecordKeyOfForm(key));
            }
        }
    }

    // Any text: no key, or a key of its form.
    sorvenka::RecordKey key;
    if (sorvenka::ParseRecordKey(text, key)) REQUIRE(sorvenka::IsRecordKeyOfForm(key));
    return 0;
}
