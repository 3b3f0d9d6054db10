#include "TrayCard.h"

#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/PaperIconButton.h"
#include "Theme/TextBlock.h"
#include "Theme/TimeTape.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSizeF tapeSize{96, 17};
constexpr qreal tapeTilt = -1.5;
constexpr qreal tapeTop = 5;
constexpr qreal spacing = 5;
constexpr qreal sidePadding = 10;
constexpr qreal bottomPadding = 4;
constexpr qreal bottomRowHeight = 22;
constexpr int maxLines = 2;

const QFont &titleFont()
{
    static const QFont font = Fonts::system(12.5, QFont::DemiBold, Fonts::Design::rounded);
    return font;
}

const QFont &restFont()
{
    static const QFont font = Fonts::system(11, QFont::Normal, Fonts::Design::rounded);
    return font;
}

const QFont &dueFont()
{
    static const QFont font = Fonts::system(10, QFont::DemiBold, Fonts::Design::rounded);
    return font;
}

} // namespace

TrayCard::TrayCard(AppModel &model, const StickyNote &note, bool forceHover, QWidget *parent)
    : QWidget(parent), m_model(model), m_note(note), m_forceHover(forceHover),
      m_putBack(new PaperIconButton(QStringLiteral("arrow.down.to.line"), Paper::ink(note.color))),
      m_done(new PaperIconButton(QStringLiteral("checkmark"), Paper::ink(note.color)))
{
    Appearance::force(this, Scheme::light);
    setFixedSize(cardSize);
    setCursor(Qt::PointingHandCursor);
    m_putBack->setHelp(tr("Put on the desktop"));
    m_done->setToolTip(tr("Done"));
    m_done->setAccessibleName(tr("Mark done"));
    for (PaperIconButton *button : {m_putBack, m_done})
        button->setFocusPolicy(Qt::NoFocus);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(sidePadding), 0, int(sidePadding), int(bottomPadding));
    row->setSpacing(2);
    row->addStretch();
    row->addWidget(m_putBack, 0, Qt::AlignBottom);
    row->addWidget(m_done, 0, Qt::AlignBottom);
    connect(m_putBack, &QAbstractButton::clicked, this, [this] { m_model.setTucked(m_note.id, false); });
    connect(m_done, &QAbstractButton::clicked, this, [this] { m_model.toggleDone(m_note.id); });
    connect(&m_model, &AppModel::nowChanged, this, &TrayCard::refresh);
    connect(&m_model, &AppModel::ringingChanged, this, &TrayCard::refresh);
    m_face = face();
    setHovering(false);
    updateAccessibleName();
}

void TrayCard::setNote(const StickyNote &note)
{
    m_putBack->setInk(Paper::ink(note.color));
    m_done->setInk(Paper::ink(note.color));
    m_note = note;
    refresh();
}

void TrayCard::open(AppModel &model, const QUuid &id)
{
    model.setNotesHidden(false);
    model.stopRinging(id);
    if (model.onShow)
        model.onShow(id);
}

void TrayCard::openNote()
{
    open(m_model, m_note.id);
}

std::optional<Countdown> TrayCard::countdown() const
{
    return Countdowns::primary(m_note, m_model.now());
}

QString TrayCard::dueText() const
{
    return m_note.deadline ? m_dueText.of(*m_note.deadline, m_model.now(), m_model.calendar()) : QString();
}

bool TrayCard::showsButtons() const
{
    return m_hovering || m_forceHover;
}

TrayCard::Face TrayCard::face() const
{
    return {countdown(), dueText(), m_model.ringing().contains(m_note.id), m_note};
}

void TrayCard::refresh()
{
    Face now = face();
    if (now == m_face)
        return;
    m_face = std::move(now);
    updateAccessibleName();
    update();
}

void TrayCard::setHovering(bool hovering)
{
    m_hovering = hovering;
    m_putBack->setVisible(showsButtons());
    m_done->setVisible(showsButtons());
}

void TrayCard::setFocusShown(bool shown)
{
    if (shown == m_focusShown)
        return;
    m_focusShown = shown;
    update();
}

void TrayCard::updateAccessibleName()
{
    const std::optional<Countdown> &c = m_face.countdown;
    setAccessibleName(c ? m_note.title() + QStringLiteral(", ") + c->spokenText() : m_note.title());
}

bool TrayCard::event(QEvent *event)
{
    if (event->type() == QEvent::Enter)
        setHovering(true);
    else if (event->type() == QEvent::Leave)
        setHovering(false);
    return QWidget::event(event);
}

void TrayCard::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        openNote();
}

void TrayCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    PaperBackground::paint(painter, rect(), m_note.color, m_face.ringing, Scheme::light);

    const QRectF tape(width() / 2.0 - tapeSize.width() / 2, tapeTop, tapeSize.width(), tapeSize.height());
    TimeTape::paint(painter, tape, m_face.countdown, m_note.color, true, Scheme::light, tapeTilt);

    const QColor ink = Paper::ink(m_note.color).resolved(Scheme::light);
    const qreal textWidth = width() - 2 * sidePadding;
    qreal y = tape.bottom() + spacing;
    const QList<TextBlock::Line> title = TextBlock::lines(m_note.title(), titleFont(), textWidth, maxLines);
    TextBlock::paint(painter, QPointF(sidePadding, y), title, titleFont(), ink);
    y += TextBlock::height(title) + spacing;
    const QString rest = m_note.rest();
    if (!rest.isEmpty()) {
        QColor faded = ink;
        faded.setAlphaF(0.75f);
        TextBlock::paint(painter, QPointF(sidePadding, y), TextBlock::lines(rest, restFont(), textWidth, maxLines),
                         restFont(), faded);
    }
    if (m_focusShown)
        FocusRing::paintRing(painter, rect(), PaperBackground::cornerRadius, ink);
    if (!m_face.due.isEmpty()) {
        QColor faded = ink;
        faded.setAlphaF(0.7f);
        const QRectF row(sidePadding, height() - bottomPadding - bottomRowHeight, textWidth, bottomRowHeight);
        const QList<TextBlock::Line> due = TextBlock::lines(m_face.due, dueFont(), textWidth, 1);
        TextBlock::paint(painter, QPointF(row.left(), row.center().y() - TextBlock::height(due) / 2), due, dueFont(),
                         faded);
    }
}
