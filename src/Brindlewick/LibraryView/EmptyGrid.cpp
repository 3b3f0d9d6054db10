#include "EmptyGrid.h"

#include "FilterRow.h"
#include "Theme/SymbolLabel.h"
#include "Theme/ThemeLabel.h"

#include "State/AppModel.h"
#include "Theme/Fonts.h"
#include "Theme/PrimaryButton.h"
#include "Theme/Theme.h"
#include "Theme/TiltedTape.h"

#include <QVBoxLayout>

namespace {

constexpr int padding = 24;

// The sample tape over "No notes yet": a four-minute timer, four-fifths left.
Countdown sampleCountdown()
{
    Countdown countdown;
    countdown.kind = Countdown::Kind::timer(NoteTimer::State::running);
    countdown.remaining = 240;
    countdown.fraction = 0.8;
    countdown.urgency = Urgency::calm;
    return countdown;
}

// The message of an empty filter.
QString emptyText(NoteFilter filter)
{
    switch (filter) {
    case NoteFilter::all: return EmptyGrid::tr("No notes here.");
    case NoteFilter::pinned:
        return EmptyGrid::tr("No notes float above other windows.\nPress the pin on a note to keep it on top.");
    case NoteFilter::timers: return EmptyGrid::tr("No timers. Press Ctrl+T on a note to add one.");
    case NoteFilter::today: return EmptyGrid::tr("Nothing due today.");
    case NoteFilter::overdue: return EmptyGrid::tr("Nothing overdue.");
    case NoteFilter::tucked: return EmptyGrid::tr("Nothing tucked into the notch.");
    case NoteFilter::done: return EmptyGrid::tr("No finished notes yet.");
    case NoteFilter::deleted: return EmptyGrid::tr("Nothing deleted.");
    }
    return {};
}

} // namespace

EmptyGrid::EmptyGrid(AppModel &model, QWidget *parent)
    : QWidget(parent),
      m_model(model),
      m_symbol(new SymbolLabel({}, 26, Theme::ink3, this)),
      m_tape(new TiltedTape(QSizeF(150, 26), -2, NoteColor::lemon, this)),
      m_title(new ThemeLabel({}, Fonts::title(), Theme::ink, 0, this)),
      m_caption(new ThemeLabel({}, Fonts::caption(), Theme::ink2, 0, this)),
      m_buttonRow(new QWidget(this)),
      m_newNote(new PrimaryButton(Theme::accent, tr("New Note"), m_buttonRow))
{
    m_tape->setCountdown(sampleCountdown());
    m_title->setAlignment(Qt::AlignHCenter);
    m_caption->setAlignment(Qt::AlignHCenter);
    m_newNote->setSymbol(QStringLiteral("plus"));
    connect(m_newNote, &QAbstractButton::clicked, this, &EmptyGrid::newNoteClicked);
    auto *buttonLayout = new QVBoxLayout(m_buttonRow);
    buttonLayout->setContentsMargins(0, 6, 0, 0);
    buttonLayout->addWidget(m_newNote, 0, Qt::AlignHCenter);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(10);
    column->addStretch();
    column->addWidget(m_symbol, 0, Qt::AlignHCenter);
    column->addWidget(m_tape, 0, Qt::AlignHCenter);
    column->addWidget(m_title);
    column->addWidget(m_caption);
    column->addWidget(m_buttonRow);
    column->addStretch();
}

void EmptyGrid::refresh()
{
    const QString &query = m_model.query();
    if (!query.isEmpty())
        m_reason = Reason::search;
    else if (m_model.book().notes.isEmpty())
        m_reason = Reason::noNotes;
    else
        m_reason = Reason::filter;

    m_symbol->setVisible(m_reason != Reason::noNotes);
    m_tape->setVisible(m_reason == Reason::noNotes);
    m_caption->setVisible(m_reason != Reason::filter);
    m_buttonRow->setVisible(m_reason == Reason::noNotes);
    switch (m_reason) {
    case Reason::search:
        m_symbol->setSymbol(QStringLiteral("magnifyingglass"));
        m_symbol->setPoints(28);
        m_title->setText(tr("No notes match “%1”").arg(query));
        m_title->setTextFont(Fonts::title());
        m_caption->setTextFont(Fonts::caption());
        m_caption->setText(tr("Search looks at every word in a note, and colour names like “mint”."));
        break;
    case Reason::noNotes:
        m_title->setText(tr("No notes yet"));
        m_title->setTextFont(Fonts::system(20, QFont::Bold, Fonts::Design::rounded));
        m_caption->setTextFont(Fonts::body());
        m_caption->setText(tr("Press Ctrl+N for a new note, or Ctrl+Alt+N anywhere and type “tea 4m”."));
        break;
    case Reason::filter:
        m_symbol->setSymbol(FilterRow::symbol(m_model.filter()));
        m_symbol->setPoints(26);
        m_title->setText(emptyText(m_model.filter()));
        m_title->setTextFont(Fonts::title());
        break;
    }
}
