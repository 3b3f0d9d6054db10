#include "NoteHeader.h"

#include "State/AppModel.h"
#include "ColorButton.h"
#include "Countdown.h"
#include "NoteFace.h"
#include "NoteMenu.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperIconButton.h"
#include "Theme/TiltedTape.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int headerHeight = 32;
constexpr qreal tapeHeight = 22;
constexpr qreal tapeTilt = -1.2;
// Room kept between the tape's ends and the buttons beside it, for the tilt and the shadow.
constexpr qreal tapeClearance = 3;

} // namespace

NoteHeader::NoteHeader(AppModel &model, const QUuid &id, QWidget *parent) : QWidget(parent), m_model(model), m_id(id)
{
    setFixedHeight(headerHeight);
    m_tape = new TiltedTape(QSizeF(NoteFace::tapeWidth(std::nullopt), tapeHeight), tapeTilt, NoteColor::lemon, this);

    m_controls = new QWidget(this);
    m_fade = new QGraphicsOpacityEffect(m_controls);
    m_controls->setGraphicsEffect(m_fade);
    auto *row = new QHBoxLayout(m_controls);
    row->setContentsMargins(5, 0, 5, 0);
    row->setSpacing(2);
    m_color = new ColorButton(m_controls);
    row->addWidget(m_color);
    row->addStretch();
    m_float = addIconButton(QStringLiteral("pin"));
    m_tuck = addIconButton(QStringLiteral("arrow.up.to.line"));
    m_more = addIconButton(QStringLiteral("ellipsis"));
    m_more->setHelp(tr("More"));
    m_more->setLabelFont(Fonts::system(12, QFont::Bold));
    // The tape keeps to the gap that the row leaves between the colour and float buttons.
    m_float->installEventFilter(this);

    connect(m_color, &QAbstractButton::clicked, this, &NoteHeader::colorsRequested);
    connect(m_float, &QAbstractButton::clicked, this, [this] { m_model.togglePinned(m_id); });
    connect(m_tuck, &QAbstractButton::clicked, this, [this] { m_model.setTucked(m_id, !m_tucked); });
    connect(m_more, &QAbstractButton::clicked, this,
            [this] { moreMenu()->popup(m_more->mapToGlobal(QPoint(0, m_more->height()))); });
}

NoteMenu *NoteHeader::moreMenu()
{
    if (!m_menu) {
        m_menu = new NoteMenu(m_model, m_id, this);
        connect(m_menu, &NoteMenu::showInLibrary, this, &NoteHeader::showInLibrary);
    }
    return m_menu;
}

PaperIconButton *NoteHeader::addIconButton(const QString &symbol)
{
    auto *button = new PaperIconButton(symbol, Paper::ink(NoteColor::lemon), false, m_controls);
    m_controls->layout()->addWidget(button);
    return button;
}

void NoteHeader::refresh(const StickyNote &note, Date now)
{
    const Color ink = Paper::ink(note.color);
    m_color->setColor(note.color, ink);
    for (PaperIconButton *button : {m_float, m_tuck, m_more})
        button->setInk(ink);

    m_float->setSymbol(note.pinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"));
    m_float->setOn(note.pinned);
    m_float->setToolTip(note.pinned ? tr("Floating above other windows. Click to stop.")
                                    : tr("Float above other windows"));
    m_float->setAccessibleName(note.pinned ? tr("Stop floating") : tr("Float above other windows"));

    m_tucked = note.tucked;
    m_tuck->setSymbol(note.tucked ? QStringLiteral("arrow.down.to.line") : QStringLiteral("arrow.up.to.line"));
    m_tuck->setHelp(note.tucked ? tr("Put back on the desktop") : tr("Tuck into the notch"));

    followClock(note, now);
    m_tape->setPaper(note.color);
    m_tapeWidth = NoteFace::tapeWidth(note.frame);
    placeTape();
}

void NoteHeader::followClock(const StickyNote &note, Date now)
{
    m_tape->setCountdown(Countdowns::primary(note, now));
}

void NoteHeader::setControlsOpacity(qreal opacity)
{
    m_fade->setOpacity(opacity);
}

QRectF NoteHeader::tapeRect() const
{
    return m_tape->tapeRect().translated(m_tape->pos());
}

// Centred on the header where it fits between the buttons, else as close to the centre as the gap
// allows, narrowed to the gap when even that is too short.
void NoteHeader::placeTape()
{
    const qreal left = m_color->geometry().right() + 1 + tapeClearance;
    const qreal right = m_float->geometry().left() - tapeClearance;
    const qreal tapeWidth = qMax(0.0, qMin(m_tapeWidth, right - left));
    const qreal centre = std::clamp(width() / 2.0, left + tapeWidth / 2, qMax(left, right - tapeWidth / 2));
    m_tape->place(QPointF(centre, height() / 2.0), tapeWidth);
}

bool NoteHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_float && event->type() == QEvent::Move)
        placeTape();
    return QWidget::eventFilter(watched, event);
}

void NoteHeader::mousePressEvent(QMouseEvent *event)
{
    QWindow *window = this->window()->windowHandle();
    if (event->button() == Qt::LeftButton && window && window->startSystemMove()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void NoteHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_controls->setGeometry(rect());
    placeTape();
}
