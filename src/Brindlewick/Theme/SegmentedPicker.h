#pragma once

#include <QList>
#include <QWidget>

class QAbstractButton;

// A choice of one among a few options, side by side on a Theme::well strip, the chosen one raised
// on a Theme::card segment. Setting the choice from outside never reports it as picked.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedPicker(const QStringList &titles, QWidget *parent = nullptr);

    int current() const;
    void setCurrent(int index);
    QAbstractButton *segment(int index) const { return m_segments.at(index); }

    QSize sizeHint() const override;

signals:
    // The user chose the option at `index`.
    void picked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QAbstractButton *> m_segments;
};
