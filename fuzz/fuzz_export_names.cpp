// Export names in raw UTF-16: an accepted name always names a file directly inside the folder,
// and the proposed name is always of its pattern.
#include <QDir>

#include "export/export_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QStringList f = sorvenka::fuzz::Fields(sorvenka::fuzz::RawUtf16(data + 1, size - 1), 3);

    const QString& name = f[0];
    if (sorvenka::IsPlainFileName(name)) {
        const QString folder = QStringLiteral("/base/rec");
        const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name);
        REQUIRE(path.startsWith(folder + QLatin1Char('/')));
        REQUIRE(!path.mid(folder.size() + 1).contains(QLatin1Char('/')));
        REQUIRE(!name.contains(QLatin1Char('\\')) && !name.contains(QChar(0)));
    }

    const QString proposal = sorvenka::ProposedExportName(f[1], f[2], (data[0] & 1) != 0);
    REQUIRE(proposal.startsWith(QStringLiteral("Rec")) &&
            proposal.endsWith(QStringLiteral(".txt")));
    REQUIRE(proposal.contains(f[2]));
    return 0;
}
