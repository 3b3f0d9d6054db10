#include "AppModelFixture.h"

#include <QSignalSpy>

namespace {

struct Settings {
    NoteSort sort = NoteSort::urgency;
    NoteColor defaultColor = NoteColor::lemon;
    bool newNotesFloat = false;
    int warnMinutes = 15;
    bool playSound = true;
    bool trayEnabled = false;
    TrayOpen trayOpensOn = TrayOpen::hover;
    bool showMenuBarItem = true;
    bool hotkeyEnabled = true;

    static Settings of(const AppModel &model)
    {
        return {model.sort(),        model.defaultColor(),    model.newNotesFloat(),
                model.warnMinutes(), model.playSound(),       model.trayEnabled(),
                model.trayOpensOn(), model.showMenuBarItem(), model.hotkeyEnabled()};
    }
    bool operator==(const Settings &) const = default;
};

TEST_F(AppModelTest, AbsentOrUnusableSettingsFallBackAndNothingIsWrittenBack)
{
    struct Case { QByteArray json; Settings expected; };
    const Settings defaults;
    auto with = [&](auto change) { Settings s = defaults; change(s); return s; };
    const Case cases[] = {
        {"", defaults},
        {R"({"sort": "edited"})", with([](Settings &s) { s.sort = NoteSort::edited; })},
        {R"({"sort": "Edited"})", defaults},
        {R"({"sort": "newest"})", defaults},
        {R"({"defaultColor": "mint"})", with([](Settings &s) { s.defaultColor = NoteColor::mint; })},
        {R"({"defaultColor": "teal"})", defaults},
        {R"({"trayOpensOn": "click"})", with([](Settings &s) { s.trayOpensOn = TrayOpen::click; })},
        {R"({"trayOpensOn": "Click"})", defaults},
        {R"({"warnMinutes": 30})", with([](Settings &s) { s.warnMinutes = 30; })},
        {R"({"warnMinutes": "30"})", defaults},
        {R"({"warnMinutes": 7.5})", defaults},
        {R"({"playSound": "false"})", defaults},
        {R"({"playSound": false, "trayEnabled": true, "newNotesFloat": true})",
         with([](Settings &s) { s.playSound = false; s.trayEnabled = true; s.newNotesFloat = true; })},
        {R"({"showMenuBarItem": 0, "hotkeyEnabled": false})", with([](Settings &s) { s.hotkeyEnabled = false; })},
    };
    for (const Case &c : cases) {
        QFile::remove(settingsPath());
        if (!c.json.isEmpty())
            writeTestFile(settingsPath(), c.json);
        rebuild();
        EXPECT_TRUE(Settings::of(*model) == c.expected) << c.json.toStdString();
        EXPECT_EQ(QFileInfo::exists(settingsPath()), !c.json.isEmpty()) << c.json.toStdString();
    }
}

TEST_F(AppModelTest, EveryAssignmentIsPublishedAndWrittenWithItsOwnJsonType)
{
    QSignalSpy sortChanged(model.get(), &AppModel::sortChanged);
    model->setSort(NoteSort::edited);
    model->setDefaultColor(NoteColor::graphite);
    model->setNewNotesFloat(true);
    model->setWarnMinutes(60);
    model->setPlaySound(false);
    model->setTrayEnabled(true);
    model->setTrayOpensOn(TrayOpen::click);
    model->setShowMenuBarItem(false);
    model->setHotkeyEnabled(false);
    EXPECT_EQ(sortChanged.count(), 1);

    const QJsonObject json = settingsJson();
    EXPECT_EQ(json.size(), 9);
    EXPECT_EQ(json["sort"], QJsonValue("edited"));
    EXPECT_EQ(json["defaultColor"], QJsonValue("graphite"));
    EXPECT_EQ(json["newNotesFloat"], QJsonValue(true));
    EXPECT_TRUE(json["warnMinutes"].isDouble());
    EXPECT_EQ(json["warnMinutes"].toInt(), 60);
    EXPECT_EQ(json["playSound"], QJsonValue(false));
    EXPECT_EQ(json["trayEnabled"], QJsonValue(true));
    EXPECT_EQ(json["trayOpensOn"], QJsonValue("click"));
    EXPECT_EQ(json["showMenuBarItem"], QJsonValue(false));
    EXPECT_EQ(json["hotkeyEnabled"], QJsonValue(false));

    const Settings assigned = Settings::of(*model);
    rebuild();
    EXPECT_TRUE(Settings::of(*model) == assigned);
}

TEST_F(AppModelTest, AnUnchangedValueIsStillWrittenAndWarnMinutesAlwaysReschedules)
{
    QSignalSpy warnChanged(model.get(), &AppModel::warnMinutesChanged);
    model->setWarnMinutes(15);
    model->setSort(NoteSort::urgency);
    EXPECT_EQ(warnChanged.count(), 0);
    EXPECT_EQ(notifier->schedules, 1);
    EXPECT_EQ(settingsJson()["warnMinutes"].toInt(), 15);
    EXPECT_EQ(settingsJson()["sort"], QJsonValue("urgency"));
}

TEST_F(AppModelTest, WarnSecondsIsTheHeadsUpOnlyAboveZero)
{
    struct Case { int minutes; std::optional<double> seconds; };
    for (const Case c : {Case{0, std::nullopt}, Case{-5, std::nullopt}, Case{1, 60.0}, Case{15, 900.0},
                         Case{std::numeric_limits<int>::max(), std::numeric_limits<int>::max() * 60.0}}) {
        model->setWarnMinutes(c.minutes);
        EXPECT_EQ(model->warnSeconds(), c.seconds) << c.minutes;
    }
}

TEST_F(AppModelTest, WarnMinutesMovesTheScheduledHeadsUp)
{
    model->setPermission(NotifyPermission::allowed);
    StickyNote dueLater = note("Report");
    dueLater.setDeadline(t0 + 7200, t0 - 3600);
    put(dueLater);
    model->setWarnMinutes(30);
    ASSERT_EQ(notifier->scheduled.size(), 2);
    EXPECT_EQ(notifier->scheduled[0].fireAt, t0 + 5400);
    model->setWarnMinutes(0);
    EXPECT_EQ(notifier->scheduled.size(), 1);
}

} // namespace
