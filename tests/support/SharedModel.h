#pragma once

#include "State/AppModel.h"
#include "State/FileWriter.h"
#include "Patience.h"
#include "QtPrinters.h"
#include "ScopedEnv.h"
#include "TestNotes.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <chrono>
#include <memory>

// The menus, the status item and AppActions act on AppModel::shared(). The test program makes it once,
// on a temporary data folder and settings file, and every test starts it over with an empty notebook,
// nothing hidden, selected or ringing, the tray off, no sound and a clock the test sets.
class SharedModelTest : public testing::Test {
protected:
    // 2025-12-06 05:46:40 UTC.
    static constexpr Date t0{1765000000 - Date::referenceOffset};

    SharedModelTest() : model(shared())
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
        model.clock = [this] { return now; };
        // A ring plays nothing: the desktop's sound server is not the tests' to use.
        model.alertSound = [] {};
        model.onShow = nullptr;
        model.onRing = nullptr;
        model.setBook(NoteBook());
        model.setNotesHidden(false);
        model.setFilter(NoteFilter::all);
        model.setSelection(std::nullopt);
        model.setPopover(std::nullopt);
        model.setRinging({});
        model.setTrayEnabled(false);
        model.tick();
    }

    // Puts a note into the notebook as it stands.
    QUuid put(const StickyNote &note)
    {
        NoteBook book = model.book();
        book.set(note.id, note);
        model.setBook(book);
        return note.id;
    }

    StickyNote stored(const QUuid &id) const { return model.book()[id].value_or(StickyNote()); }

    Date now = t0;
    AppModel &model;

private:
    // The model lives as long as the program, its folder until every test has run: then the model's
    // last writes are waited for and the folder goes.
    class Folder : public testing::Environment {
    public:
        void TearDown() override
        {
            if (!folder)
                return;
            shared().finishSaves(std::chrono::milliseconds(patienceMs));
            FileWriter::shared().finish(QDeadlineTimer(patienceMs));
            folder.reset();
        }

        static inline std::unique_ptr<QTemporaryDir> folder;
    };

    static AppModel &shared()
    {
        static AppModel *const made = [] {
            Folder::folder = std::make_unique<QTemporaryDir>();
            const ScopedEnv data("BRINDLEWICK_DATA_DIR", Folder::folder->filePath("data").toUtf8());
            const ScopedEnv config("XDG_CONFIG_HOME", Folder::folder->filePath("config").toUtf8());
            return &AppModel::shared();
        }();
        return *made;
    }

    static inline testing::Environment *const folderKeeper = testing::AddGlobalTestEnvironment(new Folder);
};
