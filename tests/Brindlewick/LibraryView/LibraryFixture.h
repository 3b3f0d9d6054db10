#pragma once

#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "QtPrinters.h"
#include "ScopedEnv.h"

#include "Calendar.h"
#include "DemoNotes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The demo notes in a real model on a temporary folder, its clock frozen at `t0` and moved only by
// `model.advance`. The configuration folder is temporary too, so the demo settings never reach the
// user's. `shown` records what the model was asked to show on the desktop.
class LibraryTest : public testing::Test {
protected:
    // 2025-12-06 05:46:40 UTC.
    static constexpr Date t0{1765000000 - Date::referenceOffset};

    LibraryTest()
        : m_configHome("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8()),
          model(Paths{dir.filePath(QStringLiteral("live"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        model.useDemo(dir.path(), t0, true);
        model.setBook(NoteBook(DemoNotes::make(t0, Calendar::current(), QRectF(0, 0, 1440, 875))));
        model.onShow = [this](const QUuid &id) { shown.append(id); };
    }

    // The demo note whose title starts with `start`.
    QUuid idOf(const QString &start) const
    {
        for (const StickyNote &note : model.book().notes) {
            if (note.title().startsWith(start))
                return note.id;
        }
        ADD_FAILURE() << "no demo note starts with " << start.toStdString();
        return {};
    }

    StickyNote stored(const QUuid &id) const { return model.book()[id].value_or(StickyNote()); }

    // Replaces a note as it stands, without the model's own stamps.
    void put(const StickyNote &note)
    {
        NoteBook book = model.book();
        book.set(note.id, note);
        model.setBook(book);
    }

    QTemporaryDir dir;

private:
    ScopedEnv m_configHome;

protected:
    AppModel model;
    QList<QUuid> shown;
};
