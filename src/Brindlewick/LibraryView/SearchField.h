#pragma once

#include <QWidget>

class AppModel;
class PlainButton;
class QLineEdit;

// The library's search field, bound both ways to the model's query: a capsule with a magnifying
// glass, the text and, while there is a query, a clear button that keeps the focus where it is.
// Escape clears the query and gives up the focus; Down and Return ask to go on to the results.
class SearchField : public QWidget {
    Q_OBJECT
public:
    explicit SearchField(AppModel &model, QWidget *parent = nullptr);

    QLineEdit *lineEdit() const { return m_edit; }
    PlainButton *clearButton() const { return m_clear; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void resultsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    AppModel &m_model;
    QLineEdit *m_edit;
    PlainButton *m_clear;
};
