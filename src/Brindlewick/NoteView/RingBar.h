#pragma once

#include "Date.h"

#include <QUuid>
#include <QWidget>

class AppModel;
class RingButton;
class ThemeLabel;
struct StickyNote;

// Takes the place of a ringing note's footer: says why the note rings and offers its three answers.
class RingBar : public QWidget {
    Q_OBJECT
public:
    RingBar(AppModel &model, const QUuid &id, QWidget *parent = nullptr);

    void refresh(const StickyNote &note, Date now);
    QString title() const;
    // The default answer: the note stops ringing and nothing else changes.
    void acknowledge();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    RingButton *addAnswer(const QString &text, bool strong);

    AppModel &m_model;
    QUuid m_id;
    ThemeLabel *m_title;
};
