#include "WelcomeView.h"

#include "ChoiceCard.h"
#include "NotchTray/NotchIllustration.h"
#include "NoteFan.h"
#include "PageDots.h"
#include "PageTurner.h"

#include "NotchTray/TrayState.h"
#include "Platform/AppLinks.h"
#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/CardStyle.h"
#include "Theme/Fonts.h"
#include "Theme/Hairline.h"
#include "Theme/PlainButton.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/SegmentedPicker.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Theme/ThemePalette.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

constexpr int pageMargin = 32;
constexpr int pageSpacing = 16;
constexpr int introTextWidth = 470;
constexpr int fanHeight = 190;
constexpr int illustrationHeight = 150;
constexpr int pickerWidth = 330;

QFont headline(qreal points)
{
    return Fonts::system(points, QFont::Bold, Fonts::Design::rounded);
}

QVBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    layout->setSpacing(pageSpacing);
    return layout;
}

ThemeLabel *wrapping(const QString &text, const QFont &font, Color color)
{
    return new ThemeLabel(text, font, color, 0);
}

// One row of the alerts card: a symbol in its tint beside a title and a detail.
QWidget *point(const QString &symbol, Color tint, const QString &title, ThemeLabel *detail)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *mark = new SymbolLabel(symbol, 17, tint);
    mark->setFixedWidth(26);
    layout->addWidget(mark, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(new ThemeLabel(title, Fonts::title(), Theme::ink));
    texts->addWidget(detail);
    layout->addLayout(texts, 1);
    return row;
}

const std::array<TrayOpen, 2> triggers{TrayOpen::hover, TrayOpen::click};

int triggerIndex(TrayOpen open)
{
    return int(std::find(triggers.begin(), triggers.end(), open) - triggers.begin());
}

} // namespace

WelcomeView::WelcomeView(AppModel &model, int step, bool useTray, std::optional<bool> hasNotch, QWidget *parent)
    : QWidget(parent), m_model(model), m_step(std::clamp(step, 0, pageCount - 1)), m_useTray(useTray),
      m_hasNotch(hasNotch ? *hasNotch : TrayState::currentGeometry().hasNotch), m_pages(new PageTurner)
{
    setFixedSize(frameSize);
    setFont(Fonts::body());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pages, 1);
    layout->addWidget(new Hairline(Qt::Horizontal));
    layout->addWidget(footer());
    m_pages->setPage(makePage(), false);
    updateFooter();
    ThemePalette::follow(this, ThemePalette::window());
}

QWidget *WelcomeView::page() const
{
    return m_pages->page();
}

bool WelcomeView::isTurning() const
{
    return m_pages->isTurning();
}

QWidget *WelcomeView::footer()
{
    auto *bar = new QWidget;
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(24, 16, 24, 16);
    m_back = new QuietButton(tr("Back"));
    QSizePolicy keepRoom = m_back->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_back->setSizePolicy(keepRoom);
    connect(m_back, &QAbstractButton::clicked, this, [this] { go(-1); });
    m_dots = new PageDots(pageCount);
    m_continue = new PrimaryButton(Theme::accent, tr("Continue"));
    connect(m_continue, &QAbstractButton::clicked, this, [this] { go(1); });
    m_startWriting = new PrimaryButton(Theme::accent, tr("Start Writing"));
    connect(m_startWriting, &QAbstractButton::clicked, this, &WelcomeView::startWriting);
    layout->addWidget(m_back);
    layout->addStretch();
    layout->addWidget(m_dots);
    layout->addStretch();
    layout->addWidget(m_continue);
    layout->addWidget(m_startWriting);
    return bar;
}

void WelcomeView::updateFooter()
{
    const bool first = m_step == 0;
    const bool last = m_step == pageCount - 1;
    m_back->setVisible(!first);
    m_back->setEnabled(!first);
    m_dots->setCurrent(m_step);
    m_continue->setVisible(!last);
    m_startWriting->setVisible(last);
}

void WelcomeView::go(int delta)
{
    const int next = std::clamp(m_step + delta, 0, pageCount - 1);
    if (next == m_step)
        return;
    m_step = next;
    m_pages->setPage(makePage(), !Appearance::reduceMotion());
    updateFooter();
}

void WelcomeView::startWriting()
{
    m_model.finishWelcome(m_useTray);
}

// Return answers the page's main button: "Continue", or "Start Writing" on the last page.
void WelcomeView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_step == pageCount - 1)
        startWriting();
    else
        go(1);
}

QWidget *WelcomeView::makePage()
{
    switch (m_step) {
    case 0: return intro();
    case 1: return alertsPage();
    default: return notchPage();
    }
}

QWidget *WelcomeView::intro()
{
    auto *page = new QWidget;
    QVBoxLayout *layout = pageLayout(page);
    layout->addStretch();
    auto *fan = new NoteFan;
    fan->setFixedHeight(fanHeight);
    layout->addWidget(fan);
    ThemeLabel *title = wrapping(tr("Sticky notes that keep time"), headline(28), Theme::ink);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);
    ThemeLabel *text = wrapping(tr("Give any note a timer or a deadline. The tape holding it up counts down, turns amber "
                                 "when it’s close and red when it’s late."),
                              Fonts::body(), Theme::ink2);
    text->setAlignment(Qt::AlignHCenter);
    text->setFixedWidth(introTextWidth);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addStretch();
    return page;
}

QString WelcomeView::lead() const
{
    const int minutes = m_model.warnMinutes();
    return minutes > 0 ? tr("%1 minutes").arg(minutes) : tr("a little");
}

QWidget *WelcomeView::alertsPage()
{
    auto *page = new QWidget;
    QVBoxLayout *layout = pageLayout(page);
    layout->addWidget(wrapping(tr("A nudge when time’s up"), headline(26), Theme::ink));

    const auto whatText = [this] {
        return tr("A notification when a timer ends, when a deadline arrives, and (if you like) %1 before. Each has "
                  "+5 min and Done buttons.")
            .arg(lead());
    };
    ThemeLabel *what = wrapping(whatText(), Fonts::caption(), Theme::ink2);
    what->setObjectName(QStringLiteral("whatYouGet"));
    connect(&m_model, &AppModel::warnMinutesChanged, what, [what, whatText] { what->setText(whatText()); });

    auto *points = new QWidget;
    auto *column = new QVBoxLayout(points);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(point(QStringLiteral("bell.badge.fill"), Theme::accent, tr("What you’ll get"), what));
    column->addWidget(new Hairline(Qt::Horizontal));
    column->addWidget(point(QStringLiteral("hand.raised.fill"), Theme::urgency(Urgency::soon), tr("Your desktop shows them"),
                            wrapping(tr("When you press Allow Notifications, Brindlewick hands its notifications to "
                                        "your desktop, which shows them like any other app’s. You can change that later "
                                        "in your desktop’s notification settings."),
                                     Fonts::caption(), Theme::ink2)));
    column->addWidget(new Hairline(Qt::Horizontal));
    column->addWidget(point(QStringLiteral("note.text"), Theme::good, tr("Fine without it, too"),
                            wrapping(tr("If you say no, notes still count down and ring on screen with a sound while "
                                        "Brindlewick is open. You just won’t get a banner."),
                                     Fonts::caption(), Theme::ink2)));
    layout->addWidget(card(points, 16));
    layout->addWidget(permissionRow());
    layout->addStretch();
    return page;
}

// Follows the model's permission: "on", "off" with a way to the desktop's settings where they are
// installed, or the button that asks.
QWidget *WelcomeView::permissionRow()
{
    auto *row = new QWidget;
    row->setObjectName(QStringLiteral("permissionRow"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    QWidget *on = symbolLine(QStringLiteral("checkmark.circle.fill"), tr("Notifications are on"), Fonts::bodyMedium(),
                             Theme::good);
    QWidget *off = symbolLine(QStringLiteral("bell.slash"), tr("Notifications are off"), Fonts::bodyMedium(), Theme::ink2);
    auto *settings = new PlainButton(tr("Open Notification Settings"), Fonts::body(), Theme::accent);
    connect(settings, &QAbstractButton::clicked, this, [] { AppLinks::openNotificationSettings(); });
    auto *allow = new PrimaryButton(Theme::accent, tr("Allow Notifications…"));
    connect(allow, &QAbstractButton::clicked, &m_model, &AppModel::requestPermission);
    auto *later = new ThemeLabel(tr("Or press Continue to decide later in Settings."), Fonts::caption(), Theme::ink3);
    for (QWidget *part : std::initializer_list<QWidget *>{on, off, settings, allow, later})
        layout->addWidget(part);
    layout->addStretch();

    const auto follow = [this, on, off, settings, allow, later] {
        const NotifyPermission permission = m_model.permission();
        on->setVisible(permission == NotifyPermission::allowed);
        off->setVisible(permission == NotifyPermission::denied);
        settings->setVisible(permission == NotifyPermission::denied && AppLinks::notificationSettingsCommand());
        allow->setVisible(permission == NotifyPermission::notAsked);
        later->setVisible(permission == NotifyPermission::notAsked);
    };
    connect(&m_model, &AppModel::permissionChanged, row, follow);
    follow();
    return row;
}

QWidget *WelcomeView::notchPage()
{
    auto *page = new QWidget;
    QVBoxLayout *layout = pageLayout(page);
    layout->addWidget(wrapping(m_hasNotch ? tr("Tuck notes into the notch") : tr("A strip at the top of the screen"),
                               headline(26), Theme::ink));
    auto *illustration = new NotchIllustration(m_hasNotch);
    illustration->setFixedHeight(illustrationHeight);
    layout->addWidget(illustration, 0, Qt::AlignHCenter);
    layout->addWidget(wrapping(m_hasNotch ? tr("Notes you tuck away hide beside the camera. Two small ears show how many "
                                               "there are and the next countdown; point at the notch and they drop down.")
                                          : tr("Tucked notes live in a slim strip in the middle of the top edge of the "
                                               "screen, showing how many there are and the next countdown. Point at it "
                                               "and they drop down."),
                               Fonts::body(), Theme::ink2));

    auto *yes = new ChoiceCard(m_hasNotch ? tr("Use the notch") : tr("Use the strip"), tr("You can tuck any note with ⤒."));
    auto *no = new ChoiceCard(tr("Not now"), tr("Notes stay on the desktop. Turn it on later in Settings."));
    auto *cards = new QHBoxLayout;
    cards->setSpacing(12);
    cards->addWidget(yes, 1, Qt::AlignVCenter);
    cards->addWidget(no, 1, Qt::AlignVCenter);
    layout->addLayout(cards);

    auto *trigger = new QWidget;
    trigger->setObjectName(QStringLiteral("trigger"));
    trigger->setFixedWidth(pickerWidth);
    auto *triggerRow = new QHBoxLayout(trigger);
    triggerRow->setContentsMargins(0, 0, 0, 0);
    triggerRow->setSpacing(12);
    auto *triggerName = new ThemeLabel(tr("Open it when I"), Fonts::body(), Theme::ink);
    auto *choices = new SegmentedPicker({tr("Point at it"), tr("Click it")});
    choices->setAccessibleName(triggerName->text());
    triggerRow->addWidget(triggerName);
    triggerRow->addWidget(choices, 1);
    connect(choices, &SegmentedPicker::picked, &m_model, [this](int index) { m_model.setTrayOpensOn(triggers[index]); });
    const auto followTrigger = [this, choices] { choices->setCurrent(triggerIndex(m_model.trayOpensOn())); };
    connect(&m_model, &AppModel::trayOpensOnChanged, choices, followTrigger);
    followTrigger();
    layout->addWidget(trigger);
    layout->addStretch();

    const auto follow = [this, yes, no, trigger] {
        yes->setSelected(m_useTray);
        no->setSelected(!m_useTray);
        trigger->setVisible(m_useTray);
    };
    for (ChoiceCard *answer : {yes, no}) {
        connect(answer, &QAbstractButton::clicked, this, [this, follow, answer, yes] {
            m_useTray = answer == yes;
            follow();
        });
    }
    follow();
    return page;
}

// The edge tells the sheet from the dimmed window behind it, which in the dark appearance is
// nearly the sheet's own colour.
void WelcomeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::desk.resolved(this));
    painter.setPen(Theme::hairline.resolved(this));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
