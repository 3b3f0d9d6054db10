#include "NoteGrid.h"

#include "CardGrid.h"
#include "EmptyGrid.h"
#include "NoteCard.h"
#include "FocusSearch.h"
#include "Theme/PlainButton.h"
#include "SearchField.h"
#include "ShownRefresh.h"
#include "Theme/SymbolLabel.h"
#include "Theme/ThemeLabel.h"

#include "State/AppModel.h"
#include "Theme/CardStyle.h"
#include "Theme/Fonts.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int toolbarSpacing = 12;
constexpr int sidePadding = 24;
constexpr int sortWidth = 26;

QString counted(qsizetype count)
{
    const QString number = QLocale().toString(count);
    return count == 1 ? NoteGrid::tr("%1 note").arg(number) : NoteGrid::tr("%1 notes").arg(number);
}

// The line under the title: "3 notes matching “tea”", "12 notes · sorted by time left", …
QString subtitle(const AppModel &model, qsizetype visible)
{
    if (!model.query().isEmpty())
        return NoteGrid::tr("%1 matching “%2”").arg(counted(visible), model.query());
    switch (model.filter()) {
    case NoteFilter::tucked:
        return model.trayEnabled() ? NoteGrid::tr("%1 tucked into the notch").arg(counted(visible))
                                   : NoteGrid::tr("The notch tray is off (Settings › Notch)");
    case NoteFilter::deleted: return NoteGrid::tr("Deleted notes go for good after 30 days");
    default: return NoteGrid::tr("%1 · sorted by %2").arg(counted(visible), title(model.sort()).toLower());
    }
}

// The cards bring the selection into view themselves; the keyboard leaving them moves nothing (a
// stock scroll area would bring the whole grid into view, which scrolls it to its middle).
class CardScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

} // namespace

NoteGrid::NoteGrid(AppModel &model, QWidget *parent)
    : QWidget(parent),
      m_model(model),
      m_scroll(new CardScroll(this)),
      m_grid(new CardGrid(model, m_scroll)),
      m_emptyGrid(new EmptyGrid(model, this))
{
    m_scroll->setFrameShape(QFrame::NoFrame);
    // The keyboard goes to the cards themselves, whose arrow keys move the selection.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_grid);
    // The cards lie on the desk: neither the viewport nor the grid paints a background of its own.
    m_scroll->viewport()->setAutoFillBackground(false);
    m_grid->setAutoFillBackground(false);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(makeToolbar());
    column->addWidget(makeLoadProblem());
    column->addWidget(m_scroll, 1);
    column->addWidget(m_emptyGrid, 1);
    connect(m_emptyGrid, &EmptyGrid::newNoteClicked, this, &NoteGrid::newNote);
    // Once the model has finished the change, as a deletion that clears the selection.
    connect(m_grid, &CardGrid::selectedNoteLeft, this, &NoteGrid::followDeparture, Qt::QueuedConnection);
    connect(m_grid, &CardGrid::selectionMoved, this, [this](const QRect &cell) {
        const QRect around = cell.adjusted(-NoteCard::margin, -NoteCard::margin, NoteCard::margin, NoteCard::margin);
        m_scroll->ensureVisible(around.center().x(), around.center().y(), around.width() / 2, around.height() / 2);
    });

    connect(&FocusSearch::instance(), &FocusSearch::posted, this, &NoteGrid::focusSearch);
    auto *shown = new ShownRefresh(this, [this] { refresh(); });
    for (auto changed : {&AppModel::bookChanged, &AppModel::nowChanged, &AppModel::filterChanged,
                         &AppModel::queryChanged, &AppModel::sortChanged, &AppModel::selectionChanged,
                         &AppModel::loadProblemChanged, &AppModel::trayEnabledChanged})
        connect(&model, changed, shown, &ShownRefresh::request);
    refresh();
}

QWidget *NoteGrid::makeToolbar()
{
    m_toolbar = new QWidget(this);
    auto *row = new QHBoxLayout(m_toolbar);
    row->setContentsMargins(sidePadding, 30, sidePadding, 16);
    row->setSpacing(toolbarSpacing);

    auto *heading = new QVBoxLayout;
    heading->setSpacing(1);
    m_title = new ThemeLabel({}, Fonts::system(22, QFont::Bold, Fonts::Design::rounded), Theme::ink, 1, m_toolbar);
    m_subtitle = new ThemeLabel({}, Fonts::caption(), Theme::ink3, 1, m_toolbar);
    for (ThemeLabel *label : {m_title, m_subtitle}) {
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        heading->addWidget(label);
    }
    row->addLayout(heading);
    row->addStretch();

    m_search = new SearchField(m_model, m_toolbar);
    connect(m_search, &SearchField::resultsRequested, this, [this] {
        if (m_scroll->isVisible())
            m_grid->enter();
    });
    row->addWidget(m_search);

    m_sortButton = new PlainButton({}, Fonts::system(13), Theme::ink2, m_toolbar);
    m_sortButton->setSymbol(QStringLiteral("arrow.up.arrow.down"));
    m_sortButton->setHelp(tr("Sort"));
    m_sortButton->setFixedWidth(sortWidth);
    makeSortMenu();
    row->addWidget(m_sortButton);

    m_newNote = new PrimaryButton(Theme::accent, tr("New Note"), m_toolbar);
    m_newNote->setSymbol(QStringLiteral("plus"));
    m_newNote->setToolTip(tr("New Note (Ctrl+N)"));
    m_newNote->setAccessibleName(tr("New Note"));
    connect(m_newNote, &QAbstractButton::clicked, this, &NoteGrid::newNote);
    row->addWidget(m_newNote);

    m_empty = new QuietButton(tr("Empty"), m_toolbar);
    connect(m_empty, &QAbstractButton::clicked, this, [this] { m_model.emptyDeleted(); });
    row->addWidget(m_empty);
    return m_toolbar;
}

void NoteGrid::makeSortMenu()
{
    m_sortMenu = new QMenu(this);
    m_sortMenu->addSection(tr("Sort by"));
    auto *group = new QActionGroup(m_sortMenu);
    for (NoteSort sort : NoteSorts::allCases) {
        QAction *action = m_sortMenu->addAction(title(sort), this, [this, sort] { m_model.setSort(sort); });
        action->setCheckable(true);
        action->setData(static_cast<int>(sort));
        group->addAction(action);
    }
    connect(m_sortMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction *action : m_sortMenu->actions()) {
            if (action->isCheckable())
                action->setChecked(action->data().toInt() == static_cast<int>(m_model.sort()));
        }
    });
    connect(m_sortButton, &QAbstractButton::clicked, this, [this] {
        m_sortMenu->popup(m_sortButton->mapToGlobal(QPoint(0, m_sortButton->height())));
    });
}

QWidget *NoteGrid::makeLoadProblem()
{
    m_problem = new QWidget(this);
    auto *holder = new QVBoxLayout(m_problem);
    holder->setContentsMargins(sidePadding, 0, sidePadding, 8);

    auto *content = new QWidget;
    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), 13, Theme::urgency(Urgency::soon),
                                   content),
                   0, Qt::AlignTop);
    m_problemText = new ThemeLabel({}, Fonts::caption(), Theme::ink2, 0, content);
    row->addWidget(m_problemText, 1, Qt::AlignTop);
    m_problemOk = new QuietButton(tr("OK"), content);
    // While the notes cannot be read the message stays, and the button tries again.
    connect(m_problemOk, &QAbstractButton::clicked, this, [this] {
        if (m_model.loadBlocked())
            m_model.load();
        else
            m_model.setLoadProblem(std::nullopt);
    });
    row->addWidget(m_problemOk, 0, Qt::AlignTop);

    m_problemCard = card(content, 12);
    m_problemCard->setParent(m_problem);
    holder->addWidget(m_problemCard);
    return m_problem;
}

void NoteGrid::refresh()
{
    const QList<StickyNote> visible = m_model.visible();
    const QString heading = title(m_model.filter());
    const QString summary = subtitle(m_model, visible.size());
    const bool headingChanged = heading != m_title->text() || summary != m_subtitle->text();
    m_title->setText(heading);
    m_subtitle->setText(summary);

    const bool deleted = m_model.filter() == NoteFilter::deleted;
    m_newNote->setVisible(!deleted);
    m_empty->setVisible(deleted);
    m_empty->setEnabled(m_model.count(NoteFilter::deleted) > 0);

    const std::optional<QString> &problem = m_model.loadProblem();
    m_problem->setVisible(problem.has_value());
    m_problemText->setText(problem.value_or(QString()));
    m_problemOk->setText(m_model.loadBlocked() ? tr("Try Again") : tr("OK"));

    // The keyboard stays in the grid as it turns empty or fills again.
    const bool hadKeyboard = m_grid->hasFocus() || m_emptyGrid->hasFocus();
    m_grid->setNotes(visible, m_model.selection());
    m_scroll->setVisible(!visible.isEmpty());
    m_emptyGrid->setVisible(visible.isEmpty());
    if (hadKeyboard)
        (visible.isEmpty() ? static_cast<QWidget *>(m_emptyGrid) : m_grid)->setFocus(Qt::OtherFocusReason);
    if (visible.isEmpty())
        m_emptyGrid->refresh();
    if (headingChanged)
        fitNewNoteLabel();
}

void NoteGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitNewNoteLabel();
}

// The New Note button keeps its title while the toolbar has room for it; else only its symbol.
void NoteGrid::fitNewNoteLabel()
{
    const int heading = std::max(m_title->sizeHint().width(), m_subtitle->sizeHint().width());
    const int others = 2 * sidePadding + 4 * toolbarSpacing + heading + m_search->minimumSizeHint().width() + sortWidth;
    const QString title = tr("New Note");
    m_newNote->setText(title);
    m_newNote->setText(others + m_newNote->sizeHint().width() <= width() ? title : QString());
}

void NoteGrid::newNote()
{
    // What the shell's "New Note" does for the library: a desktop note in the default colour, opened.
    const QUuid id = m_model.newNote();
    if (m_model.onShow)
        m_model.onShow(id);
}

// On the note that took the departed one's place, or on the empty grid when none is left; a note
// selected meanwhile keeps the selection.
void NoteGrid::followDeparture(qsizetype index)
{
    if (!window()->isActiveWindow() || !isVisible() || m_grid->showsSelection())
        return;
    if (m_scroll->isVisible())
        m_grid->enterAt(index);
    else
        m_emptyGrid->setFocus(Qt::OtherFocusReason);
}

void NoteGrid::focusSearch()
{
    if (isVisible())
        m_search->lineEdit()->setFocus(Qt::ShortcutFocusReason);
}
