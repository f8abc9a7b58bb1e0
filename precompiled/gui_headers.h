// Headers most of the windows' sources include, parsed once per build in place of once per file.
#pragma once

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
