#pragma once

#include <QStringList>
#include <QWidget>

class ChipButton;

// A label and a row of segments, exactly one of them chosen.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    SegmentedPicker(const QString &label, const QStringList &options, QWidget *parent = nullptr);

    int currentIndex() const { return m_current; }
    // Shows `index` as chosen without announcing it.
    void setCurrentIndex(int index);
    ChipButton *segment(int index) const { return m_segments.at(index); }

signals:
    // The user chose a segment.
    void activated(int index);

private:
    QList<ChipButton *> m_segments;
    int m_current = -1;
};
