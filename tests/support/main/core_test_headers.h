// Headers most tests of the core include, precompiled once for all of them.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
