#include "NoteViewFixture.h"
#include "PaintCount.h"

#include "NoteView/ColorButton.h"
#include "NoteView/DeadlineButton.h"
#include "NoteView/NoteFooter.h"
#include "NoteView/NoteHeader.h"
#include "NoteView/NoteMenu.h"
#include "NoteView/Popover.h"
#include "NoteView/RingBar.h"
#include "Theme/ColorDots.h"
#include "Theme/PaperEditor.h"
#include "Theme/PaperIconButton.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Theme/TiltedTape.h"
#include "TestNotes.h"
#include "TimeText.h"

#include <QClipboard>
#include <QSignalSpy>

namespace {

using Kind = PopoverRequest::Kind;

NoteTimer timerEndingAt(Date end, double duration = 600)
{
    NoteTimer timer(duration);
    timer.start(end - duration);
    return timer;
}

TEST_F(NoteViewTest, ControlsComeWithHoverFocusAndOpenPopovers)
{
    const QUuid id = put(note("Buy milk"));
    NoteView &v = show(id);
    const auto shows = [&] { return paintsOn(v.header()->colorButton()) && paintsOn(v.header()->moreButton()) &&
                                    paintsOn(v.footer()->addTimerButton()) && paintsOn(v.footer()->deadlineButton()); };
    const auto hidden = [&] { return !paintsOn(v.header()->colorButton()) && !paintsOn(v.header()->moreButton()) &&
                                     !paintsOn(v.footer()->addTimerButton()) && !paintsOn(v.footer()->deadlineButton()); };
    EXPECT_FALSE(v.controlsShown());
    EXPECT_TRUE(hidden());

    hover(true);
    EXPECT_TRUE(v.controlsShown());
    EXPECT_TRUE(waitFor(shows));
    hover(false);
    EXPECT_FALSE(v.controlsShown());
    EXPECT_TRUE(waitFor(hidden));

    v.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    v.editor()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(v.isEditing());
    EXPECT_TRUE(v.controlsShown());
    v.editor()->clearFocus();
    QApplication::processEvents();
    EXPECT_FALSE(v.controlsShown());
    // Tabbing onto a hidden control brings the controls out too.
    v.header()->moreButton()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(v.controlsShown());
    dropFocus();
    EXPECT_FALSE(v.controlsShown());

    for (const Kind kind : {Kind::timer, Kind::deadline, Kind::color}) {
        v.openPopover(kind);
        EXPECT_TRUE(v.showsPopover(kind));
        EXPECT_TRUE(v.controlsShown());
        v.popover()->close();
        dropFocus();
        EXPECT_FALSE(v.showsPopover(kind));
        EXPECT_FALSE(v.controlsShown());
    }
    EXPECT_TRUE(waitFor(hidden));
}

TEST_F(NoteViewTest, ForcedControlsShowAtOnce)
{
    NoteView &v = show(put(note("Forced")), true);
    EXPECT_TRUE(v.controlsShown());
    EXPECT_EQ(v.controlsOpacity(), 1.0);
    hover(true);
    hover(false);
    EXPECT_TRUE(v.controlsShown());
}

TEST_F(NoteViewTest, TimerButtonsAndASetDeadlineStayWhileTheOtherControlsHide)
{
    StickyNote timed = note("Tea");
    timed.timer = timerEndingAt(t0 + 120);
    timed.deadline = t0 + 7200;
    NoteView &v = show(put(timed));
    ASSERT_FALSE(v.controlsShown());
    EXPECT_FALSE(v.footer()->addTimerButton()->isVisible());
    for (QWidget *control : {static_cast<QWidget *>(v.footer()->startPauseButton()),
                             static_cast<QWidget *>(v.footer()->addTimeButton()),
                             static_cast<QWidget *>(v.footer()->changeTimerButton()),
                             static_cast<QWidget *>(v.footer()->deadlineButton())})
        EXPECT_TRUE(paintsOn(control)) << control->accessibleName().toStdString();
    EXPECT_FALSE(paintsOn(v.header()->moreButton()));
}

TEST_F(NoteViewTest, HeaderButtonsCallTheModelAndFollowTheNote)
{
    const QUuid id = put(note("Header"));
    NoteView &v = show(id, true);
    PaperIconButton *pin = v.header()->floatButton();
    PaperIconButton *tuck = v.header()->tuckButton();
    ColorButton *color = v.header()->colorButton();

    EXPECT_EQ(pin->accessibleName(), "Float above other windows");
    EXPECT_EQ(pin->toolTip(), "Float above other windows");
    EXPECT_EQ(pin->symbol(), "pin");
    EXPECT_FALSE(pin->isOn());
    click(pin);
    EXPECT_TRUE(stored(id).pinned);
    EXPECT_EQ(pin->accessibleName(), "Stop floating");
    EXPECT_EQ(pin->toolTip(), "Floating above other windows. Click to stop.");
    EXPECT_EQ(pin->symbol(), "pin.fill");
    EXPECT_TRUE(pin->isOn());
    click(pin);
    EXPECT_FALSE(stored(id).pinned);

    ASSERT_FALSE(model->trayEnabled());
    EXPECT_EQ(tuck->accessibleName(), "Tuck into the notch");
    EXPECT_EQ(tuck->symbol(), "arrow.up.to.line");
    click(tuck);
    EXPECT_TRUE(stored(id).tucked);
    EXPECT_EQ(tuck->accessibleName(), "Put back on the desktop");
    EXPECT_EQ(tuck->toolTip(), "Put back on the desktop");
    EXPECT_EQ(tuck->symbol(), "arrow.down.to.line");
    click(tuck);
    EXPECT_FALSE(stored(id).tucked);

    EXPECT_EQ(color->toolTip(), "Colour");
    EXPECT_EQ(color->accessibleName(), "Colour: Lemon");
    model->setColor(id, NoteColor::mint);
    EXPECT_EQ(color->accessibleName(), "Colour: Mint");
    EXPECT_EQ(v.header()->moreButton()->accessibleName(), "More");
    EXPECT_EQ(v.header()->moreButton()->toolTip(), "More");
}

TEST_F(NoteViewTest, ColourPopoverSetsThePaperAndStaysOpen)
{
    const QUuid id = put(note("Paint me"));
    NoteView &v = show(id);
    hover(true);
    click(v.header()->colorButton());
    ASSERT_TRUE(v.showsPopover(Kind::color));
    auto *dots = v.popover()->findChild<ColorDots *>();
    ASSERT_NE(dots, nullptr);
    EXPECT_EQ(dots->selection(), NoteColor::lemon);

    QTest::mouseClick(dots->dot(NoteColor::graphite), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(stored(id).color, NoteColor::graphite);
    EXPECT_TRUE(v.showsPopover(Kind::color));
    EXPECT_EQ(dots->selection(), NoteColor::graphite);

    model->setColor(id, NoteColor::sky);
    EXPECT_EQ(dots->selection(), NoteColor::sky);
    hover(false);
    EXPECT_TRUE(v.controlsShown());
    v.popover()->close();
    dropFocus();
    EXPECT_FALSE(v.controlsShown());
}

TEST_F(NoteViewTest, EditorWritesEveryChangeAndFollowsTheModel)
{
    const QUuid id = put(note(""));
    NoteView &v = show(id);
    QTest::keyClicks(v.editor(), "Call Ann");
    EXPECT_EQ(stored(id).text, "Call Ann");
    EXPECT_EQ(v.accessibleName(), "Note: Call Ann");

    model->setText(id, "Call Bob\nat 5");
    EXPECT_EQ(v.editor()->toPlainText(), "Call Bob\nat 5");
    EXPECT_EQ(v.accessibleName(), "Note: Call Bob");
    EXPECT_EQ(v.editor()->accessibleName(), "Note text");
}

// Typing at the end of a note keeps every character written before it, also those the editor shows
// like others: a no-break space, a line separator, a tab.
TEST_F(NoteViewTest, TypingKeepsTheRestOfTheTextAsWritten)
{
    const QString written = QStringLiteral("100\u00A0\u20AC\u2028second line\tend\n");
    const QUuid id = put(note(written));
    NoteView &v = show(id);
    QTextCursor end = v.editor()->textCursor();
    end.movePosition(QTextCursor::End);
    v.editor()->setTextCursor(end);
    QTest::keyClicks(v.editor(), "!");
    EXPECT_EQ(stored(id).text, written + "!");
}

// The text colour an editor has when its first paint arrives.
class FirstPaintInk : public QObject {
public:
    explicit FirstPaintInk(PaperEditor *editor) : m_editor(editor) { editor->viewport()->installEventFilter(this); }
    std::optional<QColor> ink;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !ink)
            ink = m_editor->palette().color(QPalette::Text);
        return false;
    }

private:
    PaperEditor *m_editor;
};

// Ink set while painting would make every shown note paint its whole text twice.
TEST_F(NoteViewTest, TheTextHasThePapersInkFromItsFirstPaint)
{
    StickyNote sky = note("Call Ann");
    sky.color = NoteColor::sky;
    NoteView v(*model, put(sky), false, false);
    v.setGeometry(300, 40, 250, 230);
    const FirstPaintInk first(v.editor());
    v.show();
    ASSERT_TRUE(waitFor([&] { return first.ink.has_value(); }));
    EXPECT_EQ(*first.ink, Paper::ink(NoteColor::sky).resolved(v.editor()));
}

TEST_F(NoteViewTest, AHugeTextShowsItsStartEditablyAndAHugePasteGoesIntoTheNoteWhole)
{
    const QString huge = QStringLiteral("word ").repeated(40000);
    const QUuid id = put(note(huge));
    NoteView &v = show(id);
    PaperEditor *editor = v.editor();
    EXPECT_TRUE(editor->toPlainText() == huge.left(PaperEditor::shownLimit));
    EXPECT_TRUE(editor->cutNotice()->isVisibleTo(&v));
    EXPECT_EQ(editor->cutNotice()->text(), "Showing the first 50,000 of 200,000 characters");

    editor->moveCursor(QTextCursor::Start);
    QTest::keyClick(editor, Qt::Key_A);
    EXPECT_TRUE(stored(id).text == "a" + huge);

    const QString word(1000000, u'x');
    QGuiApplication::clipboard()->setText(word);
    editor->moveCursor(QTextCursor::End);
    editor->paste();
    // Typing made the shown start one longer; the paste lands at its end.
    EXPECT_TRUE(stored(id).text == "a" + huge.left(PaperEditor::shownLimit) + word + huge.mid(PaperEditor::shownLimit));
    EXPECT_EQ(editor->toPlainText().size(), PaperEditor::shownLimit);
    EXPECT_EQ(editor->textCursor().position(), PaperEditor::shownLimit);

    model->setText(id, "Short again");
    EXPECT_EQ(editor->toPlainText(), "Short again");
    EXPECT_FALSE(editor->cutNotice()->isVisibleTo(&v));
}

TEST_F(NoteViewTest, PlaceholderShowsOnlyWhileTheTextIsEmpty)
{
    struct Case { QString text; bool placeholder; };
    for (const Case &c : {Case{"", true}, Case{" ", false}, Case{"\n", false}}) {
        NoteView &v = show(put(note(c.text)));
        EXPECT_EQ(v.editor()->placeholderText(), "Write something…");
        const QRect firstLine(v.editor()->mapTo(&v, QPoint(12, 2)), QSize(120, 18));
        EXPECT_EQ(paintsOn(firstLine), c.placeholder) << c.text.size();
    }
}

TEST_F(NoteViewTest, FooterTimerButtonsFollowTheTimerState)
{
    NoteTimer paused = timerEndingAt(t0 + 100);
    paused.pause(t0);
    struct Case { const char *name; std::optional<NoteTimer> timer; QString symbol; bool on; QString name11y; QString help; };
    const Case cases[] = {
        {"ready", NoteTimer(300), "play.fill", false, "Start timer", "Start"},
        {"running", timerEndingAt(t0 + 100), "pause.fill", true, "Pause timer", "Pause"},
        {"paused", paused, "play.fill", false, "Start timer", "Start"},
        {"finished", timerEndingAt(t0 - 1), "play.fill", false, "Start timer", "Start"},
    };
    for (const Case &c : cases) {
        StickyNote timed = note(c.name);
        timed.timer = c.timer;
        NoteView &v = show(put(timed));
        NoteFooter *footer = v.footer();
        EXPECT_FALSE(footer->addTimerButton()->isVisible()) << c.name;
        EXPECT_EQ(footer->startPauseButton()->symbol(), c.symbol) << c.name;
        EXPECT_EQ(footer->startPauseButton()->isOn(), c.on) << c.name;
        EXPECT_EQ(footer->startPauseButton()->accessibleName(), c.name11y) << c.name;
        EXPECT_EQ(footer->startPauseButton()->toolTip(), c.help) << c.name;
        EXPECT_EQ(footer->addTimeButton()->text(), "+5") << c.name;
        EXPECT_EQ(footer->addTimeButton()->accessibleName(), "Add 5 minutes") << c.name;
        EXPECT_EQ(footer->changeTimerButton()->accessibleName(), "Change the timer") << c.name;
    }

    NoteView &bare = show(put(note("No timer")));
    EXPECT_TRUE(bare.footer()->addTimerButton()->isVisible());
    EXPECT_EQ(bare.footer()->addTimerButton()->accessibleName(), "Add a timer");
    EXPECT_EQ(bare.footer()->addTimerButton()->toolTip(), "Add a timer (Ctrl+T)");
    EXPECT_FALSE(bare.footer()->startPauseButton()->isVisible());
}

TEST_F(NoteViewTest, StartPauseAndAddTimeCallTheModel)
{
    StickyNote timed = note("Pasta");
    timed.timer = timerEndingAt(t0 + 100);
    const QUuid id = put(timed);
    NoteView &v = show(id);
    click(v.footer()->startPauseButton());
    ASSERT_TRUE(stored(id).timer);
    EXPECT_EQ(stored(id).timer->state(t0), NoteTimer::State::paused);
    click(v.footer()->startPauseButton());
    EXPECT_EQ(stored(id).timer->state(t0), NoteTimer::State::running);

    // "+5" lengthens the timer itself; it never moves a passed deadline as a snooze would.
    StickyNote ready = note("Ready");
    ready.timer = NoteTimer(600);
    ready.deadline = t0 - 60;
    const QUuid readyId = put(ready);
    show(readyId);
    click(view->footer()->addTimeButton());
    EXPECT_EQ(stored(readyId).timer->duration, 900);
    EXPECT_EQ(stored(readyId).timer->state(t0), NoteTimer::State::ready);
    EXPECT_EQ(stored(readyId).deadline, t0 - 60);
}

TEST_F(NoteViewTest, TimerAndDeadlinePopoversHangOnTheirButtons)
{
    StickyNote timed = note("Hang");
    timed.timer = NoteTimer(300);
    NoteView &v = show(put(timed));
    struct Case { QAbstractButton *button; Kind kind; };
    for (const Case &c : {Case{v.footer()->changeTimerButton(), Kind::timer},
                          Case{v.footer()->deadlineButton(), Kind::deadline}}) {
        click(c.button);
        ASSERT_TRUE(v.showsPopover(c.kind));
        const QRect anchor(c.button->mapToGlobal(QPoint(0, 0)), c.button->size());
        const QRect popover = v.popover()->geometry();
        EXPECT_NEAR(popover.center().x(), anchor.center().x(), 1);
        EXPECT_TRUE(popover.top() > anchor.bottom() || popover.bottom() < anchor.top());
        v.popover()->close();
        QApplication::processEvents();
    }
}

TEST_F(NoteViewTest, DeadlineButtonShowsTheDueTextInRedOnceDue)
{
    struct Case { Date deadline; bool overdue; };
    for (const Case &c : {Case{t0 + 3 * 3600, false}, Case{t0, true}, Case{t0 - 86400, true}}) {
        StickyNote due = note("Due");
        due.deadline = c.deadline;
        NoteView &v = show(put(due));
        DeadlineButton *button = v.footer()->deadlineButton();
        const QString text = TimeText::due(c.deadline, t0, Calendar::current(), QLocale());
        EXPECT_EQ(button->text(), text);
        EXPECT_EQ(button->accessibleName(), "Due " + text);
        EXPECT_EQ(button->toolTip(), "Change the deadline");
        EXPECT_EQ(button->isOverdue(), c.overdue);
        const QImage image = Pixels::grab(&v);
        const QRect area(button->mapTo(&v, QPoint(0, 0)), button->size());
        const QColor red = Theme::alarm.resolved(&v);
        EXPECT_EQ(Pixels::nearest(image, area, red) < 40, c.overdue);
    }

    NoteView &v = show(put(note("Open")));
    DeadlineButton *flag = v.footer()->deadlineButton();
    EXPECT_EQ(flag->accessibleName(), "Set a deadline");
    EXPECT_EQ(flag->toolTip(), "Set a deadline (Ctrl+D)");
    hover(true);
    click(flag);
    EXPECT_TRUE(v.showsPopover(Kind::deadline));
}

TEST_F(NoteViewTest, PopoverRequestsOpenOnlyThisNotesPopover)
{
    const QUuid other = put(note("Other"));
    const QUuid id = put(note("Mine"));
    const PopoverRequest early{id, Kind::timer};
    model->setPopover(early);
    NoteView &v = show(id);
    EXPECT_EQ(v.popover(), nullptr) << "a request made before the view is left alone";
    EXPECT_EQ(model->popover(), early);

    const PopoverRequest elsewhere{other, Kind::deadline};
    model->setPopover(elsewhere);
    EXPECT_EQ(v.popover(), nullptr);
    EXPECT_EQ(model->popover(), elsewhere);
    model->setPopover(std::nullopt);

    struct Case { Kind kind; QWidget *anchor; };
    for (const Case &c : {Case{Kind::timer, v.footer()->addTimerButton()},
                          Case{Kind::deadline, v.footer()->deadlineButton()},
                          Case{Kind::color, v.header()->colorButton()}}) {
        model->setPopover(PopoverRequest{id, c.kind});
        ASSERT_TRUE(v.showsPopover(c.kind));
        EXPECT_EQ(model->popover(), std::nullopt);
        EXPECT_TRUE(v.controlsShown());
        const QRect anchor(c.anchor->mapToGlobal(QPoint(0, 0)), c.anchor->size());
        EXPECT_NEAR(v.popover()->geometry().center().x(), anchor.center().x(), 1);
        v.popover()->close();
        QApplication::processEvents();
    }
}

TEST_F(NoteViewTest, RingBarTakesTheFooterPlaceWhileTheNoteRings)
{
    StickyNote rung = note("Tea");
    rung.timer = timerEndingAt(t0 - 5);
    const QUuid id = put(rung);
    NoteView &v = show(id);
    EXPECT_TRUE(v.footer()->isVisible());
    EXPECT_FALSE(v.ringBar()->isVisible());

    model->setRinging({id});
    QApplication::processEvents();
    EXPECT_FALSE(v.footer()->isVisible());
    EXPECT_TRUE(v.ringBar()->isVisible());
    EXPECT_EQ(v.ringBar()->title(), "Time’s up");
    const QImage image = Pixels::grab(&v);
    EXPECT_LT(Pixels::distance(image.pixelColor(1, 100), Theme::alarm.resolved(&v)), 40);

    model->stopRinging(id);
    QApplication::processEvents();
    EXPECT_TRUE(v.footer()->isVisible());
}

TEST_F(NoteViewTest, RingBarTitleSaysWhyTheNoteRings)
{
    struct Case { const char *name; std::optional<NoteTimer> timer; std::optional<Date> deadline; QString title; };
    const Case cases[] = {
        {"timer and deadline both over", timerEndingAt(t0 - 5), t0 - 60, "Time’s up"},
        {"deadline exactly now", std::nullopt, t0, "Due now"},
        {"nothing due", timerEndingAt(t0 + 60), t0 + 60, "Time’s up"},
    };
    for (const Case &c : cases) {
        StickyNote rung = note(c.name);
        rung.timer = c.timer;
        rung.deadline = c.deadline;
        const QUuid id = put(rung);
        model->setRinging({id});
        EXPECT_EQ(show(id).ringBar()->title(), c.title) << c.name;
    }
}

QAbstractButton *answer(NoteView &v, const QString &name)
{
    for (auto *button : v.ringBar()->findChildren<QAbstractButton *>())
        if (button->accessibleName() == name)
            return button;
    return nullptr;
}

TEST_F(NoteViewTest, RingBarAnswersCallTheirOperations)
{
    StickyNote rung = note("Eggs");
    rung.timer = timerEndingAt(t0 - 5);
    rung.deadline = t0 - 60;

    const QUuid snoozed = put(rung);
    model->setRinging({snoozed});
    click(answer(show(snoozed), "+5 min"));
    EXPECT_FALSE(model->ringing().contains(snoozed));
    EXPECT_EQ(stored(snoozed).timer->state(t0), NoteTimer::State::running);
    EXPECT_EQ(stored(snoozed).deadline, t0 - 60);

    rung.id = QUuid::createUuid();
    const QUuid done = put(rung);
    model->setRinging({done});
    click(answer(show(done), "Done"));
    EXPECT_TRUE(stored(done).isDone());
    EXPECT_FALSE(model->ringing().contains(done));

    rung.id = QUuid::createUuid();
    const QUuid ok = put(rung);
    model->setRinging({ok});
    const StickyNote before = stored(ok);
    click(answer(show(ok), "OK"));
    EXPECT_FALSE(model->ringing().contains(ok));
    EXPECT_EQ(stored(ok), before);
    EXPECT_TRUE(view->footer()->isVisible());

    model->setRinging({ok});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_FALSE(model->ringing().contains(ok));
    EXPECT_EQ(stored(ok), before);
}

TEST_F(NoteViewTest, TapeFollowsTheSavedWidthAndReadsTheCountdown)
{
    struct Case { std::optional<NoteFrame> frame; double width; };
    for (const Case &c : {Case{std::nullopt, 125}, Case{NoteFrame{0, 0, 150, 200}, 96},
                          Case{NoteFrame{0, 0, 300, 200}, 150}, Case{NoteFrame{0, 0, 400, 200}, 170}}) {
        StickyNote framed = note("Frame");
        framed.frame = c.frame;
        // Wide enough that the buttons leave the tape its whole length.
        NoteView &v = show(put(framed));
        v.resize(480, v.height());
        QApplication::processEvents();
        EXPECT_DOUBLE_EQ(v.header()->tapeRect().width(), c.width);
        EXPECT_DOUBLE_EQ(v.header()->tapeRect().center().x(), v.width() / 2.0);
        EXPECT_EQ(v.header()->tape()->accessibleName(), "No timer or deadline");
    }

    StickyNote timed = note("Timed");
    timed.timer = timerEndingAt(t0 + 300);
    NoteView &v = show(put(timed));
    ASSERT_TRUE(v.header()->tape()->countdown());
    EXPECT_EQ(v.header()->tape()->accessibleName(), "Timer, 5 min left");
    moveClockTo(t0 + 240);
    EXPECT_EQ(v.header()->tape()->accessibleName(), "Timer, 1 min left");
}

TEST_F(NoteViewTest, TheNoteRepaintsOnlyWhenItsTapeShowsSomethingNew)
{
    StickyNote due = note("Due in hours");
    due.setDeadline(t0 + 3 * 3600 + 30, t0 - 3600);
    StickyNote running = note("Running");
    running.timer = timerEndingAt(t0 + 300.5);
    StickyNote paused = note("Paused");
    paused.timer = TestNotes::pausedTimer(600, 300);
    struct Case { StickyNote note; double later; bool changes; };
    const QList<Case> cases{
        {due, 1, false}, {due, 60, true}, {running, 1, true}, {running, 0.3, false}, {paused, 3600, false},
    };
    for (const Case &c : cases) {
        moveClockTo(t0);
        NoteView &v = show(put(c.note));
        TiltedTape *tape = v.header()->tape();
        const auto label = [&] { return TimeTape::labelText(*tape->countdown(), tape->tapeRect().size()); };
        const QString before = label();
        const PaintCount tapePaints(tape), notePaints(&v);
        moveClockTo(t0 + c.later);
        QApplication::processEvents();
        EXPECT_EQ(label() != before, c.changes) << c.note.text.toStdString() << " +" << c.later;
        EXPECT_EQ(tapePaints.paints > 0, c.changes) << c.note.text.toStdString() << " +" << c.later;
        EXPECT_EQ(notePaints.paints > 0, c.changes) << c.note.text.toStdString() << " +" << c.later;
    }
}

QAction *item(NoteView &v, const QString &text)
{
    for (QAction *action : v.header()->moreMenu()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST_F(NoteViewTest, MoreMenuCommandsActOnTheNote)
{
    const QUuid id = put(note("Milk\nand eggs"));
    NoteView &v = show(id, true);
    click(v.header()->moreButton());
    EXPECT_TRUE(v.header()->moreMenu()->isVisible());
    QStringList titles;
    for (QAction *action : v.header()->moreMenu()->actions())
        titles << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(titles, QStringList({"Mark Done", "Duplicate", "Copy Text", "-", "Show in All Notes", "-", "Delete"}));
    v.header()->moreMenu()->close();

    item(v, "Mark Done")->trigger();
    EXPECT_TRUE(stored(id).isDone());
    v.header()->moreMenu()->refresh();
    ASSERT_NE(item(v, "Not Done"), nullptr);
    item(v, "Not Done")->trigger();
    EXPECT_FALSE(stored(id).isDone());

    const qsizetype before = model->book().notes.size();
    item(v, "Duplicate")->trigger();
    ASSERT_EQ(model->book().notes.size(), before + 1);
    EXPECT_EQ(model->book().notes.last().text, "Milk\nand eggs");
    EXPECT_NE(model->book().notes.last().id, id);

    QGuiApplication::clipboard()->setText("old");
    item(v, "Copy Text")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Milk\nand eggs");

    QSignalSpy library(&v, &NoteView::showInLibrary);
    item(v, "Show in All Notes")->trigger();
    ASSERT_EQ(library.size(), 1);
    EXPECT_EQ(library.first().first().toUuid(), id);

    item(v, "Delete")->trigger();
    EXPECT_TRUE(stored(id).isDeleted());

    NoteView &empty = show(put(note("")));
    item(empty, "Copy Text")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "") << "an empty note leaves an empty text";
}

TEST_F(NoteViewTest, AMissingNoteShowsNothing)
{
    const QUuid id = put(note("Gone soon"));
    NoteView &v = show(id);
    model->deleteForever(id);
    QApplication::processEvents();
    for (QWidget *part : {static_cast<QWidget *>(v.header()), static_cast<QWidget *>(v.editor()),
                          static_cast<QWidget *>(v.footer()), static_cast<QWidget *>(v.ringBar())})
        EXPECT_FALSE(part->isVisible());
    EXPECT_TRUE(v.accessibleName().isEmpty());
    const QImage image = Pixels::grab(&v);
    EXPECT_GT(Pixels::distance(image.pixelColor(125, 115), Paper::fill(NoteColor::lemon).resolved(&v)), 40);

    NoteView &never = show(QUuid::createUuid());
    EXPECT_FALSE(never.header()->isVisible());
}

TEST_F(NoteViewTest, EveryControlHasANameAndTakesTheKeyboardFocus)
{
    StickyNote full = note("Full");
    full.timer = NoteTimer(300);
    full.deadline = t0 + 3600;
    const QUuid fullId = put(full);
    const QUuid bareId = put(note("Bare"));
    for (const QUuid &id : {fullId, bareId}) {
        NoteView &v = show(id);
        for (const Kind kind : {Kind::timer, Kind::deadline, Kind::color}) {
            v.openPopover(kind);
            for (QAbstractButton *button : v.popover()->findChildren<QAbstractButton *>()) {
                if (button->isVisibleTo(v.popover())) {
                    EXPECT_FALSE(spokenName(button).isEmpty()) << button->metaObject()->className();
                }
            }
            QTest::keyClick(v.popover(), Qt::Key_Escape);
            QApplication::processEvents();
            EXPECT_EQ(v.popover(), nullptr);
        }
        for (QAbstractButton *button : v.findChildren<QAbstractButton *>()) {
            if (!button->isVisibleTo(&v))
                continue;
            EXPECT_FALSE(spokenName(button).isEmpty()) << button->metaObject()->className();
            EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus) << button->accessibleName().toStdString();
        }
    }
}

} // namespace
