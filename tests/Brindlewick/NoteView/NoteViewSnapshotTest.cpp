#include "NoteViewFixture.h"

#include "NoteView/Popover.h"
#include "Theme/Appearance.h"

#include <QDir>
#include <QPainter>

namespace {

// Pictures of a note in each of its states, in both appearances, for a person to look at.
class NoteViewSnapshotTest : public NoteViewTest {
protected:
    static QString folder()
    {
        const QString path = QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/noteview");
        QDir().mkpath(path);
        return path;
    }

    // The note, and under it the open popover where one is open, on the desk.
    QImage picture() const
    {
        const QRect note(view->mapToGlobal(QPoint(0, 0)), view->size());
        Popover *popover = view->popover();
        const QRect area = popover ? note.united(popover->geometry()) : note;
        QImage image(area.size().grownBy(QMargins(12, 12, 12, 12)), QImage::Format_ARGB32);
        image.fill(Appearance::isDark(view.get()) ? QColor(0x161618) : QColor(0xF2F0EB));
        QPainter painter(&image);
        const QPoint origin = -area.topLeft() + QPoint(12, 12);
        painter.drawImage(note.topLeft() + origin, Pixels::grab(view.get()));
        if (popover)
            painter.drawImage(popover->geometry().topLeft() + origin, Pixels::grab(popover));
        return image;
    }

    void snap(const QString &name, const StickyNote &state, bool ringing = false,
              std::optional<PopoverRequest::Kind> open = std::nullopt, QSize size = QSize(250, 230))
    {
        for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
            const QUuid id = put(state);
            model->setRinging(ringing ? QSet<QUuid>{id} : QSet<QUuid>{});
            view = std::make_unique<NoteView>(*model, id, false, true);
            view->setAttribute(Qt::WA_TranslucentBackground);
            view->setGeometry(QRect(QPoint(300, 40), size));
            view->show();
            Appearance::force(view.get(), scheme);
            if (open)
                view->openPopover(*open);
            QApplication::processEvents();
            const QImage image = picture();
            const QString file = QStringLiteral("%1/%2-%3.png")
                                     .arg(folder(), name, scheme == Scheme::dark ? "dark" : "light");
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            const QColor paper = Paper::fill(state.color).resolved(scheme);
            EXPECT_LT(Pixels::distance(Pixels::grab(view.get()).pixelColor(size.width() - 20, size.height() / 2 + 10), paper), 8) << file.toStdString();
            if (view->popover())
                view->popover()->close();
        }
    }

    StickyNote noteWith(const QString &text, NoteColor color = NoteColor::lemon) const
    {
        StickyNote state = note(text);
        state.color = color;
        return state;
    }

    StickyNote timed(const QString &text, double duration, double left) const
    {
        StickyNote state = noteWith(text);
        NoteTimer timer(duration);
        timer.start(t0 - (duration - left));
        state.timer = timer;
        return state;
    }
};

TEST_F(NoteViewSnapshotTest, EveryStateInBothAppearances)
{
    snap("no-time", noteWith("Call the plumber\nabout the kitchen tap"));
    snap("empty", noteWith(""));

    StickyNote ready = noteWith("Tea");
    ready.timer = NoteTimer(5 * 60);
    snap("ready", ready);
    snap("running-calm", timed("Bread in the oven", 40 * 60, 30 * 60));
    snap("running-soon", timed("Laundry", 40 * 60, 8 * 60));
    snap("running-urgent", timed("Pasta", 10 * 60, 45));
    StickyNote paused = timed("Stretch break", 20 * 60, 12 * 60);
    paused.timer->pause(t0);
    snap("paused", paused);
    snap("finished-ringing", timed("Eggs are done", 6 * 60, -20), true);
    snap("smallest-ringing", timed("Eggs are done", 6 * 60, -20), true, std::nullopt, QSize(190, 150));

    StickyNote overdue = noteWith("Send the invoice");
    overdue.deadline = t0 - 2 * 3600;
    overdue.deadlineSetAt = t0 - 3 * 86400;
    snap("overdue", overdue);
    StickyNote dueNow = overdue;
    dueNow.deadline = t0;
    snap("due-ringing", dueNow, true);
    StickyNote upcoming = noteWith("Dentist", NoteColor::sky);
    upcoming.deadline = t0 + 26 * 3600;
    upcoming.deadlineSetAt = t0 - 86400;
    snap("deadline", upcoming);

    StickyNote graphite = timed("Night shift notes", 60 * 60, 42 * 60);
    graphite.color = NoteColor::graphite;
    graphite.pinned = true;
    snap("graphite", graphite);

    snap("timer-picker", ready, false, PopoverRequest::Kind::timer);
    snap("deadline-picker", upcoming, false, PopoverRequest::Kind::deadline);
    snap("colour-dots", noteWith("Pick a colour", NoteColor::rose), false, PopoverRequest::Kind::color);
}

} // namespace
