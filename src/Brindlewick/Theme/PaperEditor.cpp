#include "PaperEditor.h"

#include "Fonts.h"
#include "Paper.h"

PaperEditor::PaperEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFont(Fonts::system(14, QFont::Normal, Fonts::Design::rounded));
    setAccessibleName(tr("Note text"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            emit edited(toPlainText());
    });
}

void PaperEditor::setPaper(NoteColor paper)
{
    if (paper == m_paper)
        return;
    m_paper = paper;
    viewport()->update();
}

void PaperEditor::showText(const QString &text)
{
    if (toPlainText() == text)
        return;
    m_showing = true;
    const int position = textCursor().position();
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.setPosition(qMin(position, int(text.size())));
    setTextCursor(cursor);
    m_showing = false;
}

void PaperEditor::paintEvent(QPaintEvent *event)
{
    applyInk();
    QPlainTextEdit::paintEvent(event);
}

void PaperEditor::applyInk()
{
    const QColor ink = Paper::ink(m_paper).resolved(this);
    if (ink == m_appliedInk)
        return;
    m_appliedInk = ink;
    QColor placeholder = ink;
    placeholder.setAlphaF(0.4f);
    QColor selection = ink;
    selection.setAlphaF(0.22f);
    QPalette inked = palette();
    inked.setColor(QPalette::Text, ink);
    inked.setColor(QPalette::PlaceholderText, placeholder);
    inked.setColor(QPalette::Highlight, selection);
    inked.setColor(QPalette::HighlightedText, ink);
    inked.setColor(QPalette::Base, Qt::transparent);
    setPalette(inked);
}
