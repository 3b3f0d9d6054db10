#pragma once

#include "Color.h"

#include <QFont>
#include <QWidget>

// Text in a theme colour, resolved each time it paints, so it follows the appearance. With
// `maxLines` 1 it stays on one line and is cut with an ellipsis when narrowed; otherwise it wraps
// to its width and is cut after `maxLines` lines (0: never). Assistive technologies read the text.
class ThemeLabel : public QWidget {
    Q_OBJECT
public:
    ThemeLabel(const QString &text, const QFont &font, Color color, int maxLines = 1, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont textFont() const { return m_font; }
    void setTextFont(const QFont &font);
    Color color() const { return m_color; }
    void setColor(Color color);
    void setAlignment(Qt::Alignment alignment);
    // The text as painted at the current width, one entry per line.
    QStringList shownLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_maxLines != 1; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int lineHeight() const;

    QString m_text;
    QFont m_font;
    Color m_color;
    int m_maxLines;
    Qt::Alignment m_alignment = Qt::AlignLeft;
};
