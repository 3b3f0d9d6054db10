#pragma once

#include <QAbstractButton>

class SymbolLabel;

// One answer of a question with two or more, as a card: a radio mark, a title and a detail line.
// The whole card takes the click, and Space from the keyboard; the selected card is ringed in the
// accent colour and reads as checked to assistive technologies.
class ChoiceCard : public QAbstractButton {
    Q_OBJECT
public:
    ChoiceCard(const QString &title, const QString &detail, QWidget *parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return isChecked(); }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // A click selects; clicking the selected card keeps it selected.
    void nextCheckState() override {}

private:
    SymbolLabel *m_mark;
};
