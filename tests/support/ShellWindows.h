#pragma once

#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Patience.h"
#include "Shell/AppActions.h"
#include "Shell/LibraryWindow.h"
#include "SharedModel.h"

#include <QMainWindow>
#include <QTest>

// The shared model with the program's windows around it: note panels kept by AppActions, the
// library window, and any other window, each made the active window as a click would.
class ShellWindowsTest : public SharedModelTest {
protected:
    ShellWindowsTest()
    {
        AppActions::setWindows(std::make_unique<NoteWindows>(model));
        model.onShow = [](const QUuid &id) { AppActions::windows()->show(id); };
    }

    // Lets the windows settle: panels of new notes appear, a closed popover gives its panel the focus
    // back. Here each window that shows becomes the active one.
    static void settle()
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
    }

    // Activates the window once the others have settled, and waits until Qt reports it active.
    static bool activate(QWidget *window)
    {
        settle();
        if (!window)
            return false;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window, patienceMs);
    }

    // The note's desktop panel, once the note windows have caught up with the model.
    static NotePanel *panelOf(const QUuid &id)
    {
        NotePanel *panel = nullptr;
        return QTest::qWaitFor([&] { return (panel = AppActions::windows()->panel(id)) != nullptr; }, patienceMs)
                   ? panel
                   : nullptr;
    }

    static QMainWindow *library() { return LibraryWindow::shared().window(); }

    // Presses the keys where they land: the focused control of the active window, else the window.
    static void press(const QKeySequence &keys)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keySequence(target, keys);
    }

    // A window of some other kind, as the Quick Note panel or the settings window is.
    QWidget otherWindow;
};
