#include "Popover.h"

#include "Theme/Theme.h"

#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Between the anchor's edge and the popover.
constexpr int gap = 4;

QRect placed(QSize size, QRect anchor, QRect screen)
{
    QRect rect(QPoint(anchor.center().x() - size.width() / 2, anchor.bottom() + 1 + gap), size);
    if (rect.bottom() > screen.bottom() && anchor.top() - gap - size.height() >= screen.top())
        rect.moveBottom(anchor.top() - 1 - gap);
    rect.moveLeft(qBound(screen.left(), rect.left(), qMax(screen.left(), screen.right() + 1 - size.width())));
    return rect;
}

} // namespace

Popover::Popover(QWidget *content, QWidget *owner) : QFrame(owner, Qt::Popup), m_content(content)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(content);
}

void Popover::popup(const QWidget *anchor)
{
    adjustSize();
    const QRect anchorRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    const QScreen *screen = anchor->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size());
    setGeometry(placed(size(), anchorRect, area));
    show();
    m_content->setFocus(Qt::PopupFocusReason);
}

void Popover::followScheme()
{
    const Scheme scheme = Appearance::scheme(this);
    if (m_scheme == scheme)
        return;
    m_scheme = scheme;
    QPalette themed = palette();
    const auto set = [&](QPalette::ColorRole role, Color color) { themed.setColor(role, color.resolved(scheme)); };
    set(QPalette::Window, Theme::card);
    set(QPalette::Base, Theme::card);
    set(QPalette::AlternateBase, Theme::well);
    set(QPalette::Button, Theme::well);
    set(QPalette::WindowText, Theme::ink);
    set(QPalette::Text, Theme::ink);
    set(QPalette::ButtonText, Theme::ink);
    set(QPalette::PlaceholderText, Theme::ink3);
    set(QPalette::Highlight, Theme::accent);
    set(QPalette::HighlightedText, Theme::accentInk);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        themed.setColor(QPalette::Disabled, role, Theme::ink3.resolved(scheme));
    setPalette(themed);
}

void Popover::paintEvent(QPaintEvent *)
{
    // Colours follow the appearance at paint time; the palette of the controls inside too.
    followScheme();
    QPainter painter(this);
    painter.fillRect(rect(), Theme::card.resolved(this));
    painter.setPen(Theme::hairline.resolved(this));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Popover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    emit closed();
}
