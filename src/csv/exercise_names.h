#pragma once

#include <QString>

namespace sorvenka {

// The body parts that the groups of the first database stand for.
enum class BodyPart { Unknown, Chest, Back, Legs, Shoulders, Arms, Core, Cardio, Other };

// The name of the group a body part belongs to: 胸, 背中, 脚, 肩, 腕, 体幹, 有酸素, その他.
QString BodyPartGroupName(BodyPart part);

// A name as compared with others: width, case, blanks, hyphens and underscores ignored, so
// "Push-Up", "push up" and "ＰＵＳＨ ＵＰ" are one name.
QString ExerciseNameKey(const QString& name);

// What the other loggers' common exercise names say: the Japanese name of the same exercise
// (as the first database names it; empty when it has none) and the body part it trains.
struct CommonExercise {
    QString japaneseName;
    BodyPart part = BodyPart::Unknown;
};
CommonExercise LookUpCommonExercise(const QString& name);

// The body part of a FitNotes category: its eight own ones and the common ones users add
// (Quads, Hamstrings, Calves, Forearms, Olympic Lifts, Plyometrics, ...). Unknown otherwise.
BodyPart BodyPartOfCategory(const QString& category);

}  // namespace sorvenka
