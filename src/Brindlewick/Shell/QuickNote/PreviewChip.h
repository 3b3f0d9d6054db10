#pragma once

#include "Theme/Color.h"

#include <QWidget>

// What the typed line will give the note, shown under it: a symbol and a text on an ink-tinted
// capsule, 22 high, in the ink of the paper it lies on.
class PreviewChip : public QWidget {
    Q_OBJECT
public:
    PreviewChip(QString symbol, Color ink, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void setInk(Color ink);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QFont font();
    qreal symbolWidth() const;

    QString m_symbol;
    QString m_text;
    Color m_ink;
};
