#include "TrayView.h"

#include "OpenTray.h"
#include "RestingTray.h"
#include "TrayAccessible.h"
#include "TrayBanner.h"
#include "TrayShape.h"

#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/DropShadow.h"
#include "Theme/Theme.h"

#include <QEasingCurve>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

namespace {

// The spring of a mode change: response 0.32 s, damping fraction 0.82. It has settled within a
// thousandth of its travel after this long.
constexpr double response = 0.32;
constexpr double damping = 0.82;
constexpr int settleMilliseconds = 440;

// How far an underdamped spring released from rest has travelled towards its end, 0 … about 1.
qreal springTravel(qreal progress)
{
    const double t = progress * settleMilliseconds / 1000.0;
    const double omega = 2 * std::numbers::pi / response;
    const double decay = damping * omega;
    const double ringing = omega * std::sqrt(1 - damping * damping);
    if (progress >= 1)
        return 1;
    return 1 - std::exp(-decay * t) * (std::cos(ringing * t) + decay / ringing * std::sin(ringing * t));
}

// The hit-testing outline of the shape, whatever the mode.
constexpr qreal hitRadius = 12;
constexpr qreal openRadius = 22;
constexpr qreal notchRestRadius = 10;
constexpr qreal shadowBlur = 14;
constexpr QPointF shadowOffset{0, 6};
constexpr qreal shadowOpacity = 0.3;

QRectF lerp(const QRectF &from, const QRectF &to, qreal t)
{
    return QRectF(from.x() + (to.x() - from.x()) * t, from.y() + (to.y() - from.y()) * t,
                  from.width() + (to.width() - from.width()) * t, from.height() + (to.height() - from.height()) * t);
}

} // namespace

TrayView::TrayView(TrayState &state, AppModel &model, QWidget *parent)
    : QWidget(parent), m_state(state), m_model(model), m_ears(RestingTray::tuckedCount(model.book()) > 0),
      m_spring(this)
{
    TrayAccessible::install();
    Appearance::force(this, Scheme::dark);
    QEasingCurve curve;
    curve.setCustomType(springTravel);
    m_spring.setEasingCurve(curve);
    m_spring.setDuration(settleMilliseconds);
    m_spring.setStartValue(0.0);
    m_spring.setEndValue(1.0);
    connect(&m_state, &TrayState::modeChanged, this, &TrayView::followMode);
    connect(&m_spring, &QAbstractAnimation::finished, this, &TrayView::settle);
    connect(&m_state, &TrayState::geometryChanged, this, [this] {
        rebuildContent();
        moveTo(target());
        settle();
    });
    connect(&m_model, &AppModel::bookChanged, this, &TrayView::followBook);
    m_shown = target();
    rebuildContent();
}

// The screen's y-up rectangle of the mode, in the view: its top edge on the view's top.
QRectF TrayView::target() const
{
    const TrayGeometry &g = m_state.geometry();
    const QRectF r = m_state.rect(m_ears);
    return QRectF(r.x() - g.screenFrame.x(), 0, r.width(), r.height());
}

// The resting strip is a capsule of its own height, also while an open tray shrinks back to it.
qreal TrayView::radius() const
{
    if (!m_state.mode().isResting())
        return openRadius;
    return m_state.geometry().hasNotch ? notchRestRadius : m_state.size(m_ears).height() * 0.5;
}

QPainterPath TrayView::outline() const
{
    return TrayShape{radius()}.path(m_shown);
}

void TrayView::setShadow(bool shadow)
{
    if (shadow == m_shadow)
        return;
    m_shadow = shadow;
    update();
}

void TrayView::followMode()
{
    const bool bannerToBanner = m_content && qobject_cast<TrayBanner *>(m_content) && m_state.mode().isBanner();
    rebuildContent();
    const QRectF to = target();
    if (Appearance::reduceMotion() || to == m_shown) {
        m_spring.stop();
        moveTo(to);
        settle();
        if (bannerToBanner)
            static_cast<TrayBanner *>(m_content)->bounceBell();
        return;
    }
    m_content->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRectF from = m_shown;
    m_spring.stop();
    disconnect(&m_spring, &QVariantAnimation::valueChanged, this, nullptr);
    connect(&m_spring, &QVariantAnimation::valueChanged, this,
            [this, from, to](const QVariant &value) { moveTo(lerp(from, to, value.toReal())); });
    m_spring.start();
}

// Ears come and go with the first and last tucked note; only the resting shape changes for them.
void TrayView::followBook()
{
    const bool ears = RestingTray::tuckedCount(m_model.book()) > 0;
    if (ears == m_ears)
        return;
    m_ears = ears;
    if (m_state.mode().isResting() && m_spring.state() != QAbstractAnimation::Running)
        moveTo(target());
}

void TrayView::moveTo(const QRectF &rect)
{
    if (rect == m_shown)
        return;
    const QRectF before = m_shown;
    m_shown = rect;
    placeContent();
    const qreal room = 2 * shadowBlur;
    update(before.united(rect).adjusted(-room, -room, room, room + shadowOffset.y()).toAlignedRect());
    emit shapeChanged();
}

// The content in place takes the pointer: the cards its hover, and clicks.
void TrayView::settle()
{
    m_content->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    if (auto *open = qobject_cast<OpenTray *>(m_content))
        open->followPointer();
}

// The old content goes from the event loop: the click that changed the mode may be one of its buttons.
void TrayView::rebuildContent()
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    const TrayGeometry &g = m_state.geometry();
    const TrayMode &mode = m_state.mode();
    const auto close = [this] { m_state.setMode(TrayMode::resting()); };
    switch (mode.kind) {
    case TrayMode::Kind::resting: m_content = new RestingTray(m_model, g, this); break;
    case TrayMode::Kind::open: {
        auto *open = new OpenTray(m_model, g, close, this);
        connect(open, &OpenTray::libraryAsked, this, &TrayView::libraryAsked);
        m_content = open;
        break;
    }
    case TrayMode::Kind::banner: m_content = new TrayBanner(m_model, mode.note, g, close, this); break;
    }
    placeContent();
    m_content->show();
}

// The content is laid out at the size of its mode's shape and travels centred in the shape as it
// springs, cut to the shape's outline.
void TrayView::placeContent()
{
    QRectF centred(QPointF(), target().size());
    centred.moveCenter(m_shown.center());
    const QRect area = centred.toAlignedRect();
    m_content->setGeometry(area);
    m_content->setMask(QRegion(outline().translated(-area.topLeft()).toFillPolygon().toPolygon()));
}

bool TrayView::onRestingShape(const QPointF &point) const
{
    return m_state.mode().isResting() && TrayShape{hitRadius}.path(m_shown).contains(point);
}

// A tap opens the resting tray when it is let go on the shape, as buttons do.
void TrayView::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(event->button() == Qt::LeftButton && onRestingShape(event->position()));
}

void TrayView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onRestingShape(event->position()))
        m_state.setMode(TrayMode::open());
}

void TrayView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = outline();
    if (m_shadow && !m_state.mode().isResting()) {
        DropShadow::paint(painter, m_shown, shadowBlur, shadowOffset, QColor(0, 0, 0, int(255 * shadowOpacity)),
                          [&shape](QPainter &p) { p.fillPath(shape, Qt::black); });
    }
    painter.fillPath(shape, Theme::notch.resolved(this));
}
