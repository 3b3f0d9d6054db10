#pragma once

#include "Date.h"
#include "Theme/Color.h"

#include <QAbstractButton>
#include <optional>

// The footer's deadline button: a flag while the note has no deadline, else the flag and the due
// text, in alarm red once the deadline has come.
class DeadlineButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit DeadlineButton(QWidget *parent = nullptr);

    // `due` is the due text of the deadline, shown as it stands.
    void setDeadline(std::optional<Date> deadline, Date now, const QString &due, Color ink);
    bool hasDeadline() const { return m_deadline.has_value(); }
    bool isOverdue() const { return m_overdue; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor labelColor() const;

    std::optional<Date> m_deadline;
    bool m_overdue = false;
    Color m_ink{0, 0};
};
