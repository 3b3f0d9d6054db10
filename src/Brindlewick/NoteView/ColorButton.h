#pragma once

#include "NoteColor.h"
#include "Theme/PaperIconButton.h"

// The header's colour button: a small dot in the note's swatch colour, ringed in the paper's ink.
class ColorButton : public PaperIconButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget *parent = nullptr);

    NoteColor color() const { return m_color; }
    void setColor(NoteColor color, Color ink);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    NoteColor m_color = NoteColor::lemon;
};
