#pragma once

#include "NoteColor.h"

#include <QPlainTextEdit>

// The text of a note on its paper: a plain editor in the system font at 14 points, rounded, without
// frame, scroll bars or background of its own, its text, caret and selection in the paper's ink.
// The ink is resolved each time it paints, so it follows the appearance.
class PaperEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PaperEditor(QWidget *parent = nullptr);

    void setPaper(NoteColor paper);
    // Shows the note's text as it now stands, keeping the cursor where it was; not an edit.
    void showText(const QString &text);

signals:
    // The user changed the text.
    void edited(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyInk();

    NoteColor m_paper = NoteColor::lemon;
    QColor m_appliedInk;
    bool m_showing = false;
};
