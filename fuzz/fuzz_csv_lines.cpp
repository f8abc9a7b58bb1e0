// Any file at all: the reader's own splitting of rows must read it exactly as libcsv
// alone does (the same rows, fields, lines, refusals and failure).
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

#include "csv/csv_reader.h"

namespace {

struct Reading {
    bool ok = false;
    std::vector<sorvenka::CsvRow> rows;
    QString message;
    qint64 errorLine = 0;
};

bool Same(const sorvenka::CsvRow& a, const sorvenka::CsvRow& b) {
    return a.line == b.line && a.fields == b.fields && a.refusal == b.refusal;
}

Reading Read(const QString& path, bool throughLibcsvOnly) {
    sorvenka::CsvReader reader;
    if (throughLibcsvOnly) reader.readEveryLineThroughLibcsv();
    Reading reading;
    if (!reader.open(path, reading.message)) return reading;
    reading.ok = reader.read(
        [&](sorvenka::CsvRow& row) {
            reading.rows.push_back(row);
            return true;
        },
        reading.message, reading.errorLine);
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.csv"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
            std::abort();
    }
    const Reading own = Read(path, false);
    const Reading libcsv = Read(path, true);
    if (own.ok != libcsv.ok || own.message != libcsv.message || own.errorLine != libcsv.errorLine ||
        own.rows.size() != libcsv.rows.size())
        std::abort();
    for (size_t i = 0; i < own.rows.size(); ++i)
        if (!Same(own.rows[i], libcsv.rows[i])) std::abort();
    return 0;
}
