#pragma once

#include "NoteColor.h"

#include <QWidget>
#include <functional>
#include <optional>

class AppModel;
class ColorDots;
class PreviewChip;
class QCheckBox;
class QLabel;
class QLineEdit;

// The content of the Quick Note panel: one line to type a note into, chips under it that preview
// the timer and deadline the line will give the note (re-read as the line and the clock change),
// the paper colour and, while the tray is on, whether the note goes into the tray. Return adds the
// note; Esc closes. Made once, so the line and the choices stay between showings.
class QuickNoteView : public QWidget {
    Q_OBJECT
public:
    static constexpr qreal cornerRadius = 12;

    // `close` hides the panel; its argument says whether to give the focus back to the window that
    // had it before the panel showed.
    QuickNoteView(AppModel &model, std::function<void(bool restore)> close, QWidget *parent = nullptr);

    QString line() const;
    // The colour picked here; none means the model's default colour.
    std::optional<NoteColor> color() const { return m_color; }
    bool tucked() const;
    // The colour the paper shows and the note gets.
    NoteColor paper() const;

    // Adds the note the line describes and, when one was added, clears the line, closes without
    // giving the focus back and shows the note. A line with no text adds nothing and keeps the panel.
    void make();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildRows();
    void refreshPreview();
    void refreshPaper();

    AppModel &m_model;
    std::function<void(bool)> m_close;
    std::optional<NoteColor> m_color;

    QLabel *m_badge = nullptr;
    QLineEdit *m_line = nullptr;
    PreviewChip *m_timerChip = nullptr;
    PreviewChip *m_deadlineChip = nullptr;
    QLabel *m_hint = nullptr;
    ColorDots *m_dots = nullptr;
    QCheckBox *m_tuck = nullptr;
};
