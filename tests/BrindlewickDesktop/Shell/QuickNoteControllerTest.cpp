#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Patience.h"
#include "Platform/HotKey.h"
#include "Platform/X11.h"
#include "Shell/QuickNote/KeyPanel.h"
#include "Shell/QuickNote/QuickNoteController.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "Theme/ColorDots.h"
#include "QtPrinters.h"

#include <QAbstractButton>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

void xdotool(const QStringList &arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

// A window of another X client, as another application's window would be.
class ForeignWindow {
public:
    ForeignWindow(xcb_connection_t *connection, int x) : m_connection(connection), m_window(xcb_generate_id(connection))
    {
        const uint32_t background = 0x808080;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, X11::rootWindow(connection), x, 600, 200, 150, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &background);
        xcb_map_window(connection, m_window);
        xcb_flush(connection);
    }
    ~ForeignWindow()
    {
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
    xcb_window_t id() const { return m_window; }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_window;
};

// Counts the times each window gets the focus from the X server, as Qt sees them arrive.
class FocusInWatch : public QAbstractNativeEventFilter {
public:
    FocusInWatch() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~FocusInWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    qsizetype count(xcb_window_t window) const { return m_windows.count(window); }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_focus_in_event_t *>(message);
        // Not the focus given back when a key grab ends: only the window manager's.
        if ((event->response_type & ~0x80) == XCB_FOCUS_IN && event->mode == XCB_NOTIFY_MODE_NORMAL
            && event->detail != XCB_NOTIFY_DETAIL_POINTER)
            m_windows.append(event->event);
        return false;
    }

private:
    QList<xcb_window_t> m_windows;
};

class QuickNoteControllerTest : public testing::Test {
protected:
    QuickNoteControllerTest()
        : model(Paths{dir.filePath("data")}, SettingsStore(dir.filePath("settings.json")),
                std::make_unique<RecordingNotifier>())
    {
        model.onShow = [this](const QUuid &id) { shown.append(id); };
        other = xcb_connect(nullptr, nullptr);
        // Activation requests are client messages to the root window; watching it sees them.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(other, X11::rootWindow(other), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(other);
    }
    ~QuickNoteControllerTest() override { xcb_disconnect(other); }

    // Asks until the window manager has taken the new window on and focused it.
    static bool focusForeign(xcb_window_t window)
    {
        return QTest::qWaitFor(
            [&] {
                if (X11::activeWindow(X11::connection()) == window)
                    return true;
                X11::activate(X11::connection(), window);
                return false;
            },
            patienceMs);
    }

    bool becomesActive(xcb_window_t window) const
    {
        return QTest::qWaitFor([&] { return X11::activeWindow(X11::connection()) == window; }, patienceMs);
    }

    // Once the server answers, every event it sent before is on its way to Qt; then Qt handles them.
    static void settleX()
    {
        xcb_connection_t *connection = X11::connection();
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        QTest::qWait(0);
    }

    static QRect placeOnScreen(xcb_window_t window)
    {
        xcb_connection_t *connection = X11::connection();
        const auto origin = std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)>(
            xcb_translate_coordinates_reply(
                connection, xcb_translate_coordinates(connection, window, X11::rootWindow(connection), 0, 0), nullptr),
            &std::free);
        const auto size = std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)>(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
        return origin && size ? QRect(origin->dst_x, origin->dst_y, size->width, size->height) : QRect();
    }

    // The windows someone asked the window manager to activate since the last call.
    QList<xcb_window_t> activationRequests() const
    {
        QList<xcb_window_t> requested;
        const xcb_atom_t activeWindow = X11::atom(other, "_NET_ACTIVE_WINDOW");
        while (xcb_generic_event_t *event = xcb_poll_for_event(other)) {
            const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
            if ((event->response_type & ~0x80) == XCB_CLIENT_MESSAGE && message->type == activeWindow)
                requested.append(message->window);
            std::free(event);
        }
        return requested;
    }

    // Shown in front, and Qt has handled the focus the window manager gave it since the last show,
    // so typed keys reach its line.
    bool panelShown()
    {
        const bool shown = QTest::qWaitFor(
            [&] {
                const KeyPanel *panel = controller.panel();
                return panel && focusIns.count(panel->winId()) > focusInsSeen && panel->isActiveWindow()
                    && QApplication::focusWidget() == panel->findChild<QLineEdit *>();
            },
            patienceMs);
        if (shown)
            focusInsSeen = focusIns.count(controller.panel()->winId());
        return shown;
    }

    bool panelHidden() const
    {
        return QTest::qWaitFor([&] { return controller.panel() && !controller.panel()->isVisible(); }, patienceMs);
    }

    FocusInWatch focusIns;
    qsizetype focusInsSeen = 0;
    QTemporaryDir dir;
    AppModel model;
    QuickNoteController controller;
    QList<QUuid> shown;
    xcb_connection_t *other = nullptr;
};

TEST_F(QuickNoteControllerTest, TheHotKeyTogglesThePanelAndTypingAndReturnMakeANote)
{
    HotKey hotKey;
    hotKey.action = [this] { controller.toggle(model); };
    hotKey.registerKey();
    ASSERT_TRUE(hotKey.registered());

    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(panelShown());
    // Where the X server has it: centred on the 1920 × 1080 screen, its lower edge 28 % down.
    EXPECT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(placeOnScreen(controller.panel()->winId()), QRect(700, 152, 520, 150));

    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(panelHidden());
    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(panelShown());

    xdotool({"type", "--delay", "20", "tea 4m"});
    xdotool({"key", "Return"});
    ASSERT_TRUE(panelHidden());
    ASSERT_EQ(model.book().notes.size(), 1);
    EXPECT_EQ(model.book().notes[0].text, "tea");
    ASSERT_TRUE(model.book().notes[0].timer);
    EXPECT_EQ(model.book().notes[0].timer->duration, 240);
    EXPECT_EQ(shown, QList<QUuid>{model.book().notes[0].id});
}

TEST_F(QuickNoteControllerTest, EscGivesTheFocusBackToTheWindowThatHadIt)
{
    const ForeignWindow first(other, 100);
    const ForeignWindow second(other, 400);
    ASSERT_TRUE(focusForeign(second.id()));
    ASSERT_TRUE(focusForeign(first.id()));

    controller.show(model);
    ASSERT_TRUE(panelShown());
    xdotool({"type", "--delay", "20", "later"});
    activationRequests();
    xdotool({"key", "Escape"});
    ASSERT_TRUE(panelHidden());
    EXPECT_TRUE(becomesActive(first.id()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activationRequests().contains(first.id()); }, patienceMs));
    EXPECT_TRUE(model.book().notes.isEmpty());

    // The line is still there at the next showing.
    controller.show(model);
    ASSERT_TRUE(panelShown());
    xdotool({"key", "Return"});
    ASSERT_TRUE(panelHidden());
    ASSERT_EQ(model.book().notes.size(), 1);
    EXPECT_EQ(model.book().notes[0].text, "later");
}

TEST_F(QuickNoteControllerTest, ThePanelHidesWhenAnotherWindowTakesOver)
{
    const ForeignWindow foreign(other, 100);
    ASSERT_TRUE(focusForeign(foreign.id()));
    controller.show(model);
    ASSERT_TRUE(panelShown());
    ASSERT_TRUE(focusForeign(foreign.id()));
    EXPECT_TRUE(panelHidden());
}

// Esc over one of the program's own windows gives the focus back to it, a note's panel too,
// wherever the window manager would have put it.
TEST_F(QuickNoteControllerTest, EscGivesTheFocusBackToTheProgramsOwnWindowThatHadIt)
{
    NoteWindows windows(model);
    const QUuid id = model.newNote(QStringLiteral("Tea"), std::nullopt, std::nullopt, false, std::nullopt, false,
                                   QRectF(300, 500, 250, 230));
    QWidget library;
    library.setWindowTitle(QStringLiteral("All Notes"));
    library.setGeometry(200, 200, 900, 600);
    library.show();
    windows.show(id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.panel(id) && windows.panel(id)->isActiveWindow(); }, patienceMs));

    struct Case {
        const char *name;
        QWidget *window;
    };
    for (const Case &c : {Case{"All Notes", &library}, Case{"the note", windows.panel(id)}}) {
        c.window->activateWindow();
        ASSERT_TRUE(becomesActive(c.window->winId())) << c.name;
        controller.show(model);
        ASSERT_TRUE(panelShown()) << c.name;
        xdotool({"key", "Escape"});
        ASSERT_TRUE(panelHidden()) << c.name;
        EXPECT_TRUE(becomesActive(c.window->winId())) << c.name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.window->isActiveWindow(); }, patienceMs)) << c.name;
    }
}

// The kept line comes back selected: typing replaces it, an arrow key first keeps it.
TEST_F(QuickNoteControllerTest, TheKeptLineComesBackSelected)
{
    struct Case {
        QString kept;
        QStringList keys;
        QString typed;
        QString expected;
    };
    const QList<Case> cases{
        {"dark mode check by 5pm", {}, "tuck test 12s", "tuck test"},
        {"dark mode", {"Right"}, " check", "dark mode check"},
    };
    for (const Case &c : cases) {
        controller.show(model);
        ASSERT_TRUE(panelShown());
        xdotool({"type", "--delay", "20", c.kept});
        xdotool({"key", "Escape"});
        ASSERT_TRUE(panelHidden());

        controller.show(model);
        ASSERT_TRUE(panelShown());
        for (const QString &key : c.keys)
            xdotool({"key", key});
        xdotool({"type", "--delay", "20", c.typed});
        xdotool({"key", "Return"});
        ASSERT_TRUE(panelHidden());
        ASSERT_FALSE(model.book().notes.isEmpty());
        EXPECT_EQ(model.book().notes.last().text, c.expected) << c.kept.toStdString();
    }
}

// A colour or the tuck box picked with the mouse leaves the focus in the line: typing and Return go
// on working.
TEST_F(QuickNoteControllerTest, PickingAColourOrTheTuckBoxKeepsTheLineTyping)
{
    model.setTrayEnabled(true);
    controller.show(model);
    ASSERT_TRUE(panelShown());
    QAbstractButton *mint = controller.panel()->findChild<ColorDots *>()->dot(NoteColor::mint);
    QAbstractButton *tuck = controller.panel()->findChild<QCheckBox *>(QStringLiteral("tuck"));
    ASSERT_TRUE(tuck && tuck->isVisible());
    for (QAbstractButton *button : {mint, tuck}) {
        const QPoint at = button->mapToGlobal(button->rect().center());
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->isChecked(); }, patienceMs)) << button->text().toStdString();
        xdotool({"type", "--delay", "20", "tea "});
    }
    xdotool({"key", "Return"});
    ASSERT_TRUE(panelHidden());
    ASSERT_EQ(model.book().notes.size(), 1);
    EXPECT_EQ(model.book().notes[0].text, "tea tea");
    EXPECT_EQ(model.book().notes[0].color, NoteColor::mint);
    EXPECT_TRUE(model.book().notes[0].tucked);
}

} // namespace
