#include "DemoData.h"

#include "NoteWindows/NoteWindows.h"
#include "NoteWindows/ScreenSpace.h"
#include "State/AppModel.h"
#include "State/SettingsStore.h"

#include "Calendar.h"
#include "DemoNotes.h"

#include <QDir>

namespace {

QRectF demoScreen()
{
    return ScreenSpace::mainVisibleFrame().value_or(NoteWindows::fallbackArea);
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
    // The world is on disk before anything reads it.
    model.finishSaves(std::chrono::seconds(30));
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
