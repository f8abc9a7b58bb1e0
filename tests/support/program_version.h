#pragma once

#include <QString>

namespace sorvenka::testing {

// "Ver2.0.3": the version text the program writes (caption, log header, fatal report,
// --version), formed from the build's project version rather than from the program's own
// header, so that a version typed in the program that differs from the build's shows.
QString ExpectedVersionText();

}  // namespace sorvenka::testing
