#include "DemoNotes.h"

#include "YUp.h"

namespace {

constexpr double editedAfterCreation = 30;

QUuid demoId(int number)
{
    return QUuid::fromString(QStringLiteral("5717C4A0-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0')));
}

StickyNote demoNote(int number, const QString &text, NoteColor color, Date created)
{
    return StickyNote(demoId(number), text, color, created);
}

// A desktop frame whose top edge lies `below` points under the top of the screen.
NoteFrame frameBelowTop(const QRectF &screen, double left, double below, double width, double height)
{
    return NoteFrame{screen.x() + left, YUp::maxY(screen) - below - height, width, height};
}

NoteTimer runningTimer(double duration, Date endsAt)
{
    NoteTimer timer(duration);
    timer.endsAt = endsAt;
    return timer;
}

NoteTimer pausedTimer(double duration, double left)
{
    NoteTimer timer(duration);
    timer.pausedLeft = left;
    return timer;
}

// 10:00 on the ninth calendar day after today.
Date appointment(Date now, const Calendar &calendar)
{
    // A valid day always forms a date.
    return *calendar.date(calendar.day(now).addDays(9), QTime(10, 0));
}

} // namespace

namespace DemoNotes {

QList<StickyNote> make(Date now, const Calendar &calendar, const QRectF &screen)
{
    QList<StickyNote> notes;

    StickyNote invoice = demoNote(1,
                                  QStringLiteral("Send the Q4 invoice to Parvell & Sons\n"
                                                 "Attach the timesheet and the PO number (4471)."),
                                  NoteColor::lemon, now - 18000);
    invoice.pinned = true;
    invoice.frame = frameBelowTop(screen, 60, 70, 250, 230);
    invoice.setDeadline(now + 8700, invoice.created);
    notes.append(invoice);

    StickyNote chai = demoNote(2, QStringLiteral("Masala chai steeping \u2615\uFE0F"), NoteColor::peach, now - 90);
    chai.tucked = true;
    chai.timer = runningTimer(240, now + 151);
    notes.append(chai);

    StickyNote launch = demoNote(3,
                                 QStringLiteral("Write the launch post\n"
                                                "- the notch tray, in one paragraph\n"
                                                "- three screenshots\n"
                                                "- what it doesn\u2019t do"),
                                 NoteColor::sky, now - 420);
    launch.frame = frameBelowTop(screen, 340, 110, 270, 250);
    launch.timer = runningTimer(1500, now + 1092);
    notes.append(launch);

    StickyNote standup = demoNote(4,
                                  QStringLiteral("Standup\n"
                                                 "\u2022 ship the tray animation\n"
                                                 "\u2022 review Lioro\u2019s PR\n"
                                                 "\u2022 ask about the 14\" MacBook Air"),
                                  NoteColor::mint, now - 10800);
    standup.frame = frameBelowTop(screen, 80, 360, 250, 230);
    notes.append(standup);

    StickyNote call = demoNote(5, QStringLiteral("Call Nimsa back about the venue"), NoteColor::rose, now - 93600);
    call.frame = frameBelowTop(screen, 370, 400, 240, 190);
    call.setDeadline(now - 1080, call.created);
    notes.append(call);

    StickyNote passport = demoNote(6,
                                   QStringLiteral("Renew passport\n"
                                                  "Appointment slot opens at 10. Bring the old one and two photos."),
                                   NoteColor::lilac, now - 345600);
    passport.frame = frameBelowTop(screen, 650, 90, 240, 210);
    passport.setDeadline(appointment(now, calendar), passport.created);
    notes.append(passport);

    StickyNote laundry = demoNote(7, QStringLiteral("Laundry: move to the dryer"), NoteColor::mint, now - 1200);
    laundry.tucked = true;
    laundry.timer = pausedTimer(2700, 1860);
    notes.append(laundry);

    StickyNote groceries = demoNote(8, QStringLiteral("Groceries\nmilk, eggs, coriander, atta, limes"),
                                    NoteColor::graphite, now - 172800);
    groceries.tucked = true;
    notes.append(groceries);

    StickyNote train = demoNote(9, QStringLiteral("Book train tickets for Pune"), NoteColor::sky, now - 259200);
    train.doneAt = now - 86400;
    notes.append(train);

    StickyNote wifi = demoNote(10, QStringLiteral("Old wifi password note"), NoteColor::lemon, now - 1036800);
    wifi.deletedAt = now - 172800;
    notes.append(wifi);

    for (StickyNote &note : notes)
        note.edited = note.created + editedAfterCreation;
    return notes;
}

} // namespace DemoNotes
