#include "support/program_version.h"

namespace sorvenka::testing {

QString ExpectedVersionText() {
    // SORVENKA_PROJECT_VERSION: the project version of the build ("2.0.3"), given to this file
    // alone so that a new version recompiles nothing else.
    return QStringLiteral("Ver") + QStringLiteral(SORVENKA_PROJECT_VERSION);
}

}  // namespace sorvenka::testing
