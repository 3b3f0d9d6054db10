#include "Sidebar.h"

#include "FilterRow.h"
#include "Theme/Hairline.h"
#include "NextUpCard.h"
#include "ShownRefresh.h"
#include "Theme/ThemeLabel.h"

#include "State/AppModel.h"
#include "Theme/Fonts.h"
#include "Theme/Theme.h"
#include "Theme/TiltedTape.h"

#include "NoteList.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int sidePadding = 8;
constexpr int rowSpacing = 2;

QWidget *divider(QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(new Hairline(Qt::Horizontal, holder));
    return holder;
}

} // namespace

Sidebar::Sidebar(AppModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(sidePadding, 0, sidePadding, 0);
    column->setSpacing(rowSpacing);
    column->addWidget(makeHeading());
    for (size_t i = 0; i < NoteFilters::allCases.size(); ++i) {
        const NoteFilter filter = NoteFilters::allCases[i];
        if (filter == NoteFilter::done)
            column->addWidget(divider(this));
        auto *row = new FilterRow(filter, this);
        connect(row, &FilterRow::clicked, this, [this, filter] { m_model.setFilter(filter); });
        column->addWidget(row);
        m_rows[i] = row;
    }
    column->addStretch();
    // Made after the rows, so Tab goes down the column as it is drawn.
    m_nextUp = new NextUpCard(this);
    auto *cardHolder = new QHBoxLayout;
    cardHolder->setContentsMargins(2, 0, 2, 0);
    cardHolder->addWidget(m_nextUp);
    column->addLayout(cardHolder);
    connect(m_nextUp, &NextUpCard::clicked, this, &Sidebar::selectNextUp);

    auto *shown = new ShownRefresh(this, [this] { refresh(); });
    for (auto changed : {&AppModel::bookChanged, &AppModel::nowChanged, &AppModel::filterChanged})
        connect(&model, changed, shown, &ShownRefresh::request);
    refresh();
}

QWidget *Sidebar::makeHeading()
{
    auto *heading = new QWidget(this);
    auto *row = new QHBoxLayout(heading);
    // The tape widget's own margin counts towards the heading's padding and spacing.
    row->setContentsMargins(10 - TiltedTape::margin, 36 - TiltedTape::margin, 10, 14 - TiltedTape::margin);
    row->setSpacing(8 - TiltedTape::margin);
    row->addWidget(new TiltedTape(QSizeF(34, 14), -4, NoteColor::lemon, heading));
    row->addWidget(new ThemeLabel(QStringLiteral("Brindlewick"), Fonts::system(15, QFont::Bold, Fonts::Design::rounded),
                                  Theme::ink, 1, heading));
    row->addStretch();
    return heading;
}

FilterRow *Sidebar::row(NoteFilter filter) const
{
    return m_rows[size_t(filter)];
}

void Sidebar::refresh()
{
    for (FilterRow *row : m_rows)
        row->setState(m_model.count(row->filter()), m_model.filter() == row->filter());
    const auto soonest = NoteList::soonest(m_model.book().notes, m_model.now(), false);
    if (soonest)
        m_nextUp->setSoonest(*soonest);
    m_nextUp->setVisible(soonest.has_value());
}

void Sidebar::selectNextUp()
{
    m_model.setSelection(m_nextUp->shown().note.id);
    m_model.setFilter(NoteFilter::all);
}

void Sidebar::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Theme::sidebar.resolved(this));
}
