#pragma once

#include "NoteColor.h"

#include <QPlainTextEdit>

class ThemeLabel;

// The text of a note on its paper: a plain editor in the system font at 14 points, rounded, without
// frame, scroll bars or background of its own, its text, caret and selection in the paper's ink.
// The ink is resolved each time it paints, so it follows the appearance.
//
// Laying out a text costs time in its length, so a text longer than `shownLimit` characters shows
// only its first `shownLimit`, with a line below saying so; that part stays editable and the rest
// is kept as it stands. A paste that would make the shown text longer goes into the text without
// passing through the layout.
class PaperEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr qsizetype shownLimit = 50000;

    explicit PaperEditor(QWidget *parent = nullptr);

    void setPaper(NoteColor paper);
    // Shows the note's text as it now stands, keeping the cursor where it was; not an edit.
    void showText(const QString &text);
    // The whole text, of which the editor may show only the start.
    const QString &text() const { return m_text; }
    // Only the start of the text is shown.
    bool isCut() const { return m_shownLength < m_text.size(); }
    // The line under a cut text; none until a text was cut.
    ThemeLabel *cutNotice() const { return m_cutNotice; }

signals:
    // The user changed the text; the whole new text.
    void edited(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void applyInk();
    void userEdited();
    // Puts the start of `m_text` into the document, the cursor at `position` or as near as it goes.
    void showStart(int position);
    void showCutNotice();
    void placeCutNotice();

    NoteColor m_paper = NoteColor::lemon;
    QColor m_appliedInk;
    bool m_showing = false;
    QString m_text;
    qsizetype m_shownLength = 0;
    ThemeLabel *m_cutNotice = nullptr;
};
