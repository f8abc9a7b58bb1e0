// Headers most of the core's sources include, parsed once per build in place of once per file.
// Qt Core, the engine and the standard library only: the core never sees Qt Gui.
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
