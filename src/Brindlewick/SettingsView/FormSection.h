#pragma once

#include <QWidget>

class QVBoxLayout;

// One group of a settings form: an optional heading, the rows on a card, an optional footer caption.
class FormSection : public QWidget {
    Q_OBJECT
public:
    explicit FormSection(const QString &header = {}, QWidget *parent = nullptr);

    // A row as wide as the card.
    void addRow(QWidget *row);
    // The label on the left, its control on the right; the control takes the label as its
    // accessibility label. Returns the row.
    QWidget *addLabelledRow(const QString &label, QWidget *control);
    // Secondary text that wraps onto as many lines as it needs, on the card or under it.
    void addCaption(const QString &text);
    void setFooter(const QString &text);

private:
    QVBoxLayout *m_rows;
    QVBoxLayout *m_column;
};
