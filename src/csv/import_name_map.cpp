#include "csv/import_name_map.h"

#include "masters/source_names.h"

namespace sorvenka {

bool ReadSavedNameChoices(sqlite3* db, QHash<QString, ExerciseTarget>& choices) {
    choices.clear();
    QHash<QString, ExerciseKey> names;
    if (!ReadSourceNames(db, names)) return false;
    for (auto it = names.constBegin(); it != names.constEnd(); ++it)
        choices.insert(it.key(), {it->grpCd, it->exerCd});
    return true;
}

bool SaveNameChoice(sqlite3* db, const QString& name, const ExerciseTarget& target) {
    return SaveSourceName(db, name, {target.grpCd, target.exerCd});
}

}  // namespace sorvenka
