#include "SettingsView.h"

#include "Platform/AppLinks.h"
#include "FormSection.h"
#include "ShortcutsList.h"

#include "NotchTray/NotchIllustration.h"
#include "NotchTray/TrayState.h"
#include "Platform/HotKey.h"
#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/Fonts.h"
#include "Theme/QuietButton.h"
#include "Theme/Symbols.h"
#include "Theme/TextScroll.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Theme/ThemePalette.h"

#include "Ostrel.h"
#include "UpdateSettingsView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr int formMargin = 20;
constexpr int sectionSpacing = 18;
constexpr int illustrationHeight = 130;

using BoolGetter = bool (AppModel::*)() const;
using BoolSetter = void (AppModel::*)(bool);
using Signal = void (AppModel::*)();

// A check box that writes one model setting and follows it back.
QCheckBox *toggle(AppModel &model, const QString &text, BoolGetter get, BoolSetter set, Signal changed)
{
    auto *box = new QCheckBox(text);
    box->setChecked((model.*get)());
    QObject::connect(box, &QCheckBox::toggled, &model, [&model, set](bool on) { (model.*set)(on); });
    QObject::connect(&model, changed, box, [&model, box, get] {
        const QSignalBlocker quiet(box);
        box->setChecked((model.*get)());
    });
    return box;
}

template <typename T>
struct Option {
    QString label;
    T value;
};

// A pop-up menu that writes one model setting and follows it back; a stored value that is none of
// the options selects nothing.
template <typename T>
QComboBox *picker(AppModel &model, QList<Option<T>> options, T (AppModel::*get)() const, void (AppModel::*set)(T),
                  Signal changed)
{
    auto *box = new QComboBox;
    for (const Option<T> &option : options)
        box->addItem(option.label);
    const auto follow = [&model, box, options, get] {
        const QSignalBlocker quiet(box);
        const T current = (model.*get)();
        const auto found = std::find_if(options.begin(), options.end(), [&](const Option<T> &o) { return o.value == current; });
        box->setCurrentIndex(found == options.end() ? -1 : int(found - options.begin()));
    };
    follow();
    QObject::connect(box, &QComboBox::currentIndexChanged, &model, [&model, options, set](int index) {
        if (index >= 0)
            (model.*set)(options[index].value);
    });
    QObject::connect(&model, changed, box, follow);
    return box;
}

// A form that scrolls when the window is too short for it. Its controls take the keyboard, and it
// scrolls to the one that has it.
QScrollArea *scrolling(QWidget *content)
{
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(content);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    return scroll;
}

// A tab's form: its sections in one column.
QWidget *formPage(const QList<QWidget *> &sections)
{
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(formMargin, formMargin, formMargin, formMargin);
    layout->setSpacing(sectionSpacing);
    for (QWidget *section : sections)
        layout->addWidget(section);
    layout->addStretch();
    return scrolling(column);
}

struct Paragraph {
    const char *title;
    const char *text;
    // The text names the notes' folder where it says %1.
    bool namesFolder = false;
    // Said instead by a copy that never checks for updates.
    const char *textWithoutUpdates = nullptr;
};

const std::array<Paragraph, 5> paragraphs{{
    {QT_TRANSLATE_NOOP("SettingsView", "Timers and deadlines"),
     QT_TRANSLATE_NOOP("SettingsView", "A timer counts down from when you start it and can be paused. A deadline is a "
                                       "date and time. When a note has both, the tape shows whichever comes first, and "
                                       "anything overdue.")},
    {QT_TRANSLATE_NOOP("SettingsView", "The tape"),
     QT_TRANSLATE_NOOP("SettingsView", "Its length is the time left, measured from when you set the timer or deadline. "
                                       "It turns amber in the last quarter of a timer or the last day before a deadline, "
                                       "orange in the last minute or hour, and red once time’s up.")},
    {QT_TRANSLATE_NOOP("SettingsView", "Alerts"),
     QT_TRANSLATE_NOOP("SettingsView", "With notifications on, your desktop shows them even when Brindlewick is in the "
                                       "background, and keeps them in its notification list. Without, notes ring on "
                                       "screen while the app is open. A computer that’s asleep rings when it wakes.")},
    {QT_TRANSLATE_NOOP("SettingsView", "Your notes"),
     QT_TRANSLATE_NOOP("SettingsView", "Notes are saved on this computer in %1. Deleted notes stay in Recently "
                                       "Deleted for 30 days. There’s no account and no sync."),
     true},
    {QT_TRANSLATE_NOOP("SettingsView", "Network"),
     QT_TRANSLATE_NOOP("SettingsView", "Nothing leaves this computer except the check for updates."), false,
     QT_TRANSLATE_NOOP("SettingsView", "Nothing leaves this computer.")},
}};

// A folder as people write it: one in the home folder starts with "~".
QString shownFolder(const QString &folder)
{
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString home = QDir::cleanPath(QDir::homePath());
    if (absolute == home || absolute.startsWith(home + u'/'))
        return u'~' + absolute.mid(home.size());
    return absolute;
}

// Six titled tabs with symbols fit the window's width only with a little less space around each title.
class CompactTabs : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        return metric == PM_TabBarTabHSpace ? 16 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

struct TabSymbol {
    SettingsView::Tab tab;
    const char *symbol;
};

constexpr std::array<TabSymbol, 6> tabSymbols{{
    {SettingsView::Tab::general, "gearshape"},
    {SettingsView::Tab::alerts, "bell"},
    {SettingsView::Tab::notch, "rectangle.topthird.inset.filled"},
    {SettingsView::Tab::shortcuts, "command"},
    {SettingsView::Tab::updates, "arrow.triangle.2.circlepath"},
    {SettingsView::Tab::howItWorks, "info.circle"},
}};

} // namespace

SettingsView::SettingsView(AppModel &model, std::optional<bool> hasNotch, QWidget *parent)
    : QWidget(parent), m_model(model), m_hasNotch(hasNotch), m_tabs(new QTabWidget(this))
{
    setFixedSize(frameSize);
    setFont(Fonts::body());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(m_tabs);
    m_tabs->setDocumentMode(true);
    static QStyle *const compactTabs = new CompactTabs;
    m_tabs->tabBar()->setStyle(compactTabs);
    m_tabs->addTab(generalTab(), tr("General"));
    m_tabs->addTab(alertsTab(), tr("Alerts"));
    m_tabs->addTab(notchTab(), tr("Notch"));
    m_tabs->addTab(shortcutsTab(), tr("Shortcuts"));
    m_tabs->addTab(new UpdateSettingsView, tr("Updates"));
    m_tabs->addTab(howItWorksTab(), tr("How It Works"));
    ThemePalette::follow(this, ThemePalette::window());
    updateTabIcons(Appearance::scheme(this));
    addTabKeys();

    connect(&m_model, &AppModel::hotkeyEnabledChanged, this, &SettingsView::updateHotkeyWarning);
    connect(&HotKey::shared(), &HotKey::registeredChanged, this, &SettingsView::updateHotkeyWarning);
    connect(&m_model, &AppModel::permissionChanged, this, &SettingsView::updatePermission);
    updateHotkeyWarning();
    updatePermission();
}

bool SettingsView::hasNotch() const
{
    if (m_hasNotch)
        return *m_hasNotch;
    if (!m_liveHasNotch)
        m_liveHasNotch = TrayState::currentGeometry().hasNotch;
    return *m_liveHasNotch;
}

void SettingsView::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(int(tab));
}

// Ctrl+Tab and Ctrl+Page Down go to the next tab, with Shift or Page Up to the one before, round the
// ends, wherever the keyboard is. Shortcuts come before any control's own keys, so a drop-down with
// the focus never takes them as a change of its value. The keyboard goes on to the tab bar.
void SettingsView::addTabKeys()
{
    const auto step = [this](int by) {
        const bool inPage = m_tabs->currentWidget()->isAncestorOf(QApplication::focusWidget());
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + by + m_tabs->count()) % m_tabs->count());
        if (inPage)
            m_tabs->tabBar()->setFocus(Qt::ShortcutFocusReason);
    };
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto &[sequence, by] : keys)
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, [step, by] { step(by); });
}

QWidget *SettingsView::generalTab()
{
    auto *newNotes = new FormSection(tr("New notes"));
    auto *dots = new ColorDots(m_model.defaultColor(), 16);
    dots->setObjectName(QStringLiteral("defaultColor"));
    connect(dots, &ColorDots::selectionChanged, &m_model, &AppModel::setDefaultColor);
    connect(&m_model, &AppModel::defaultColorChanged, dots, [this, dots] {
        const QSignalBlocker quiet(dots);
        dots->setSelection(m_model.defaultColor());
    });
    newNotes->addLabelledRow(tr("Colour"), dots);
    newNotes->addRow(toggle(m_model, tr("Float above other windows"), &AppModel::newNotesFloat,
                            &AppModel::setNewNotesFloat, &AppModel::newNotesFloatChanged));
    newNotes->addCaption(tr("Floating notes stay on top of every window and on every workspace. You can change it "
                            "per note with the pin."));

    auto *everywhere = new FormSection(tr("Everywhere"));
    everywhere->addRow(toggle(m_model, tr("Show the next countdown in the panel"), &AppModel::showMenuBarItem,
                              &AppModel::setShowMenuBarItem, &AppModel::showMenuBarItemChanged));
    everywhere->addRow(toggle(m_model, tr("Ctrl+Alt+N opens Quick Note from any app"), &AppModel::hotkeyEnabled,
                              &AppModel::setHotkeyEnabled, &AppModel::hotkeyEnabledChanged));
    m_hotkeyWarning = new ThemeLabel(tr("Another app is already using Ctrl+Alt+N, so it can’t be used here."),
                                     Fonts::caption(), Theme::urgency(Urgency::soon), 0);
    m_hotkeyWarning->setObjectName(QStringLiteral("hotkeyWarning"));
    everywhere->addRow(m_hotkeyWarning);
    return formPage({newNotes, everywhere});
}

// Without a notification server there is nothing to switch on: the switch rests, and the desktop's own
// settings are offered where they are installed.
QWidget *SettingsView::noServerLine()
{
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ThemeLabel(tr("Off: no notification server is running."), Fonts::caption(), Theme::ink2, 0), 1);
    m_openSettings = new QuietButton(tr("Open Notification Settings…"));
    connect(m_openSettings, &QAbstractButton::clicked, this, [] { AppLinks::openNotificationSettings(); });
    layout->addWidget(m_openSettings);
    m_noServer = line;
    return line;
}

QWidget *SettingsView::alertsTab()
{
    auto *notifications = new FormSection(tr("Notifications"));
    m_notificationsSwitch = new QCheckBox(tr("Show desktop notifications"));
    connect(m_notificationsSwitch, &QCheckBox::toggled, &m_model, [this](bool on) {
        on ? m_model.requestPermission() : m_model.revokePermission();
    });
    notifications->addRow(m_notificationsSwitch);
    notifications->addRow(noServerLine());
    notifications->addCaption(tr("A notification when a timer ends or a deadline arrives, with +5 min and Done, "
                                 "shown by your desktop while this is on."));

    auto *deadlines = new FormSection(tr("Deadlines"));
    QComboBox *lead = picker<int>(m_model,
                                  {{tr("Off"), 0},
                                   {tr("5 minutes"), 5},
                                   {tr("15 minutes"), 15},
                                   {tr("30 minutes"), 30},
                                   {tr("1 hour"), 60},
                                   {tr("1 day"), 1440}},
                                  &AppModel::warnMinutes, &AppModel::setWarnMinutes, &AppModel::warnMinutesChanged);
    lead->setObjectName(QStringLiteral("warnMinutes"));
    deadlines->addLabelledRow(tr("Heads-up before a deadline"), lead);

    auto *onScreen = new FormSection(tr("On screen"));
    onScreen->addRow(toggle(m_model, tr("Play a sound when notifications are off"), &AppModel::playSound,
                            &AppModel::setPlaySound, &AppModel::playSoundChanged));
    onScreen->addCaption(tr("A note that rings comes to the front and shakes (or glows red when animations are off), "
                            "so you’ll see it even without notifications."));
    return formPage({notifications, deadlines, onScreen});
}

QWidget *SettingsView::notchTab()
{
    const bool notch = hasNotch();
    auto *tray = new FormSection;
    tray->addRow(toggle(m_model,
                        notch ? tr("Tuck notes into the notch") : tr("Show tucked notes in a strip at the top of the screen"),
                        &AppModel::trayEnabled, &AppModel::setTrayEnabled, &AppModel::trayEnabledChanged));
    QComboBox *opens = picker<TrayOpen>(m_model, {{tr("Point at it"), TrayOpen::hover}, {tr("Click it"), TrayOpen::click}},
                                        &AppModel::trayOpensOn, &AppModel::setTrayOpensOn, &AppModel::trayOpensOnChanged);
    opens->setObjectName(QStringLiteral("trayOpensOn"));
    QWidget *opensRow = tray->addLabelledRow(tr("Open the tray when I"), opens);
    const auto followTray = [this, opensRow] { opensRow->setEnabled(m_model.trayEnabled()); };
    connect(&m_model, &AppModel::trayEnabledChanged, opensRow, followTray);
    followTray();
    tray->setFooter(notch ? tr("Tucked notes hide beside the camera. The ears show how many there are and the next "
                               "countdown. Press ⤒ on a note, or Ctrl+J, to tuck it.")
                          : tr("The tray hangs from a strip in the middle of the top edge of the screen, whether the "
                               "screen has a notch or not."));

    auto *illustration = new NotchIllustration(notch);
    illustration->setFixedHeight(illustrationHeight);
    auto *picture = new QWidget;
    auto *row = new QHBoxLayout(picture);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(illustration, 0, Qt::AlignHCenter);
    return formPage({tray, picture});
}

// The list is taller than the window, so it scrolls.
QWidget *SettingsView::shortcutsTab()
{
    return new TextScroll(new ShortcutsList);
}

QWidget *SettingsView::howItWorksTab()
{
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    for (const Paragraph &paragraph : paragraphs) {
        auto *block = new QVBoxLayout;
        block->setSpacing(4);
        block->addWidget(new ThemeLabel(tr(paragraph.title), Fonts::title(), Theme::ink));
        const bool updatesOff = paragraph.textWithoutUpdates && !Ostrel::updater().enabled();
        const QString said = tr(updatesOff ? paragraph.textWithoutUpdates : paragraph.text);
        const QString text = paragraph.namesFolder ? said.arg(shownFolder(m_model.paths().data)) : said;
        block->addWidget(new ThemeLabel(text, Fonts::body(), Theme::ink2, 0));
        layout->addLayout(block);
    }
    layout->addStretch();
    return new TextScroll(column);
}

// Shown while the hot-key setting is on and another application holds the key; never in the demo.
void SettingsView::updateHotkeyWarning()
{
    m_hotkeyWarning->setVisible(m_model.hotkeyEnabled() && !HotKey::shared().registered() && !m_model.isDemo());
}

void SettingsView::updatePermission()
{
    const NotifyPermission permission = m_model.permission();
    const QSignalBlocker quiet(m_notificationsSwitch);
    m_notificationsSwitch->setChecked(permission == NotifyPermission::allowed);
    m_notificationsSwitch->setEnabled(permission != NotifyPermission::denied);
    m_noServer->setVisible(permission == NotifyPermission::denied);
    m_openSettings->setVisible(permission == NotifyPermission::denied && AppLinks::notificationSettingsCommand());
}

void SettingsView::updateTabIcons(Scheme scheme)
{
    m_iconScheme = scheme;
    const QColor ink = Theme::ink2.resolved(scheme);
    for (const TabSymbol &tab : tabSymbols)
        m_tabs->setTabIcon(int(tab.tab), Symbols::icon(QString::fromLatin1(tab.symbol), ink));
}

// The tab icons follow the appearance the view paints in, forced or the desktop's, as the palette does.
void SettingsView::paintEvent(QPaintEvent *)
{
    const Scheme scheme = Appearance::scheme(this);
    if (scheme != m_iconScheme)
        updateTabIcons(scheme);
    QPainter(this).fillRect(rect(), Theme::desk.resolved(scheme));
}
