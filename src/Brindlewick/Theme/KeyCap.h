#pragma once

#include <QWidget>

// One key or key combination, as the shortcut list shows it: the text on a small Theme::well key
// with a hairline border, at least 22 × 20.
class KeyCap : public QWidget {
    Q_OBJECT
public:
    explicit KeyCap(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QFont font();

    QString m_text;
};
