#include "NoteBook.h"

#include <gtest/gtest.h>

namespace {

const Date t0{800000000};

StickyNote noteWithText(const QString &text)
{
    return StickyNote(QUuid::createUuid(), text, NoteColor::lemon, t0);
}

// `count` letters each carrying six combining marks above.
QString stacked(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("e\u0301\u0302\u0303\u0304\u0306\u0307");
    return text;
}

TEST(StickyNote, TitleAndRestComeFromTheFirstNonBlankLine)
{
    struct Case { QString text; QString title; QString rest; };
    const QString eighty(80, u'a');
    const QString eightyOne = eighty + u'b';
    const Case cases[] = {
        {"", "Empty note", ""},
        {"  \n\t\n \u2028", "Empty note", ""},
        {"   \n\n  Buy milk  \nsecond line\n", "Buy milk", "second line"},
        {"one line only", "one line only", ""},
        {"\r\nTitle\r\nBody", "Title", "Body"},
        {"\u00a0Title\u2029Body\u0085More", "Title", "Body\nMore"},
        {"Title\n\n  body keeps inner  spacing \n\n", "Title", "body keeps inner  spacing"},
        {eighty, eighty, ""},
        {eightyOne, QString(79, u'a') + QChar(0x2026), ""},
        // Characters are grapheme clusters: a flag is one character, not two code points or four units.
        {QString(79, u'x') + QStringLiteral("\U0001F1E9\U0001F1EA"),
         QString(79, u'x') + QStringLiteral("\U0001F1E9\U0001F1EA"), ""},
        {QString(80, u'x') + QStringLiteral("\U0001F1E9\U0001F1EA"), QString(79, u'x') + QChar(0x2026), ""},
        // Stacked combining marks: each letter and its six marks are one character.
        {stacked(80), stacked(80), ""},
        {stacked(100), stacked(79) + QChar(0x2026), ""},
        {stacked(79) + u' ' + QString(100000, u'a'), stacked(79) + QChar(0x2026), ""},
        // A huge note: only the start of its first line makes the title.
        {QString(1000000, u'a'), QString(79, u'a') + QChar(0x2026), ""},
        {"Title\n" + QString(1000000, u'a'), "Title", QString(1000000, u'a')},
    };
    for (const Case &c : cases) {
        const StickyNote note = noteWithText(c.text);
        EXPECT_EQ(note.title(), c.title) << c.text.toStdString();
        EXPECT_EQ(note.rest(), c.rest) << c.text.toStdString();
        EXPECT_EQ(note.isBlank(), c.title == "Empty note") << c.text.toStdString();
    }
}

TEST(StickyNote, DerivedStates)
{
    StickyNote note = noteWithText("x");
    EXPECT_TRUE(note.isLive());
    EXPECT_FALSE(note.hasTime());

    NoteTimer finished(60);
    finished.start(t0 - 100);
    note.timer = finished;
    EXPECT_TRUE(note.hasTime());

    note.doneAt = t0;
    note.deletedAt = t0;
    EXPECT_TRUE(note.isDone());
    EXPECT_TRUE(note.isDeleted());
    EXPECT_FALSE(note.isLive());
}

TEST(StickyNote, SettingADeadlineResetsItsAlertsButNotTheTimerOrEditStamp)
{
    StickyNote note = noteWithText("x");
    note.alertedDeadline = t0;
    note.alertedWarning = t0;
    note.alertedTimerEnd = t0;
    note.setDeadline(t0 + 3600, t0 + 5);
    EXPECT_EQ(note.deadline, t0 + 3600);
    EXPECT_EQ(note.deadlineSetAt, t0 + 5);
    EXPECT_FALSE(note.alertedDeadline);
    EXPECT_FALSE(note.alertedWarning);
    EXPECT_EQ(note.alertedTimerEnd, t0);
    EXPECT_EQ(note.edited, t0);

    note.alertedDeadline = t0;
    note.setDeadline(std::nullopt, t0 + 9);
    EXPECT_FALSE(note.deadline);
    EXPECT_FALSE(note.deadlineSetAt);
    EXPECT_FALSE(note.alertedDeadline);
}

TEST(NoteColor, RawValuesAndTitles)
{
    for (NoteColor color : NoteColors::allCases)
        EXPECT_EQ(noteColorFromString(toString(color)), color);
    EXPECT_EQ(title(NoteColor::graphite), "Graphite");
    EXPECT_FALSE(noteColorFromString("Lemon"));
    EXPECT_FALSE(noteColorFromString("teal"));
}

TEST(NoteFrame, NegativeExtentsAreStandardised)
{
    EXPECT_EQ(NoteFrame::fromRect(QRectF(100, 50, -20, 30)), (NoteFrame{80, 50, 20, 30}));
}

TEST(NoteBook, LookupReplaceAppendRemoveKeepOrder)
{
    const StickyNote a = noteWithText("a");
    const StickyNote b = noteWithText("b");
    const StickyNote c = noteWithText("c");
    NoteBook book({a, b, c});

    EXPECT_EQ(book[b.id], b);
    EXPECT_FALSE(book[QUuid::createUuid()]);

    StickyNote changed = b;
    changed.text = "B";
    book.set(b.id, changed);
    ASSERT_EQ(book.notes.size(), 3);
    EXPECT_EQ(book.notes[1].text, "B");

    const StickyNote d = noteWithText("d");
    book.set(d.id, d);
    EXPECT_EQ(book.notes.last(), d);

    const NoteBook before = book;
    book.set(QUuid::createUuid(), std::nullopt);
    EXPECT_EQ(book, before);

    book.set(a.id, std::nullopt);
    ASSERT_EQ(book.notes.size(), 3);
    EXPECT_EQ(book.notes.first().text, "B");
}

TEST(NoteBook, PurgeDropsOnlyNotesDeletedLongerThanKeepAgo)
{
    const double keep = 2592000;
    StickyNote live = noteWithText("live");
    StickyNote doneLongAgo = noteWithText("done");
    doneLongAgo.doneAt = t0 - 10 * keep;
    StickyNote exactlyKeep = noteWithText("exact");
    exactlyKeep.deletedAt = t0 - keep;
    StickyNote oneSecondMore = noteWithText("older");
    oneSecondMore.deletedAt = t0 - keep - 1;
    StickyNote doneAndDeleted = noteWithText("both");
    doneAndDeleted.doneAt = t0 - 2 * keep;
    doneAndDeleted.deletedAt = t0 - 2 * keep;

    NoteBook book({oneSecondMore, live, exactlyKeep, doneAndDeleted, doneLongAgo});
    book.purge(t0, keep);
    EXPECT_EQ(book.notes, (QList<StickyNote>{live, exactlyKeep, doneLongAgo}));

    NoteBook empty;
    empty.purge(t0, keep);
    EXPECT_TRUE(empty.notes.isEmpty());
}

} // namespace
