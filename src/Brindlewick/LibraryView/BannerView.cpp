#include "BannerView.h"

#include "Theme/PlainButton.h"
#include "Theme/ThemeLabel.h"

#include "App/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>

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
      m_dismiss(new PlainButton({}, Fonts::bodyMedium(), Theme::desk, this))
{
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
    connect(&m_slide, &QVariantAnimation::valueChanged, this, &BannerView::place);

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

void BannerView::refresh()
{
    const std::optional<Banner> &banner = m_model.banner();
    if (!banner) {
        m_timer.stop();
        m_shownId.reset();
        hide();
        return;
    }
    m_text->setText(banner->text);
    m_undo->setVisible(!banner->undo.isEmpty());
    place();
    if (banner->id == m_shownId)
        return;
    m_shownId = banner->id;
    m_timer.start(m_timeout);
    show();
    raise();
    slideIn();
}

void BannerView::expire()
{
    m_timer.stop();
    const std::optional<Banner> &banner = m_model.banner();
    if (banner && banner->id == m_shownId)
        m_model.setBanner(std::nullopt);
}

void BannerView::slideIn()
{
    m_slide.stop();
    if (Appearance::reduceMotion()) {
        place();
        return;
    }
    m_slide.setDuration(slideMs);
    m_slide.setStartValue(qreal(pillHeight + bottomGap));
    m_slide.setEndValue(qreal(0));
    m_slide.start();
}

void BannerView::place()
{
    const QWidget *area = parentWidget();
    const int width = std::min(sizeHint().width(), area->width() - 2 * sideGap);
    const int drop = m_slide.state() == QAbstractAnimation::Running ? qRound(m_slide.currentValue().toReal()) : 0;
    setGeometry((area->width() - width) / 2, area->height() - bottomGap - pillHeight + drop, width, pillHeight);
}

QSize BannerView::sizeHint() const
{
    return QSize(layout()->sizeHint().width(), pillHeight);
}

bool BannerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

void BannerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), RoundedShape::capsule(rect()), Theme::ink.resolved(this));
}
