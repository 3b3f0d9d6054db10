#include "DemoData.h"

#include "App/AppModel.h"
#include "App/SettingsStore.h"

#include "Calendar.h"
#include "DemoNotes.h"

#include <QDir>

namespace {

// Where the desktop notes go without a screen to lay them out on.
const QRectF laptopScreen(0, 0, 1512, 950);

QRectF demoScreen()
{
    return laptopScreen;
}

} // namespace

namespace DemoData {

Date frozenNow()
{
    return Calendar::current().date(QDate(2025, 6, 11), QTime(14, 35)).value_or(Date());
}

void prepare(AppModel &model, const QString &root, std::optional<Date> now, bool frozen)
{
    remove(root);
    const Date start = now.value_or(Date::current());
    model.useDemo(root, start, frozen);
    model.setBook(NoteBook(DemoNotes::make(start, Calendar::current(), demoScreen())));
    model.saveNow();
    SettingsStore settings = model.defaults();
    settings.setBool(SettingsKeys::welcomeDone, true);
}

void remove(const QString &root)
{
    QDir data(QDir(root).filePath(QStringLiteral("data")));
    const QStringList written{QStringLiteral("notes.json"), QStringLiteral("notes.damaged-*.json")};
    for (const QString &name : data.entryList(written, QDir::Files | QDir::Hidden))
        data.remove(name);
    data.rmdir(data.path());
    QDir().rmdir(root);
}

} // namespace DemoData
