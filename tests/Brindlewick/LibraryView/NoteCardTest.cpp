#include "LibraryFixture.h"
#include "Pixels.h"
#include "PaintCount.h"

#include "LibraryView/NoteCard.h"
#include "Theme/Appearance.h"
#include "Theme/Paper.h"
#include "Theme/Theme.h"

#include "TestNotes.h"
#include "TimeText.h"

#include <QApplication>
#include <QLocale>

namespace {

const QColor hostColor(0x80, 0x80, 0x80);

class NoteCardTest : public LibraryTest {
protected:
    NoteCardTest()
    {
        Pixels::paintBackground(&host, hostColor);
        Appearance::force(&host, Scheme::light);
        host.resize(232, 188);
        host.show();
    }

    // A card of the note as it stands in the model, 220 × 176 on the grey host.
    NoteCard *cardOf(const QUuid &id, bool selected = false)
    {
        delete m_card;
        m_card = new NoteCard(model, stored(id), selected, &host);
        m_card->setGeometry(host.rect());
        m_card->show();
        return m_card;
    }

    StickyNote plain(const QString &text)
    {
        StickyNote note(QUuid::createUuid(), text, NoteColor::mint, t0 - 600);
        put(note);
        return note;
    }

    QWidget host;

private:
    NoteCard *m_card = nullptr;
};

TEST_F(NoteCardTest, ADoneCardIsDimmedAndEmptiedButItsSelectionRingIsNot)
{
    const QUuid launch = idOf(QStringLiteral("Write the launch post"));
    NoteCard *card = cardOf(launch, true);
    EXPECT_EQ(card->countdown(), Countdowns::primary(stored(launch), model.now()));
    EXPECT_EQ(card->paperOpacity(), 1.0);
    const QRect paper = card->cardRect();
    const QPoint margin(paper.left() + 4, paper.center().y());
    const QPoint ring(paper.left() - 3, paper.center().y());
    const QColor fill = Paper::fill(NoteColor::sky).resolved(Scheme::light);
    QImage image = Pixels::grab(&host);
    EXPECT_LE(Pixels::distance(Pixels::at(image, margin.x(), margin.y()), fill), 1);
    EXPECT_LE(Pixels::distance(Pixels::at(image, ring.x(), ring.y()), Theme::accent.resolved(Scheme::light)), 2);

    model.toggleDone(launch);
    card = cardOf(launch, true);
    EXPECT_FALSE(card->countdown()) << "a done note shows the empty track";
    EXPECT_EQ(card->paperOpacity(), 0.7);
    image = Pixels::grab(&host);
    // The card's faint shadow shows through the dimmed paper.
    EXPECT_LE(Pixels::distance(Pixels::at(image, margin.x(), margin.y()), Pixels::over(fill, 0.7, hostColor)), 4);
    EXPECT_LE(Pixels::distance(Pixels::at(image, ring.x(), ring.y()), Theme::accent.resolved(Scheme::light)), 2)
        << "the ring keeps its full strength";

    model.deleteNotes({idOf(QStringLiteral("Standup"))});
    EXPECT_EQ(cardOf(idOf(QStringLiteral("Standup")))->paperOpacity(), 0.7);
}

TEST_F(NoteCardTest, TheBadgeShowsTheDeadlineElseTheTimerAndTurnsRedOnlyForALiveNoteThatIsDue)
{
    const auto due = [this](Date date) { return TimeText::due(date, model.now(), Calendar::current(), QLocale()); };
    struct Case {
        const char *name;
        std::function<void(StickyNote &)> change;
        QString badge;
        bool red;
    };
    const QList<Case> cases{
        {"deadline now", [&](StickyNote &note) { note.setDeadline(t0, t0 - 60); }, due(t0), true},
        {"deadline ahead", [&](StickyNote &note) { note.setDeadline(t0 + 1, t0 - 60); }, due(t0 + 1), false},
        {"done, deadline past",
         [&](StickyNote &note) {
             note.setDeadline(t0 - 600, t0 - 900);
             note.doneAt = t0;
         },
         due(t0 - 600), false},
        {"timer", [](StickyNote &note) { note.timer = NoteTimer(300); }, QStringLiteral("5 min timer"), false},
        {"timer and deadline",
         [&](StickyNote &note) {
             note.timer = NoteTimer(300);
             note.setDeadline(t0 + 7200, t0);
         },
         due(t0 + 7200), false},
        {"neither", [](StickyNote &) {}, QString(), false},
    };
    for (const Case &c : cases) {
        StickyNote note = plain(QStringLiteral("Badge"));
        c.change(note);
        put(note);
        NoteCard *card = cardOf(note.id);
        EXPECT_EQ(card->badgeText(), c.badge) << c.name;
        EXPECT_EQ(card->badgeIsOverdue(), c.red) << c.name;
        const QImage image = Pixels::grab(&host);
        const QRect badgeRow(card->cardRect().left() + 12, card->cardRect().bottom() - 24, 90, 16);
        EXPECT_EQ(Pixels::nearest(image, badgeRow, Theme::alarm.resolved(Scheme::light)) <= 30, c.red) << c.name;
    }
}

TEST_F(NoteCardTest, TitleAndRestAreCutToTwoAndFourLines)
{
    StickyNote note = plain(QStringLiteral("A title long enough to need more than two lines on a card this narrow, "
                                           "so it is cut\nOne\nTwo\nThree\nFour\nFive"));
    NoteCard *card = cardOf(note.id);
    ASSERT_EQ(card->titleLines().size(), 2);
    EXPECT_TRUE(card->titleLines().last().endsWith(QStringLiteral("…")));
    const QStringList rest = card->restLines();
    ASSERT_EQ(rest.size(), 4);
    EXPECT_EQ(rest.mid(0, 3), (QStringList{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    EXPECT_TRUE(rest.last().startsWith(QStringLiteral("Four"))) << rest.last().toStdString();

    EXPECT_TRUE(cardOf(plain(QStringLiteral("Only a title")).id)->restLines().isEmpty());
}

TEST_F(NoteCardTest, ARingingNoteCarriesTheRedOutlineOnlyWhileItRings)
{
    const QUuid standup = idOf(QStringLiteral("Standup"));
    NoteCard *card = cardOf(standup);
    const QPoint edge(card->cardRect().left() + 1, card->cardRect().center().y());
    const QColor alarm = Theme::alarm.resolved(Scheme::light);
    EXPECT_GT(Pixels::distance(Pixels::at(Pixels::grab(&host), edge.x(), edge.y()), alarm), 60);
    model.setRinging({standup});
    EXPECT_LE(Pixels::distance(Pixels::at(Pixels::grab(&host), edge.x(), edge.y()), alarm), 2);
    model.stopRinging(standup);
    EXPECT_GT(Pixels::distance(Pixels::at(Pixels::grab(&host), edge.x(), edge.y()), alarm), 60);
}

TEST_F(NoteCardTest, ACardRepaintsWhenItsTapeOrBadgeShowsSomethingNewAndOnlyThen)
{
    StickyNote due = plain(QStringLiteral("Due in three hours"));
    due.setDeadline(model.now() + 3 * 3600 + 30, model.now() - 3600);
    put(due);
    StickyNote timed = plain(QStringLiteral("Tea"));
    timed.timer = TestNotes::runningTimer(600, 300.5, model.now());
    put(timed);
    struct Case { QUuid id; double later; bool changes; };
    for (const Case &c : {Case{due.id, 1, false}, Case{due.id, 60, true}, Case{timed.id, 1, true}}) {
        NoteCard *card = cardOf(c.id);
        QApplication::processEvents();
        const QString tape = card->countdown()->shortText();
        const PaintCount paints(card);
        model.advance(c.later);
        QApplication::processEvents();
        EXPECT_EQ(card->countdown()->shortText() != tape, c.changes) << stored(c.id).text.toStdString();
        EXPECT_EQ(paints.paints > 0, c.changes) << stored(c.id).text.toStdString();
    }
}

} // namespace
