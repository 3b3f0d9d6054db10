#include "OpenTray.h"

#include "CardRow.h"
#include "TrayButton.h"
#include "TrayCard.h"

#include "State/AppModel.h"
#include "Theme/Fonts.h"
#include "Theme/Kicker.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

constexpr int bottomPadding = 12;
constexpr int headerPadding = 18;
// White at 0.55 and 0.6 over the black tray.
constexpr Color headingGrey = Color::fixed(0x8C8C8C);
constexpr Color hintGrey = Color::fixed(0x999999);
constexpr Color white = Color::fixed(0xFFFFFF);

} // namespace

OpenTray::OpenTray(AppModel &model, const TrayGeometry &geometry, std::function<void()> close, QWidget *parent)
    : QWidget(parent), m_model(model), m_geometry(geometry), m_close(std::move(close))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, bottomPadding);
    column->setSpacing(0);
    column->addWidget(header());
    m_empty = emptyState();
    m_row = new CardRow(m_model);
    column->addWidget(m_empty, 1);
    column->addWidget(m_row, 1);
    setTabOrder(m_row, m_plus);
    setTabOrder(m_plus, m_library);
    connect(&m_model, &AppModel::bookChanged, this, &OpenTray::refresh);
    connect(&m_model, &AppModel::nowChanged, this, &OpenTray::refresh);
    refresh();
}

QWidget *OpenTray::header()
{
    auto *bar = new QWidget;
    bar->setFixedHeight(int(m_geometry.header()));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(headerPadding, 0, headerPadding, 0);
    row->setSpacing(8);
    m_kicker = new Kicker(QString(), headingGrey);
    row->addWidget(m_kicker);
    row->addSpacing(m_geometry.hasNotch ? int(m_geometry.notch.width()) + 24 : 8);
    row->addStretch();
    m_plus = new TrayButton(QStringLiteral("plus"), tr("New note in the notch"));
    m_library = new TrayButton(QStringLiteral("square.grid.2x2"), tr("All Notes"));
    row->addWidget(m_plus);
    row->addWidget(m_library);
    connect(m_plus, &QAbstractButton::clicked, this, &OpenTray::addNote);
    connect(m_library, &QAbstractButton::clicked, this, [this] {
        m_close();
        emit libraryAsked();
    });
    return bar;
}

QWidget *OpenTray::emptyState()
{
    auto *empty = new QWidget;
    auto *column = new QVBoxLayout(empty);
    column->setSpacing(6);
    column->addStretch();
    column->addWidget(new SymbolLabel(QStringLiteral("arrow.up.to.line"), 20, Theme::accent), 0, Qt::AlignHCenter);
    auto *title = new ThemeLabel(tr("Nothing tucked here yet"), Fonts::title(), white);
    auto *hint = new ThemeLabel(tr("Press ⤒ on any note to tuck it into the notch, or + to write one here."),
                                Fonts::caption(), hintGrey, 2);
    for (ThemeLabel *label : {title, hint}) {
        label->setAlignment(Qt::AlignHCenter);
        column->addWidget(label);
    }
    column->addStretch();
    return empty;
}

QString OpenTray::heading() const
{
    return m_kicker->text();
}

bool OpenTray::showsEmptyState() const
{
    return !m_empty->isHidden();
}

// The tucked notes are read once per change, for both the count and the row.
void OpenTray::refresh()
{
    const QList<StickyNote> tucked = m_model.tuckedNotes();
    QString heading = m_geometry.hasNotch ? tr("In the notch") : tr("Tucked away");
    if (!tucked.isEmpty())
        heading += QStringLiteral(" · ") + QString::number(tucked.size());
    m_kicker->setText(heading);
    m_empty->setVisible(tucked.isEmpty());
    m_row->setVisible(!tucked.isEmpty());
    m_row->setNotes(tucked);
}

void OpenTray::focusFirst()
{
    (m_row->isHidden() ? static_cast<QWidget *>(m_plus) : m_row)->setFocus(Qt::TabFocusReason);
}

void OpenTray::followPointer()
{
    m_row->followPointer();
}

void OpenTray::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The tray stays open; the new note shows under it, ready for typing, and as a card in the row.
void OpenTray::addNote()
{
    const QUuid id = m_model.newNote({}, std::nullopt, std::nullopt, false, std::nullopt, true);
    TrayCard::open(m_model, id);
}
