#include "BannerView.h"

#include "Theme/PlainButton.h"
#include "Theme/ThemeLabel.h"

#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/Theme.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>
#include <cmath>

namespace {

constexpr int pillHeight = 36;
constexpr int sidePadding = 14;
constexpr int spacing = 10;
constexpr int bottomGap = 18;
// The pill never reaches closer than this to its parent's sides.
constexpr int sideGap = 16;
constexpr int slideMs = 220;

} // namespace

BannerView::BannerView(AppModel &model, QWidget *parent)
    : QWidget(parent),
      m_model(model),
      m_text(new ThemeLabel({}, Fonts::bodyMedium(), Theme::desk, 1, this)),
      m_undo(new PlainButton(tr("Undo"), Fonts::bodyMedium(), Theme::desk, this)),
      m_dismiss(new PlainButton({}, Fonts::bodyMedium(), Theme::desk, this)),
      m_fade(new QGraphicsOpacityEffect(this))
{
    setGraphicsEffect(m_fade);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(sidePadding, 0, sidePadding, 0);
    row->setSpacing(spacing);
    row->addWidget(m_text, 1);
    row->addWidget(m_undo);
    row->addWidget(m_dismiss);
    m_dismiss->setSymbol(QStringLiteral("xmark"));
    m_dismiss->setHelp(tr("Dismiss"));
    setFixedHeight(pillHeight);

    auto *undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), m_undo, nullptr, nullptr, Qt::WindowShortcut);
    connect(undoKey, &QShortcut::activated, m_undo, &QAbstractButton::click);
    connect(m_undo, &QAbstractButton::clicked, &model, &AppModel::undo);
    connect(m_dismiss, &QAbstractButton::clicked, this, [this] { m_model.setBanner(std::nullopt); });

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BannerView::expire);
    m_slide.setEasingCurve(QEasingCurve::OutCubic);
    m_slide.setDuration(slideMs);
    connect(&m_slide, &QVariantAnimation::valueChanged, this, &BannerView::place);
    connect(&m_slide, &QVariantAnimation::finished, this, &BannerView::slid);

    parent->installEventFilter(this);
    connect(&model, &AppModel::bannerChanged, this, &BannerView::refresh);
    hide();
    refresh();
}

BannerView::~BannerView()
{
    disconnect(&m_model, nullptr, this, nullptr);
    expire();
}

// The time-out runs only while the pill can be seen.
void BannerView::refresh()
{
    const std::optional<Banner> &banner = m_model.banner();
    if (!banner || !onScreen()) {
        m_timer.stop();
        m_shownId.reset();
        slide(0);
        return;
    }
    m_text->setText(banner->text);
    m_undo->setVisible(!banner->undo.isEmpty());
    place();
    if (banner->id == m_shownId)
        return;
    m_shownId = banner->id;
    m_timer.start(m_timeout);
    slide(1);
}

bool BannerView::onScreen() const
{
    return parentWidget()->isVisible();
}

void BannerView::expire()
{
    m_timer.stop();
    const std::optional<Banner> &banner = m_model.banner();
    if (banner && banner->id == m_shownId)
        m_model.setBanner(std::nullopt);
}

// A new banner comes in from below; a cleared one goes down and out. Without animations, or with
// nothing on screen to watch, it happens at once.
void BannerView::slide(qreal to)
{
    const bool running = m_slide.state() == QAbstractAnimation::Running;
    const qreal from = running ? m_slide.currentValue().toReal() : to == 1 ? 0 : isVisible() ? 1 : 0;
    m_slide.stop();
    m_slide.setStartValue(from);
    m_slide.setEndValue(to);
    if (to == 1) {
        show();
        raise();
    }
    if (from == to || Appearance::reduceMotion() || !onScreen()) {
        slid();
        return;
    }
    m_slide.start();
}

void BannerView::slid()
{
    if (m_slide.endValue().toReal() == 0)
        hide();
    place();
}

void BannerView::place()
{
    const QWidget *area = parentWidget();
    const int width = std::min(sizeHint().width(), area->width() - 2 * sideGap);
    const qreal in = (m_slide.state() == QAbstractAnimation::Running ? m_slide.currentValue() : m_slide.endValue()).toReal();
    // At rest the pill is drawn as it is; it reaches its place only when fully in.
    m_fade->setEnabled(in < 1);
    m_fade->setOpacity(in);
    const int drop = int(std::ceil((1 - in) * (pillHeight + bottomGap)));
    setGeometry((area->width() - width) / 2, area->height() - bottomGap - pillHeight + drop, width, pillHeight);
}

QSize BannerView::sizeHint() const
{
    return QSize(layout()->sizeHint().width(), pillHeight);
}

// Closing the window takes the banner away; showing it starts the time-out of one that waited.
bool BannerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize)
            place();
        else if (event->type() == QEvent::Hide && !event->spontaneous())
            expire();
        else if (event->type() == QEvent::Show)
            refresh();
    }
    return QWidget::eventFilter(watched, event);
}

void BannerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), RoundedShape::capsule(rect()), Theme::ink.resolved(this));
}
