#pragma once

#include "NoteFilter.h"

#include <QWidget>

class AppModel;
class PrimaryButton;
class SymbolLabel;
class ThemeLabel;
class TiltedTape;

// What the grid shows when no note is visible, and why: a search that found nothing, a notebook
// without a single note (with a New Note button), or a filter that has nothing to show.
class EmptyGrid : public QWidget {
    Q_OBJECT
public:
    enum class Reason { search, noNotes, filter };

    explicit EmptyGrid(AppModel &model, QWidget *parent = nullptr);

    Reason reason() const { return m_reason; }
    SymbolLabel *symbolLabel() const { return m_symbol; }
    ThemeLabel *titleLabel() const { return m_title; }
    PrimaryButton *newNoteButton() const { return m_newNote; }
    void refresh();

signals:
    void newNoteClicked();

private:
    AppModel &m_model;
    Reason m_reason = Reason::filter;
    SymbolLabel *m_symbol;
    TiltedTape *m_tape;
    ThemeLabel *m_title;
    ThemeLabel *m_caption;
    QWidget *m_buttonRow;
    PrimaryButton *m_newNote;
};
