#include "csv/exercise_names.h"

#include <QHash>
#include <QRegularExpression>
#include <utility>
#include <vector>

namespace sorvenka {

namespace {

using Part = BodyPart;

// Names of Strong, Hevy and FitNotes (with their equipment in brackets as Strong and Hevy
// write it) for the exercises the first database holds under a Japanese name.
const QHash<QString, QString>& JapaneseNames() {
    static const QHash<QString, QString> names = [] {
        const std::pair<const char*, std::vector<const char*>> table[] = {
            {"ベンチプレス",
             {"Bench Press (Barbell)", "Bench Press", "Barbell Bench Press",
              "Flat Barbell Bench Press", "Bench Press - Barbell"}},
            {"ダンベルフライ",
             {"Chest Fly (Dumbbell)", "Dumbbell Fly", "Flat Dumbbell Fly", "Dumbbell Flye",
              "Chest Fly - Dumbbell"}},
            {"腕立て伏せ", {"Push Up", "Push Ups", "Pushup", "Push Up (Bodyweight)"}},
            {"インクラインプレス",
             {"Incline Bench Press (Barbell)", "Incline Bench Press", "Incline Barbell Bench Press",
              "Incline Press"}},
            {"懸垂", {"Pull Up", "Pull Ups", "Pullup", "Pull Up (Bodyweight)", "Chin Up"}},
            {"ラットプルダウン",
             {"Lat Pulldown (Cable)", "Lat Pulldown", "Lat Pulldown (Machine)", "Lat Pull Down",
              "Lat Pulldown - Cable"}},
            {"ベントオーバーロウ",
             {"Bent Over Row (Barbell)", "Bent Over Row", "Barbell Row", "Barbell Bent Over Row",
              "Bent Over Row - Barbell"}},
            {"デッドリフト",
             {"Deadlift (Barbell)", "Deadlift", "Barbell Deadlift", "Conventional Deadlift",
              "Deadlift - Barbell"}},
            {"スクワット",
             {"Squat (Barbell)", "Squat", "Barbell Squat", "Back Squat", "Barbell Back Squat",
              "Full Squat", "Squat - Barbell"}},
            {"レッグプレス", {"Leg Press", "Leg Press (Machine)", "Leg Press - Machine"}},
            {"ランジ", {"Lunge", "Lunges", "Lunge (Bodyweight)", "Walking Lunge"}},
            {"カーフレイズ",
             {"Calf Raise", "Calf Raises", "Standing Calf Raise", "Standing Calf Raise (Machine)",
              "Calf Raise (Machine)", "Standing Calf Raise (Bodyweight)"}},
            {"ショルダープレス",
             {"Overhead Press (Barbell)", "Overhead Press", "Shoulder Press",
              "Shoulder Press (Dumbbell)", "Shoulder Press (Machine)", "Military Press",
              "Overhead Barbell Press", "Seated Dumbbell Press", "Seated Shoulder Press"}},
            {"サイドレイズ",
             {"Lateral Raise (Dumbbell)", "Lateral Raise", "Lateral Dumbbell Raise",
              "Side Lateral Raise", "Lateral Raise (Cable)"}},
            {"フロントレイズ",
             {"Front Raise (Dumbbell)", "Front Raise", "Front Dumbbell Raise",
              "Front Raise (Barbell)"}},
            {"アームカール",
             {"Bicep Curl (Barbell)", "Bicep Curl (Dumbbell)", "Bicep Curl", "Biceps Curl",
              "Barbell Curl", "Dumbbell Curl", "Curl"}},
            {"ハンマーカール", {"Hammer Curl (Dumbbell)", "Hammer Curl", "Dumbbell Hammer Curl"}},
            {"フレンチプレス",
             {"French Press", "Skullcrusher (Barbell)", "Skullcrusher", "Skull Crusher",
              "Lying Triceps Extension", "Overhead Triceps Extension",
              "Triceps Extension (Dumbbell)"}},
            {"ディップス",
             {"Triceps Dip", "Triceps Dip (Bodyweight)", "Dips", "Dip", "Chest Dip",
              "Parallel Bar Triceps Dip"}},
            {"プランク", {"Plank", "Front Plank", "Plank (Bodyweight)"}},
            {"クランチ", {"Crunch", "Crunches", "Crunch (Bodyweight)"}},
            {"レッグレイズ", {"Leg Raise", "Leg Raises", "Lying Leg Raise", "Hanging Leg Raise"}},
            {"ロシアンツイスト", {"Russian Twist", "Russian Twists"}},
            {"ウォーキング", {"Walking", "Walk", "Walking (Treadmill)"}},
            {"ランニング",
             {"Running", "Run", "Running (Treadmill)", "Running (Outdoor)", "Treadmill Running",
              "Jogging"}},
            {"エアロバイク",
             {"Cycling (Indoor)", "Cycling", "Stationary Bike", "Exercise Bike", "Bike",
              "Cycling (Stationary)", "Spin Bike"}},
            {"縄跳び", {"Jump Rope", "Skipping", "Skipping Rope", "Rope Skipping"}},
        };
        QHash<QString, QString> byKey;
        for (const auto& [japanese, english] : table)
            for (const char* name : english)
                byKey.insert(ExerciseNameKey(QString::fromUtf8(name)), QString::fromUtf8(japanese));
        return byKey;
    }();
    return names;
}

// Words of the common names, first match wins: the order settles overlaps ("leg curl" is
// legs before "curl" is arms). The movement decides, never the grip or the equipment: a
// pulldown or a row with a wide grip or on a machine trains the back.
const std::vector<std::pair<const char*, Part>>& Keywords() {
    static const std::vector<std::pair<const char*, Part>> words{
        // Names whose words would otherwise lead elsewhere.
        {"walking lunge", Part::Legs},
        {"back extension", Part::Back},
        {"hyperextension", Part::Back},
        {"farmer", Part::Arms},
        {"sled push", Part::Legs},
        {"bench press close grip", Part::Arms},
        // Cardio machines and sports (the rowing machine is found before these).
        {"running", Part::Cardio},
        {"run", Part::Cardio},
        {"jog", Part::Cardio},
        {"walk", Part::Cardio},
        {"treadmill", Part::Cardio},
        {"cycling", Part::Cardio},
        {"bike", Part::Cardio},
        {"elliptical", Part::Cardio},
        {"swim", Part::Cardio},
        {"stair", Part::Cardio},
        {"jump rope", Part::Cardio},
        {"skipping", Part::Cardio},
        {"sprint", Part::Cardio},
        {"hike", Part::Cardio},
        {"hiking", Part::Cardio},
        {"ski", Part::Cardio},
        {"burpee", Part::Cardio},
        {"hiit", Part::Cardio},
        {"cardio", Part::Cardio},
        {"jumping jack", Part::Cardio},
        {"boxing", Part::Cardio},
        {"air bike", Part::Cardio},
        {"assault bike", Part::Cardio},
        {"battle rope", Part::Cardio},
        // Core.
        {"plank", Part::Core},
        {"crunch", Part::Core},
        {"sit up", Part::Core},
        {"situp", Part::Core},
        {"ab wheel", Part::Core},
        {"ab roll", Part::Core},
        {"ab ", Part::Core},
        {"abs", Part::Core},
        {"twist", Part::Core},
        {"torso rotation", Part::Core},
        {"rotary torso", Part::Core},
        {"leg raise", Part::Core},
        {"knee raise", Part::Core},
        {"oblique", Part::Core},
        {"v up", Part::Core},
        {"hollow", Part::Core},
        {"dead bug", Part::Core},
        {"pallof", Part::Core},
        {"wood chop", Part::Core},
        {"woodchop", Part::Core},
        {"side bend", Part::Core},
        {"flutter kick", Part::Core},
        {"mountain climber", Part::Core},
        {"toes to bar", Part::Core},
        {"l sit", Part::Core},
        {"dragon flag", Part::Core},
        {"core", Part::Core},
        // Legs.
        {"romanian deadlift", Part::Legs},
        {"stiff leg", Part::Legs},
        {"rdl", Part::Legs},
        {"squat", Part::Legs},
        {"lunge", Part::Legs},
        {"leg press", Part::Legs},
        {"leg extension", Part::Legs},
        {"leg curl", Part::Legs},
        {"hamstring", Part::Legs},
        {"calf", Part::Legs},
        {"calves", Part::Legs},
        {"hip thrust", Part::Legs},
        {"glute", Part::Legs},
        {"step up", Part::Legs},
        {"good morning", Part::Legs},
        {"adduct", Part::Legs},
        {"abduct", Part::Legs},
        {"hip ", Part::Legs},
        {"box jump", Part::Legs},
        {"pistol", Part::Legs},
        {"wall sit", Part::Legs},
        {"sled", Part::Legs},
        {"swing", Part::Legs},
        {"pull through", Part::Legs},
        {"quad", Part::Legs},
        {"leg", Part::Legs},
        // Shoulders, before the rows and flies of back and chest.
        {"upright row", Part::Shoulders},
        {"face pull", Part::Shoulders},
        {"reverse fly", Part::Shoulders},
        {"reverse flye", Part::Shoulders},
        {"rear delt", Part::Shoulders},
        {"delt", Part::Shoulders},
        {"shoulder", Part::Shoulders},
        {"overhead press", Part::Shoulders},
        {"military press", Part::Shoulders},
        {"ohp", Part::Shoulders},
        {"arnold", Part::Shoulders},
        {"lateral raise", Part::Shoulders},
        {"front raise", Part::Shoulders},
        {"push press", Part::Shoulders},
        {"handstand", Part::Shoulders},
        {"landmine press", Part::Shoulders},
        {"external rotation", Part::Shoulders},
        {"internal rotation", Part::Shoulders},
        // Arms, before the bench presses of chest.
        {"close grip bench", Part::Arms},
        {"curl", Part::Arms},
        {"tricep", Part::Arms},
        {"bicep", Part::Arms},
        {"skullcrusher", Part::Arms},
        {"skull crusher", Part::Arms},
        {"pushdown", Part::Arms},
        {"push down", Part::Arms},
        {"kickback", Part::Arms},
        {"dip", Part::Arms},
        {"wrist", Part::Arms},
        {"forearm", Part::Arms},
        {"french press", Part::Arms},
        {"extension", Part::Arms},
        {"gripper", Part::Arms},
        // Back.
        {"deadlift", Part::Back},
        {"row", Part::Back},
        {"pull up", Part::Back},
        {"pullup", Part::Back},
        {"chin up", Part::Back},
        {"chinup", Part::Back},
        {"muscle up", Part::Back},
        {"pulldown", Part::Back},
        {"pull down", Part::Back},
        {"shrug", Part::Back},
        {"back", Part::Back},
        {"hyperextension", Part::Back},
        {"pullover", Part::Back},
        {"rack pull", Part::Back},
        {"t bar", Part::Back},
        {"lat ", Part::Back},
        {"lats", Part::Back},
        {"superman", Part::Back},
        // Chest.
        {"bench", Part::Chest},
        {"chest", Part::Chest},
        {"fly", Part::Chest},
        {"flye", Part::Chest},
        {"push up", Part::Chest},
        {"pushup", Part::Chest},
        {"pec", Part::Chest},
        {"crossover", Part::Chest},
        {"floor press", Part::Chest},
        {"incline press", Part::Chest},
        {"decline press", Part::Chest},
    };
    return words;
}

// The name in lower case, every run of other characters than letters and digits one blank,
// with a blank at both ends, so that a word is found by " word".
QString Words(const QString& name) {
    QString text = name.normalized(QString::NormalizationForm_KC).toLower();
    static const QRegularExpression others(QStringLiteral("[^\\p{L}\\p{N}]+"));
    text.replace(others, QStringLiteral(" "));
    return QLatin1Char(' ') + text.trimmed() + QLatin1Char(' ');
}

// A rowing machine or ergometer, which is cardio; a row with a bar, a cable, dumbbells or a
// machine's handles is a pull of the back.
bool IsRowingMachine(const QString& words) {
    for (const char* machine : {" rower", " ergometer", " erg ", " rowerg", " rowing machine"})
        if (words.contains(QLatin1String(machine))) return true;
    if (!words.contains(QLatin1String(" rowing "))) return false;
    for (const char* strength :
         {" cable", " dumbbell", " barbell", " kettlebell", " band", " seated", " bent", " upright",
          " single", " one arm", " t bar", " landmine", " inverted", " smith"})
        if (words.contains(QLatin1String(strength))) return false;
    return true;
}

Part PartByWords(const QString& name) {
    const QString words = Words(name);
    if (IsRowingMachine(words)) return Part::Cardio;
    for (const auto& [word, part] : Keywords())
        if (words.contains(QLatin1Char(' ') + QLatin1String(word))) return part;
    return Part::Unknown;
}

}  // namespace

QString BodyPartGroupName(BodyPart part) {
    switch (part) {
        case Part::Chest:
            return QStringLiteral("胸");
        case Part::Back:
            return QStringLiteral("背中");
        case Part::Legs:
            return QStringLiteral("脚");
        case Part::Shoulders:
            return QStringLiteral("肩");
        case Part::Arms:
            return QStringLiteral("腕");
        case Part::Core:
            return QStringLiteral("体幹");
        case Part::Cardio:
            return QStringLiteral("有酸素");
        case Part::Other:
        case Part::Unknown:
            break;
    }
    return QStringLiteral("その他");
}

QString ExerciseNameKey(const QString& name) {
    const QString wide = name.normalized(QString::NormalizationForm_KC).toCaseFolded();
    QString key;
    key.reserve(wide.size());
    for (const QChar c : wide)
        if (!c.isSpace() && c != QLatin1Char('-') && c != QLatin1Char('_')) key += c;
    return key;
}

CommonExercise LookUpCommonExercise(const QString& name) {
    CommonExercise found;
    found.japaneseName = JapaneseNames().value(ExerciseNameKey(name));
    found.part = PartByWords(name);
    if (found.part == Part::Unknown && !found.japaneseName.isEmpty()) found.part = Part::Other;
    return found;
}

BodyPart BodyPartOfCategory(const QString& category) {
    static const QHash<QString, Part> parts{
        {QStringLiteral("chest"), Part::Chest},
        {QStringLiteral("pecs"), Part::Chest},
        {QStringLiteral("back"), Part::Back},
        {QStringLiteral("upperback"), Part::Back},
        {QStringLiteral("lowerback"), Part::Back},
        {QStringLiteral("lats"), Part::Back},
        {QStringLiteral("traps"), Part::Back},
        {QStringLiteral("legs"), Part::Legs},
        {QStringLiteral("quads"), Part::Legs},
        {QStringLiteral("quadriceps"), Part::Legs},
        {QStringLiteral("hamstrings"), Part::Legs},
        {QStringLiteral("calves"), Part::Legs},
        {QStringLiteral("glutes"), Part::Legs},
        {QStringLiteral("adductors"), Part::Legs},
        {QStringLiteral("abductors"), Part::Legs},
        {QStringLiteral("plyometrics"), Part::Legs},
        {QStringLiteral("shoulders"), Part::Shoulders},
        {QStringLiteral("delts"), Part::Shoulders},
        {QStringLiteral("biceps"), Part::Arms},
        {QStringLiteral("triceps"), Part::Arms},
        {QStringLiteral("forearms"), Part::Arms},
        {QStringLiteral("arms"), Part::Arms},
        {QStringLiteral("abs"), Part::Core},
        {QStringLiteral("core"), Part::Core},
        {QStringLiteral("obliques"), Part::Core},
        {QStringLiteral("cardio"), Part::Cardio},
        {QStringLiteral("conditioning"), Part::Cardio},
        // Whole-body lifts train no one part.
        {QStringLiteral("olympiclifts"), Part::Other},
        {QStringLiteral("fullbody"), Part::Other},
        {QStringLiteral("misc"), Part::Unknown},
    };
    return parts.value(ExerciseNameKey(category), Part::Unknown);
}

}  // namespace sorvenka
