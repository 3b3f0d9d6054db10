#pragma once

#include "NoteFilter.h"

#include <QWidget>
#include <array>

class AppModel;
class FilterRow;
class NextUpCard;

// The library's left column: the product's heading, the eight filters with their counts (the
// live ones, a hairline, then "Done" and "Recently deleted") and, at the bottom, the "Next up"
// card for the most pressing countdown of all live notes. It keeps nothing of its own and
// follows the model, the clock included.
class Sidebar : public QWidget {
    Q_OBJECT
public:
    explicit Sidebar(AppModel &model, QWidget *parent = nullptr);

    FilterRow *row(NoteFilter filter) const;
    NextUpCard *nextUp() const { return m_nextUp; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makeHeading();
    void refresh();
    void selectNextUp();

    AppModel &m_model;
    std::array<FilterRow *, NoteFilters::allCases.size()> m_rows{};
    NextUpCard *m_nextUp = nullptr;
};
