#pragma once

#include "Date.h"
#include "Theme/Color.h"

#include <QAbstractButton>
#include <optional>

// The footer's deadline button: a flag while the note has no deadline, else the flag and the due
// text, in alarm red once the deadline has come. Where the whole due text does not fit, its brief
// form shows ("5:00 PM" today, else the day), cut with an ellipsis only where even that is too wide.
class DeadlineButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit DeadlineButton(QWidget *parent = nullptr);

    // `due` is the due text of the deadline and `brief` its brief form, shown as they stand.
    void setDeadline(std::optional<Date> deadline, Date now, const QString &due, const QString &brief, Color ink);
    bool hasDeadline() const { return m_deadline.has_value(); }
    bool isOverdue() const { return m_overdue; }

    // The due text as it is drawn at the button's width; empty without a deadline.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor labelColor() const;
    // The width the text may take in a button `buttonWidth` wide.
    static qreal textRoom(qreal buttonWidth);
    static qreal buttonWidth(const QString &text);

    std::optional<Date> m_deadline;
    bool m_overdue = false;
    QString m_brief;
    Color m_ink{0, 0};
};
