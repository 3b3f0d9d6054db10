#pragma once

#include "Date.h"

#include <QUuid>
#include <QWidget>

class AppModel;
class ColorButton;
class NoteMenu;
class PaperIconButton;
class QGraphicsOpacityEffect;
class TiltedTape;
struct StickyNote;

// The top strip of a note: it drags the window, carries the countdown tape at a slight tilt and the
// row of the note's controls (colour, float, tuck, more). The tape never reaches under a button.
class NoteHeader : public QWidget {
    Q_OBJECT
public:
    NoteHeader(AppModel &model, const QUuid &id, QWidget *parent = nullptr);

    void refresh(const StickyNote &note, Date now);
    // What changes with the clock alone: the tape.
    void followClock(const StickyNote &note, Date now);
    void setControlsOpacity(qreal opacity);

    // The tape, untilted, in header coordinates.
    QRectF tapeRect() const;
    TiltedTape *tape() const { return m_tape; }
    ColorButton *colorButton() const { return m_color; }
    PaperIconButton *floatButton() const { return m_float; }
    PaperIconButton *tuckButton() const { return m_tuck; }
    PaperIconButton *moreButton() const { return m_more; }
    // Made on first use: most notes never open it.
    NoteMenu *moreMenu();

signals:
    void colorsRequested();
    // The more menu's "Show in All Notes".
    void showInLibrary(const QUuid &id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PaperIconButton *addIconButton(const QString &symbol);
    void placeTape();

    AppModel &m_model;
    QUuid m_id;
    bool m_tucked = false;
    double m_tapeWidth = 0;
    TiltedTape *m_tape;
    QWidget *m_controls;
    QGraphicsOpacityEffect *m_fade;
    ColorButton *m_color;
    PaperIconButton *m_float;
    PaperIconButton *m_tuck;
    PaperIconButton *m_more;
    NoteMenu *m_menu = nullptr;
};
