#pragma once

#include <QWidget>

class AppModel;
class CardGrid;
class CardStyle;
class EmptyGrid;
class PlainButton;
class PrimaryButton;
class QMenu;
class QScrollArea;
class QuietButton;
class SearchField;
class ThemeLabel;

// The library's middle column: a toolbar (the filter's title and a summary, the search field, the
// sort menu, and New Note, or Empty under "Recently deleted"), the notice of an unreadable notes
// file, then the visible notes as a scrolling grid of cards or, with none, an empty state that says
// why. Everything but the search field's focus is the model's. A "Brindlewick.focusSearch" request
// (FocusSearch) puts the focus into the search field while the column is on screen. Deleting the
// selected note in the active window, or a command on the cards that takes it out of the list (done,
// tucked…), leaves the keyboard on the cards, on the next note, so Ctrl+Z next undoes it.
class NoteGrid : public QWidget {
    Q_OBJECT
public:
    explicit NoteGrid(AppModel &model, QWidget *parent = nullptr);

    ThemeLabel *titleLabel() const { return m_title; }
    ThemeLabel *subtitleLabel() const { return m_subtitle; }
    SearchField *searchField() const { return m_search; }
    PlainButton *sortButton() const { return m_sortButton; }
    QMenu *sortMenu() const { return m_sortMenu; }
    PrimaryButton *newNoteButton() const { return m_newNote; }
    QuietButton *emptyButton() const { return m_empty; }
    CardStyle *loadProblemCard() const { return m_problemCard; }
    ThemeLabel *loadProblemText() const { return m_problemText; }
    QuietButton *loadProblemButton() const { return m_problemOk; }
    QScrollArea *scrollArea() const { return m_scroll; }
    CardGrid *cardGrid() const { return m_grid; }
    EmptyGrid *emptyGrid() const { return m_emptyGrid; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *makeToolbar();
    QWidget *makeLoadProblem();
    void makeSortMenu();
    void refresh();
    void fitNewNoteLabel();
    void newNote();
    void focusSearch();
    void followDeparture(qsizetype index);

    AppModel &m_model;
    QWidget *m_toolbar = nullptr;
    ThemeLabel *m_title = nullptr;
    ThemeLabel *m_subtitle = nullptr;
    SearchField *m_search = nullptr;
    PlainButton *m_sortButton = nullptr;
    QMenu *m_sortMenu = nullptr;
    PrimaryButton *m_newNote = nullptr;
    QuietButton *m_empty = nullptr;
    QWidget *m_problem = nullptr;
    CardStyle *m_problemCard = nullptr;
    ThemeLabel *m_problemText = nullptr;
    QuietButton *m_problemOk = nullptr;
    QScrollArea *m_scroll = nullptr;
    CardGrid *m_grid = nullptr;
    EmptyGrid *m_emptyGrid = nullptr;
};
