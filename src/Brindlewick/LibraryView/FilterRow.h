#pragma once

#include "NoteFilter.h"
#include "Theme/Color.h"

#include <QAbstractButton>

// One filter of the library's sidebar: its symbol, its title and how many notes it shows (nothing
// for none). The whole 30-point band takes the click; from the keyboard Space or Return chooses it.
// It never checks itself: `selected` is the library's filter, set from outside.
class FilterRow : public QAbstractButton {
    Q_OBJECT
public:
    explicit FilterRow(NoteFilter filter, QWidget *parent = nullptr);

    NoteFilter filter() const { return m_filter; }
    int count() const { return m_count; }
    bool isSelected() const { return isChecked(); }
    void setState(int count, bool selected);

    // The sidebar's symbol of a filter, also shown by the empty grid.
    static QString symbol(NoteFilter filter);
    Color symbolColor() const;
    Color countColor() const;

    QSize sizeHint() const override;

protected:
    void nextCheckState() override {}
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateAccessibleName();

    NoteFilter m_filter;
    int m_count = 0;
};
