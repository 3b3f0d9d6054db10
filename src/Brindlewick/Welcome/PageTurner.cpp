#include "PageTurner.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>

PageTurner::PageTurner(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_turn.setStartValue(0.0);
    m_turn.setEndValue(1.0);
    m_turn.setDuration(turnMilliseconds);
    m_turn.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) { place(value.toReal()); });
    connect(&m_turn, &QVariantAnimation::finished, this, &PageTurner::finish);
}

void PageTurner::setPage(QWidget *page, bool animated)
{
    if (isTurning()) {
        m_turn.stop();
        finish();
    }
    if (m_page) {
        m_outgoing = animated ? m_page->grab() : QPixmap();
        m_page->hide();
        m_page->deleteLater();
    }
    m_page = page;
    page->setParent(this);
    page->setGeometry(rect());
    page->show();
    if (!animated || m_outgoing.isNull()) {
        finish();
        return;
    }
    page->setGraphicsEffect(new QGraphicsOpacityEffect);
    place(0);
    m_turn.start();
}

void PageTurner::place(qreal progress)
{
    m_progress = progress;
    if (m_page) {
        m_page->move(qRound(forward() * (1 - progress) * width()), 0);
        if (auto *fade = qobject_cast<QGraphicsOpacityEffect *>(m_page->graphicsEffect()))
            fade->setOpacity(progress);
    }
    update();
}

void PageTurner::finish()
{
    m_outgoing = QPixmap();
    if (m_page)
        m_page->setGraphicsEffect(nullptr);
    place(1);
}

void PageTurner::resizeEvent(QResizeEvent *)
{
    if (m_page)
        m_page->resize(size());
    place(m_progress);
}

void PageTurner::paintEvent(QPaintEvent *)
{
    if (m_outgoing.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(1 - m_progress);
    painter.drawPixmap(QPointF(-forward() * m_progress * width(), 0), m_outgoing);
}
