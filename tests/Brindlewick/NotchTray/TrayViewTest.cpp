#include "Patience.h"
#include "Pixels.h"
#include "Snapshots.h"
#include "TestNotes.h"

#include "NotchTray/CardRow.h"
#include "NotchTray/OpenTray.h"
#include "NotchTray/RestingTray.h"
#include "NotchTray/TrayBanner.h"
#include "NotchTray/TrayCard.h"
#include "NotchTray/TrayView.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "Theme/Paper.h"
#include "Theme/RingButton.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QEnterEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using TestNotes::runningTimer;

// A 1512 × 982 screen, plain or with a 185 × 32 housing in its top middle.
TrayGeometry screen(bool notch)
{
    ScreenShape shape{QRectF(0, 0, 1512, 982), QRectF(0, 0, 1512, 950), 0, std::nullopt, std::nullopt};
    if (notch) {
        shape.safeTop = 32;
        shape.auxLeft = shape.auxRight = (1512 - 185) / 2.0;
    }
    return TrayGeometry(shape);
}

QAbstractButton *buttonNamed(const QWidget *parent, const QString &name)
{
    for (auto *button : parent->findChildren<QAbstractButton *>())
        if (button->accessibleName() == name)
            return button;
    return nullptr;
}

// The tray view over a fixed screen and a model on a fixed clock, as the panel shows it.
class TrayViewTest : public testing::Test {
protected:
    static constexpr Date t0{786000000};

    TrayViewTest()
        : model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        model.clock = [] { return t0; };
        model.load();
        model.tick();
        model.onShow = [this](const QUuid &id) { shown.append(id); };
    }

    QUuid tuck(const QString &text, std::optional<double> timerLeft = std::nullopt, NoteColor color = NoteColor::lemon)
    {
        const QUuid id = model.newNote(text, color, std::nullopt, false, std::nullopt, true);
        if (timerLeft) {
            NoteBook book = model.book();
            StickyNote *note = book.find(id);
            note->timer = runningTimer(3600, *timerLeft, t0);
            model.setBook(book);
        }
        return id;
    }

    // Shows the view in `mode` once the shape has arrived.
    TrayView &show(bool notch, const TrayMode &mode)
    {
        state.setGeometry(screen(notch));
        view = std::make_unique<TrayView>(state, model);
        view->resize(1512, 238);
        view->show();
        state.setMode(mode);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->content()->isVisible(); }, patienceMs));
        return *view;
    }

    // The shape and a margin around it, written for a person to look at.
    QImage picture(const QString &name)
    {
        QCoreApplication::processEvents();
        const QRect area = view->shapeRect().toAlignedRect().adjusted(-16, 0, 16, 24);
        QImage image(area.size(), QImage::Format_ARGB32);
        image.fill(QColor(0x3a, 0x6e, 0xa5));
        QPainter painter(&image);
        view->render(&painter, QPoint(), QRegion(area), QWidget::DrawChildren);
        painter.end();
        Snapshots::write(image, QStringLiteral("tray"), name);
        return image;
    }

    template <typename T> T *find() const { return view->findChild<T *>(); }

    QTemporaryDir dir;
    AppModel model;
    TrayState state;
    std::unique_ptr<TrayView> view;
    QList<QUuid> shown;
};

TEST_F(TrayViewTest, TheRestingStripAndEarsShowTheCountAndTheNextCountdownAndSayItAloud)
{
    struct Case {
        int tucked;
        bool notch;
        const char *spoken;
    };
    const Case cases[] = {
        {0, false, "Brindlewick tray"}, {1, false, "1 note in the notch"},
        {3, false, "3 notes in the notch, Timer, 5 min left"}, {0, true, "Brindlewick tray"},
        {1, true, "1 note in the notch"}, {3, true, "3 notes in the notch, Timer, 5 min left"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.tucked) + (c.notch ? " notch" : " strip"));
        model.setBook(NoteBook());
        const std::array<std::optional<double>, 3> timers{std::nullopt, 300.0, 2000.0};
        for (int i = 0; i < c.tucked; ++i)
            tuck(QStringLiteral("Tucked %1").arg(i), timers[i]);
        show(c.notch, TrayMode::resting());
        const auto *resting = find<RestingTray>();
        ASSERT_TRUE(resting);
        EXPECT_EQ(resting->accessibleName(), QString::fromUtf8(c.spoken));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(const_cast<RestingTray *>(resting))->role(),
                  QAccessible::Button);
        const QImage image = picture(QStringLiteral("resting-%1-%2").arg(c.notch ? "notch" : "strip").arg(c.tucked));

        // Ears widen the housing by 62 points on each side only while notes are tucked.
        const QRectF shape = view->shapeRect();
        const qreal expectedWidth = c.notch ? 185 + (c.tucked ? 124 : 0) : TrayGeometry::stripWidth;
        EXPECT_EQ(shape.width(), expectedWidth);
        EXPECT_EQ(Pixels::at(image, 16 + 2, 4), QColor(Qt::black)) << "the shape's top left corner";
        EXPECT_NE(Pixels::at(image, 16 - 2, 4), QColor(Qt::black)) << "beside the shape";
    }
}

TEST_F(TrayViewTest, TheOpenTrayHeadsItsRowOrItsHintAndBuildsOnlyTheCardsInView)
{
    show(false, TrayMode::open());
    auto *open = find<OpenTray>();
    ASSERT_TRUE(open);
    EXPECT_EQ(open->heading(), QStringLiteral("Tucked away"));
    EXPECT_TRUE(open->showsEmptyState());
    picture(QStringLiteral("open-empty"));

    tuck(QStringLiteral("Masala chai\nsteep four minutes"), 240, NoteColor::peach);
    tuck(QStringLiteral("Laundry"), std::nullopt, NoteColor::mint);
    show(true, TrayMode::open());
    open = find<OpenTray>();
    EXPECT_EQ(open->heading(), QStringLiteral("In the notch · 2"));
    EXPECT_FALSE(open->showsEmptyState());
    const QList<TrayCard *> two = open->row()->cards();
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0]->x(), open->row()->width() - two[1]->x() - two[1]->width()) << "a short row is centred";
    picture(QStringLiteral("open-notch-two-cards"));

    NoteBook many = model.book();
    for (int i = 0; i < 2000; ++i) {
        StickyNote note = TestNotes::note(100 + i, t0, QString(), NoteColors::allCases[std::size_t(i) % 7]);
        note.tucked = true;
        many.notes.append(note);
    }
    model.setBook(many);
    CardRow *row = find<OpenTray>()->row();
    EXPECT_EQ(row->cards().size(), 4) << "645 points show four cards, the last one cut";
    picture(QStringLiteral("open-more-than-fit"));
    row->scrollTo(1000000);
    const QList<TrayCard *> last = row->cards();
    EXPECT_LE(last.size(), 5) << "only the cards in view, cut at either edge";
    EXPECT_EQ(last.last()->note().id, model.tuckedNotes().last().id) << "scrolled to the end of the row";
    EXPECT_EQ(last.last()->x() + TrayCard::cardSize.width() + CardRow::padding, row->width());
}

// Wherever the spring has carried the shape, the open tray's content shows in it and nowhere else.
TEST_F(TrayViewTest, MidSpringTheContentShowsCutToTheShape)
{
    for (int i = 0; i < 4; ++i)
        tuck(QStringLiteral("Card %1").arg(i), std::nullopt, NoteColor::peach);
    const QColor desktop(0x3a, 0x6e, 0xa5);
    const QColor paper = Paper::fill(NoteColor::peach).resolved(Scheme::light);
    show(false, TrayMode::resting());
    for (const int ms : {60, 120, 200}) {
        SCOPED_TRACE(ms);
        state.setMode(TrayMode::open());
        view->spring().pause();
        view->spring().setCurrentTime(ms);
        QImage image(view->size(), QImage::Format_ARGB32);
        image.fill(desktop);
        QPainter painter(&image);
        view->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.end();
        const QRect shape = view->shapeRect().toAlignedRect();
        EXPECT_LE(Pixels::nearest(image, shape, paper), 2) << "cards in the shape";
        const QRect around = shape.adjusted(-1, 0, 1, 1);
        int outside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                outside += !around.contains(x, y) && image.pixelColor(x, y) != desktop;
        EXPECT_EQ(outside, 0) << "nothing drawn beside or below the shape";
        state.setMode(TrayMode::resting());
        view->spring().stop();
    }
}

TEST_F(TrayViewTest, CardsOpenTheirNoteAndOfferPutBackAndDoneWhileHovered)
{
    const QUuid chai = tuck(QStringLiteral("Masala chai\nsteep four minutes"), 240, NoteColor::peach);
    const QUuid laundry = tuck(QStringLiteral("Laundry"), std::nullopt, NoteColor::mint);
    model.setRinging({chai});
    show(false, TrayMode::open());
    QList<TrayCard *> cards = find<OpenTray>()->row()->cards();
    ASSERT_EQ(cards.size(), 2);
    TrayCard *card = cards[0]->note().id == chai ? cards[0] : cards[1];
    EXPECT_EQ(card->accessibleName(), QStringLiteral("Masala chai, Timer, 4 min left"));
    EXPECT_FALSE(card->showsButtons());

    QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
    QApplication::sendEvent(card, &enter);
    EXPECT_TRUE(card->showsButtons());
    picture(QStringLiteral("open-card-hovered"));

    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(60, 80));
    EXPECT_EQ(shown, QList<QUuid>{chai});
    EXPECT_FALSE(model.ringing().contains(chai)) << "opening a ringing note answers it";
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(card)->actionInterface();
    ASSERT_TRUE(actions);
    ASSERT_EQ(actions->actionNames(), QStringList{"Open"});
    actions->doAction(QStringLiteral("Open"));
    EXPECT_EQ(shown, (QList<QUuid>{chai, chai})) << "the accessibility action opens it too";
    EXPECT_EQ(state.mode(), TrayMode::open());

    QAbstractButton *putBack = buttonNamed(card, QStringLiteral("Put on the desktop"));
    ASSERT_TRUE(putBack);
    putBack->click();
    EXPECT_FALSE(model.book()[chai]->tucked);
    QTest::qWait(0);
    cards = find<OpenTray>()->row()->cards();
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[0]->note().id, laundry);

    QAbstractButton *plus = buttonNamed(view.get(), QStringLiteral("New note in the notch"));
    ASSERT_TRUE(plus);
    plus->click();
    ASSERT_EQ(model.tuckedNotes().size(), 2);
    const StickyNote added = model.book().notes.last();
    EXPECT_TRUE(added.tucked);
    EXPECT_TRUE(added.text.isEmpty());
    EXPECT_EQ(shown.last(), added.id);
    EXPECT_EQ(state.mode(), TrayMode::open()) << "the tray stays open for the new note";
}

TEST_F(TrayViewTest, TheBannerSaysWhyItRingsAndItsAnswersCloseItButOpenLeavesIt)
{
    const QUuid id = tuck(QStringLiteral("Masala chai"), 0, NoteColor::peach);
    model.setRinging({id});
    show(false, TrayMode::banner(id));
    auto *banner = find<TrayBanner>();
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->headingText(), QStringLiteral("Time’s up"));
    EXPECT_EQ(banner->titleText(), QStringLiteral("Masala chai"));
    picture(QStringLiteral("banner"));

    const QUuid second = tuck(QStringLiteral("Laundry"), 0, NoteColor::mint);
    state.setMode(TrayMode::banner(second));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(find<TrayBanner>()->titleText(), QStringLiteral("Laundry")) << "a newer ring takes the banner";
    EXPECT_TRUE(find<TrayBanner>()->isVisible()) << "at once: the shape does not move";
    state.setMode(TrayMode::banner(id));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const auto press = [&](const QString &text) {
        for (auto *button : view->findChildren<RingButton *>())
            if (button->text() == text)
                button->click();
    };
    press(QStringLiteral("Open"));
    EXPECT_EQ(shown, QList<QUuid>{id});
    EXPECT_EQ(state.mode(), TrayMode::banner(id)) << "the poll retires it once the pointer is away";
    press(QStringLiteral("+5 min"));
    EXPECT_EQ(state.mode(), TrayMode::resting());

    show(true, TrayMode::banner(id));
    press(QStringLiteral("Done"));
    EXPECT_TRUE(model.book()[id]->doneAt);
    EXPECT_EQ(state.mode(), TrayMode::resting());
}

TEST(TrayBanner, TheHeadingNamesTheTimerOrTheDeadlineThatRang)
{
    constexpr Date now{786000000};
    StickyNote timerDone = TestNotes::note(1, now);
    timerDone.timer = runningTimer(60, 0, now);
    StickyNote deadlineArrived = TestNotes::note(2, now);
    deadlineArrived.deadline = now;
    StickyNote bothTimerRunning = deadlineArrived;
    bothTimerRunning.timer = runningTimer(60, 30, now);
    StickyNote bothTimerDone = deadlineArrived;
    bothTimerDone.timer = runningTimer(60, -5, now);
    const std::pair<std::optional<StickyNote>, QString> cases[] = {
        {std::nullopt, QString()},
        {timerDone, QStringLiteral("Time’s up")},
        {deadlineArrived, QStringLiteral("Due now")},
        {bothTimerRunning, QStringLiteral("Due now")},
        {bothTimerDone, QStringLiteral("Time’s up")},
        {TestNotes::note(3, now), QStringLiteral("Time’s up")},
    };
    for (const auto &[note, heading] : cases)
        EXPECT_EQ(TrayBanner::heading(note, now), heading) << (note ? note->text.toStdString() : "missing");
}

} // namespace
