#include "NoteExport.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const Calendar berlin = Calendar::named("Europe/Berlin");
const QLocale english(QLocale::English, QLocale::UnitedStates);
const Date now = *berlin.date(QDate(2025, 3, 14), QTime(10, 0));

StickyNote note(const QString &text)
{
    return StickyNote(QUuid::createUuid(), text, NoteColor::peach, now - 86400);
}

QString exported(const QList<StickyNote> &notes)
{
    return NoteExport::text(notes, now, berlin, english);
}

TEST(NoteExport, EachNoteIsABlockOfItsTextAndTimes)
{
    StickyNote both = note(QStringLiteral("\n  Pasta\n  boil water first \n\n"));
    both.timer = NoteTimer(25 * 60);
    both.timer->start(now - 23 * 60);
    both.timer->pause(now);
    both.setDeadline(*berlin.date(QDate(2025, 3, 14), QTime(18, 30)), now);
    StickyNote done = note(QStringLiteral("Call Mum"));
    done.doneAt = now;
    StickyNote deadlineOnly = note(QStringLiteral("Taxes"));
    deadlineOnly.setDeadline(*berlin.date(QDate(2025, 3, 17), QTime(9, 0)), now);

    struct Case { const char *name; StickyNote note; const char *block; };
    const Case cases[] = {
        {"plain", note(QStringLiteral("Milk")), "Milk"},
        {"deadline before timer, timer by its whole length", both,
         "Pasta\n  boil water first\nDue: Today, 6:30 PM\nTimer: 25 min"},
        {"done", done, "Call Mum\nDone"},
        {"deadline in the calendar's zone", deadlineOnly, "Taxes\nDue: Mon, 9:00 AM"},
        {"blank text", note(QStringLiteral(" \n\t\n")), ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(exported({c.note}), QString::fromUtf8(c.block)) << c.name;
}

TEST(NoteExport, BlocksAreSetApartByALineOfEmDashes)
{
    EXPECT_EQ(exported({}), "");
    EXPECT_EQ(exported({note(QStringLiteral("One")), note(QStringLiteral("Two"))}), "One\n\n———\n\nTwo");
    EXPECT_EQ(exported({note(QStringLiteral("One")), note(QStringLiteral("  ")), note(QStringLiteral("Three"))}),
              "One\n\n———\n\n\n\n———\n\nThree");
}

} // namespace
