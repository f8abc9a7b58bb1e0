#include "csv/exercise_destinations.h"

#include <sqlite3.h>

#include <string_view>

#include "csv/exercise_names.h"
#include "csv/import_summary_texts.h"
#include "masters/master_names.h"
#include "masters/rest_day.h"

namespace sorvenka {

namespace {

// A file's name as a message can show it: control characters as blanks.
QString VisibleName(QString name) {
    for (QChar& c : name)
        if (NameHasControl(QString(c))) c = QLatin1Char(' ');
    return name;
}

}  // namespace

ExerciseDestinations::ExerciseDestinations(sqlite3* db, ImportMasters& masters, SetWriter& sets,
                                           const ImportOptions& options, ImportSummary& summary)
    : db_(db), masters_(masters), sets_(sets), options_(options), summary_(summary) {}

bool ExerciseDestinations::writeFailed() {
    return summary_.fail(0, WriteFailureText(sqlite3_errcode(db_)));
}

void ExerciseDestinations::noteExisting(const QString& grp, const QString& exer) {
    if (!new_.contains(grp + exer)) existing_.insert(grp + exer);
}

// Rows of one exercise come together, so the same pair as the row before needs no look-up.
bool ExerciseDestinations::own(const OwnSet& set, qint64 line) {
    const QByteArray& grpBytes = set.grpCd();
    const QByteArray& exerBytes = set.exerCd();
    const std::string_view grpView(grpBytes.constData(), grpBytes.size());
    const std::string_view exerView(exerBytes.constData(), exerBytes.size());
    if (havePair_ && grpView == lastGrp_ && exerView == lastExer_) return true;
    havePair_ = true;
    lastGrp_.assign(grpView), lastExer_.assign(exerView);
    // A pair met earlier in the file has its group and exercise by now (looked up first:
    // most pairs are met again, and a look-up allocates nothing).
    std::pair<std::string, std::string> pair(lastGrp_, lastExer_);
    if (checkedPairs_.contains(pair)) return true;
    checkedPairs_.insert(std::move(pair));
    const QString grp = QString::fromUtf8(grpBytes), exer = QString::fromUtf8(exerBytes);
    if (!masters_.group(grp)) {
        const QString given = FieldText(set.grpName());
        if (NameHasControl(given))
            return summary_.fail(line, QStringLiteral("グループ %1 の") + ControlInNameMessage());
        if (!masters_.addGroup(grp, given.isEmpty() ? grp : given)) return writeFailed();
    }
    if (masters_.hasExercise(grp, exer)) {
        noteExisting(grp, exer);
        return true;
    }
    const QString given = FieldText(set.exerName());
    if (NameHasControl(given))
        return summary_.fail(
            line, QStringLiteral("種目 %1-%2 の").arg(grp, exer) + ControlInNameMessage());
    const QString name = given.isEmpty() ? exer : given;
    if (!masters_.addExercise(grp, exer, name)) return writeFailed();
    summary_.newExercises.push_back({name, grp, masters_.group(grp)->name, exer, name});
    new_.insert(grp + exer);
    return true;
}

int ExerciseDestinations::peer(const PeerSet& set, qint64 line, Outcome& outcome) {
    outcome = Outcome::Known;
    if (const auto found = nameIndex_.constFind(set.exerciseName); found != nameIndex_.constEnd()) {
        if (summary_.names[*found].target.exerCd.isEmpty()) outcome = Outcome::OutOfCodes;
        return *found;
    }
    NameUse use;
    use.name = set.exerciseName;
    use.category = set.category;
    if (options_.mapping.contains(use.name)) {
        if (!given(set, use)) {
            outcome = Outcome::Failed;
            return -1;
        }
    } else {
        use.target = propose(use.name, use.category, use.match);
    }
    QString name = use.name;
    if (!newName(use, line, name)) {
        outcome = Outcome::Failed;
        return -1;
    }
    if (use.target.isNew()) {
        const QString grp = use.target.grpCd;
        bool read = true;
        const QString exer = masters_.nextFreeCode(grp, read);
        if (!read) {
            writeFailed();
            outcome = Outcome::Failed;
            return -1;
        }
        const ImportMasters::Group* group = masters_.group(grp);
        summary_.newExercises.push_back({name, grp, group->name, exer, use.name});
        if (exer.isEmpty()) {
            summary_.fail(0, QStringLiteral("グループ「%1 %2」に空いている種目コードがありません。")
                                 .arg(grp, group->name));
            outcome = Outcome::OutOfCodes;
        } else {
            if (!masters_.addExercise(grp, exer, name)) {
                writeFailed();
                outcome = Outcome::Failed;
                return -1;
            }
            new_.insert(grp + exer);
            use.target.exerCd = exer;
            use.created = true;
        }
    } else {
        noteExisting(use.target.grpCd, use.target.exerCd);
    }
    use.exerName = masters_.exerciseName(use.target.grpCd, use.target.exerCd);
    if (const ImportMasters::Group* group = masters_.group(use.target.grpCd))
        use.grpName = group->name;
    const int index = static_cast<int>(summary_.names.size());
    summary_.names.push_back(use);
    nameIndex_.insert(use.name, index);
    return index;
}

// The caller's destination for the name, checked against the masters; false when it cannot be.
bool ExerciseDestinations::given(const PeerSet& set, NameUse& use) {
    use.match = NameMatch::Given;
    use.target = options_.mapping.value(use.name);
    const bool known = use.target.isNew()
                           ? masters_.group(use.target.grpCd) != nullptr
                           : masters_.hasExercise(use.target.grpCd, use.target.exerCd);
    if (!known)
        return summary_.fail(
            0, QStringLiteral("種目「%1」の行き先（グループ %2、種目 %3）はマスタにありません。")
                   .arg(use.name, use.target.grpCd, use.target.exerCd));
    if (IsRestDay(use.target.grpCd, use.target.exerCd))
        return summary_.fail(0, QStringLiteral("種目「%1」: ").arg(use.name) +
                                    RestDayRefusal(RestDayChange::ImportInto));
    // "New" for a name imported before: the exercise its sets went to then takes them when it
    // is in that group, or holds this set already (it was moved or merged since), so the same
    // choice twice adds nothing. Otherwise the user chose anew.
    if (use.target.isNew()) {
        const ExerciseTarget* saved = savedChoice(use.name);
        if (saved && (saved->grpCd == use.target.grpCd ||
                      sets_.holdsLikeSet(set, saved->grpCd, saved->exerCd)))
            use.target = *saved;
        else
            use.target.exerCd = masters_.exerciseInGroup(use.target.grpCd, use.name);
    }
    return true;
}

// The name the user gave the new exercise (a Japanese one, say); a name its group has already
// sends the sets to that exercise. False when the given name cannot be a name.
bool ExerciseDestinations::newName(NameUse& use, qint64 line, QString& name) {
    if (!use.target.isNew()) return true;
    const QString typed = options_.newNames.value(use.name);
    QString message;
    if (!typed.trimmed().isEmpty() && !CheckedMasterName(typed, name, message))
        return summary_.fail(line,
                             QStringLiteral("種目「%1」の新しい名前: %2").arg(use.name, message));
    // The file's own name becomes the new exercise's unless the user gives another.
    if (typed.trimmed().isEmpty() && NameHasControl(use.name))
        return summary_.fail(line, QStringLiteral("種目「%1」の%2新しい名前を指定してください。")
                                       .arg(VisibleName(use.name), ControlInNameMessage()));
    if (name != use.name) {
        use.target.exerCd = masters_.exerciseInGroup(use.target.grpCd, name);
        if (!use.target.isNew()) use.match = NameMatch::SameName;
    }
    return true;
}

// Where a name's sets go when the caller gave nothing: the choice kept from an earlier
// import, an exercise of the same name, one of the Japanese name of a common exercise, else a
// new exercise in the group of its category or body part.
ExerciseTarget ExerciseDestinations::propose(const QString& name, const QString& category,
                                             NameMatch& match) const {
    ExerciseTarget target;
    if (const ExerciseTarget* saved = savedChoice(name)) {
        match = NameMatch::Saved;
        return *saved;
    }
    if (masters_.exerciseByKey(name, target.grpCd, target.exerCd)) {
        match = NameMatch::SameName;
        return target;
    }
    const CommonExercise common = LookUpCommonExercise(name);
    if (!common.japaneseName.isEmpty() &&
        masters_.exerciseByKey(common.japaneseName, target.grpCd, target.exerCd)) {
        match = NameMatch::CommonName;
        return target;
    }
    match = NameMatch::New;
    target.exerCd.clear();
    target.grpCd = options_.group;
    if (target.grpCd.isEmpty()) target.grpCd = masters_.groupForCategory(category);
    if (target.grpCd.isEmpty() && common.part != BodyPart::Unknown)
        target.grpCd = masters_.groupNamed(BodyPartGroupName(common.part));
    if (target.grpCd.isEmpty())
        target.grpCd = masters_.groupNamed(BodyPartGroupName(BodyPart::Other));
    if (target.grpCd.isEmpty()) target.grpCd = masters_.groups().front().code;
    return target;
}

// Where an earlier import wrote the name's sets, when that exercise is still there.
const ExerciseTarget* ExerciseDestinations::savedChoice(const QString& name) const {
    const auto saved = savedChoices_.constFind(name);
    if (saved == savedChoices_.constEnd() || !masters_.hasExercise(saved->grpCd, saved->exerCd) ||
        IsRestDay(saved->grpCd, saved->exerCd))
        return nullptr;
    return &*saved;
}

bool ExerciseDestinations::saveChoices() {
    // The masters' changes carry the choices along, so renaming, moving or merging the
    // exercise never makes that import write the sets again.
    for (const NameUse& use : summary_.names) {
        if (use.target.exerCd.isEmpty()) continue;
        if (!SaveNameChoice(db_, use.name, use.target))
            return summary_.fail(0, QStringLiteral("種目の対応を保存できませんでした。"));
    }
    return true;
}

}  // namespace sorvenka
