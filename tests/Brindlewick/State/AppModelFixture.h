#pragma once

#include "Patience.h"
#include "State/AppModel.h"
#include "State/FileWriter.h"
#include "State/RecordingNotifier.h"
#include "QtPrinters.h"
#include "ScopedEnv.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A recording notifier that also counts how often the model handed it a list.
class CountingNotifier : public RecordingNotifier {
public:
    int schedules = 0;

    void schedule(const QList<PlannedAlert> &alerts) override
    {
        ++schedules;
        RecordingNotifier::schedule(alerts);
    }
};

// A model on a temporary data folder, settings file and state folder, with a clock the test moves by hand, a
// counting notifier and a counted alert sound. The configuration folder is temporary too, so the
// demo settings of `useDemo` never reach the user's.
class AppModelTest : public testing::Test {
protected:
    // 2025-12-06 05:46:40 UTC.
    static constexpr Date t0{1765000000 - Date::referenceOffset};

    AppModelTest()
        : m_configHome("XDG_CONFIG_HOME", dir.filePath("config").toUtf8()),
          m_stateHome("XDG_STATE_HOME", dir.filePath("state").toUtf8())
    {
        rebuild();
    }

    // A fresh model on the same folders, as a new run of the application would make.
    void rebuild()
    {
        auto counting = std::make_unique<CountingNotifier>();
        notifier = counting.get();
        model = std::make_unique<AppModel>(Paths{dataFolder()}, SettingsStore(settingsPath()), std::move(counting));
        model->clock = [this] { return now; };
        model->alertSound = [this] { ++sounds; };
    }

    QString dataFolder() const { return dir.filePath("data"); }
    QString notesPath() const { return dir.filePath("data/notes.json"); }
    QString settingsPath() const { return dir.filePath("settings.json"); }

    // The settings file once the writer is done with it.
    QJsonObject settingsJson() const
    {
        EXPECT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs)));
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }

    // Puts a note into the notebook as it stands, without the model's own stamps, saves or alerts.
    QUuid put(StickyNote note)
    {
        NoteBook book = model->book();
        book.set(note.id, note);
        model->setBook(book);
        return note.id;
    }

    static StickyNote note(const QString &text, Date at = t0 - 3600)
    {
        return StickyNote(QUuid::createUuid(), text, NoteColor::lemon, at);
    }

    // Saves, and waits until the notes are on disk and the model has heard how the write went.
    void saveAndWait() const
    {
        model->saveNow();
        ASSERT_TRUE(model->finishSaves(std::chrono::seconds(10)));
    }

    StickyNote stored(const QUuid &id) const
    {
        const std::optional<StickyNote> found = model->book()[id];
        return found ? *found : StickyNote();
    }

    QTemporaryDir dir;
    Date now = t0;
    int sounds = 0;
    CountingNotifier *notifier = nullptr;
    std::unique_ptr<AppModel> model;

private:
    ScopedEnv m_configHome;
    ScopedEnv m_stateHome;
};
