#pragma once

#include "../State/AppModelFixture.h"

#include "NoteView/NoteView.h"
#include "Pixels.h"
#include "Theme/Paper.h"

#include <QAccessible>
#include <QElapsedTimer>

#include <QAbstractButton>
#include <QTest>
#include <memory>

// A note view on a real model (temporary folders, a clock the test moves), shown offscreen.
class NoteViewTest : public AppModelTest {
protected:
    // The model's published time starts at the test's clock.
    NoteViewTest() { model->tick(); }

    // A view of `noteId`, shown at the default note size, with the pointer and the keyboard focus
    // elsewhere (showing a window gives its first field the focus).
    NoteView &show(const QUuid &noteId, bool forceControls = false)
    {
        view = std::make_unique<NoteView>(*model, noteId, false, forceControls);
        view->setGeometry(300, 40, 250, 230);
        view->show();
        QApplication::processEvents();
        hover(false);
        dropFocus();
        return *view;
    }

    static void dropFocus()
    {
        if (QWidget *focus = QApplication::focusWidget())
            focus->clearFocus();
        QApplication::processEvents();
    }

    // Sets the clock and lets every view follow it.
    void moveClockTo(Date at)
    {
        now = at;
        model->tick();
    }

    static void click(QAbstractButton *button)
    {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << button->accessibleName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }

    // Waits, for at most a second, until `done` holds; for the controls' short fade.
    template <typename Predicate>
    static bool waitFor(Predicate done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 1000)
            QTest::qWait(10);
        return done();
    }

    // Whether anything but bare paper is painted on `area` of the view (view coordinates).
    bool paintsOn(const QRect &area) const
    {
        const QImage image = Pixels::grab(view.get());
        const QColor paper = Paper::fill(model->book()[view->id()]->color).resolved(view.get());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (Pixels::distance(image.pixelColor(x, y), paper) > 40)
                    return true;
        return false;
    }

    bool paintsOn(const QWidget *control) const
    {
        return paintsOn(QRect(control->mapTo(view.get(), QPoint(0, 0)), control->size()));
    }

    void hover(bool inside)
    {
        if (inside) {
            QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
            QApplication::sendEvent(view.get(), &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(view.get(), &leave);
        }
    }

    // What assistive technologies read as the widget's name.
    static QString spokenName(QWidget *widget)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    }

    void TearDown() override
    {
        view.reset();
        QApplication::processEvents();
    }

    std::unique_ptr<NoteView> view;
};
