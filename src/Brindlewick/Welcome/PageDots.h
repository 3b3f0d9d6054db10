#pragma once

#include <QWidget>

// Where the reader is in a few pages: one dot per page, the current one drawn as a wider bar.
class PageDots : public QWidget {
    Q_OBJECT
public:
    explicit PageDots(int count, QWidget *parent = nullptr);

    int count() const { return m_count; }
    int current() const { return m_current; }
    void setCurrent(int page);
    // The dot of `page` in the widget's coordinates.
    QRectF dotRect(int page) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_count;
    int m_current = 0;
};
