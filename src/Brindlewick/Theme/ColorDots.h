#pragma once

#include "NoteColor.h"

#include <QWidget>
#include <array>

class QAbstractButton;

// The colour picker: one dot per paper colour in NoteColors::allCases order, the selected one ringed.
// A click selects that colour; selecting never moves a dot.
class ColorDots : public QWidget {
    Q_OBJECT
public:
    ColorDots(NoteColor selection, qreal size, QWidget *parent = nullptr);

    NoteColor selection() const { return m_selection; }
    void setSelection(NoteColor color);
    qreal dotSize() const { return m_size; }
    // The dot button of a colour (its tooltip and accessibility label are the colour's title).
    QAbstractButton *dot(NoteColor color) const;

signals:
    void selectionChanged(NoteColor color);

private:
    NoteColor m_selection;
    qreal m_size;
    std::array<QAbstractButton *, NoteColors::allCases.size()> m_dots{};
};
