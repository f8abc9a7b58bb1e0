#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

struct sqlite3;

namespace sorvenka {

// The masters as an import finds them, looked up by code and by name, and as it extends them:
// new groups and exercises are written through masters/, new units here.
class ImportMasters {
  public:
    struct Group {
        QString code, name;
    };

    explicit ImportMasters(sqlite3* db) : db_(db) {}
    bool load(QString& message);

    const std::vector<Group>& groups() const { return groups_; }
    const Group* group(const QString& code) const;
    // The group of a FitNotes category: a group of that name, else the group of its body part.
    QString groupForCategory(const QString& category) const;
    QString groupNamed(const QString& name) const;

    // An exercise whose name is the same once case, blanks and width are set aside; the rest
    // day never, whatever its name.
    bool exerciseByKey(const QString& name, QString& grp, QString& exer) const;
    bool hasExercise(const QString& grp, const QString& exer) const {
        return codes_.value(grp).contains(exer);
    }
    // The exercise of the group with the same name once case, blanks and width are set aside.
    QString exerciseInGroup(const QString& grp, const QString& name) const;
    QString exerciseName(const QString& grp, const QString& exer) const;
    const QString& firstSweat() const { return firstSweat_; }

    // The code a new exercise of the group gets: none that the masters or stored sets name.
    // Empty when the group has no free code left (ok stays true) or the read failed.
    QString nextFreeCode(const QString& grp, bool& ok);
    // Written at the end of their lists; false when the write failed.
    bool addGroup(const QString& code, const QString& name);
    bool addExercise(const QString& grp, const QString& exer, const QString& name);

    // A unit missing from its list may be added at its end only when it begins no name there.
    bool unitMissing(bool target, const QString& name) const {
        return !(target ? unitsTarget_ : units_).contains(name);
    }
    bool unitAddable(bool target, const QString& name) const;
    bool addUnit(bool target, const QString& name);

  private:
    void noteExercise(const QString& grp, const QString& exer, const QString& name);

    sqlite3* db_;
    std::vector<Group> groups_;
    qint64 groupOrder_ = 0;
    QHash<QString, std::pair<QString, QString>> byName_, byKey_;
    QHash<QString, QString> names_;         // by group and code
    QHash<QString, QString> byKeyInGroup_;  // the code by group and name key
    QHash<QString, QSet<QString>> codes_;
    // Of the groups that got a new exercise: the codes stored sets name too, read once.
    QHash<QString, QSet<QString>> usedCodes_;
    QHash<QString, qint64> exerciseOrder_;
    QString firstSweat_;
    QStringList unitsTarget_, units_;
    qint64 unitTargetOrder_ = 0, unitOrder_ = 0;
};

}  // namespace sorvenka
