#include "PaperEditor.h"

#include "Fonts.h"
#include "Paper.h"
#include "ThemeLabel.h"

#include <QLocale>
#include <QMimeData>
#include <QTextDocument>

namespace {

// Where the shown start of `text` ends: at most `limit` characters, never inside a surrogate pair.
qsizetype startLength(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text.size();
    return text.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
}

// Pasted text as the document would hold it: one kind of line break.
QString plainLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

// The document's text as typed: its plain text would also turn no-break spaces into spaces and
// line separators into line breaks, changing text the user did not touch.
QString typedText(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

} // namespace

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
            userEdited();
    });
}

void PaperEditor::setPaper(NoteColor paper)
{
    if (paper == m_paper)
        return;
    m_paper = paper;
    if (m_cutNotice)
        m_cutNotice->setColor(Paper::ink(paper));
    viewport()->update();
}

void PaperEditor::showText(const QString &text)
{
    if (text.isSharedWith(m_text) || text == m_text)
        return;
    m_text = text;
    showStart(textCursor().position());
}

void PaperEditor::userEdited()
{
    const QString shown = typedText(*document());
    m_text = shown + m_text.mid(m_shownLength);
    m_shownLength = shown.size();
    emit edited(m_text);
}

void PaperEditor::insertFromMimeData(const QMimeData *source)
{
    const QString pasted = source->hasText() ? plainLines(source->text()) : QString();
    const QTextCursor cursor = textCursor();
    const qsizetype shownAfter = m_shownLength - (cursor.selectionEnd() - cursor.selectionStart()) + pasted.size();
    if (isReadOnly() || shownAfter <= shownLimit) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    m_text = m_text.left(cursor.selectionStart()) + pasted + m_text.mid(cursor.selectionEnd());
    emit edited(m_text);
    showStart(int(cursor.selectionStart() + pasted.size()));
}

void PaperEditor::showStart(int position)
{
    m_showing = true;
    m_shownLength = startLength(m_text, shownLimit);
    setPlainText(m_text.left(m_shownLength));
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(qMin<qsizetype>(position, m_shownLength)));
    setTextCursor(cursor);
    m_showing = false;
    showCutNotice();
}

// Made only for the rare text that is cut: measuring its line costs more than the rest of a note.
void PaperEditor::showCutNotice()
{
    if (!isCut()) {
        if (m_cutNotice && m_cutNotice->isVisibleTo(this)) {
            m_cutNotice->hide();
            setViewportMargins(0, 0, 0, 0);
        }
        return;
    }
    if (!m_cutNotice)
        m_cutNotice = new ThemeLabel({}, Fonts::system(11, QFont::Normal, Fonts::Design::rounded),
                                     Paper::ink(m_paper), 1, this);
    const QLocale locale;
    m_cutNotice->setText(tr("Showing the first %1 of %2 characters")
                             .arg(locale.toString(m_shownLength), locale.toString(m_text.size())));
    m_cutNotice->show();
    setViewportMargins(0, 0, 0, m_cutNotice->sizeHint().height());
    placeCutNotice();
}

void PaperEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    placeCutNotice();
}

void PaperEditor::placeCutNotice()
{
    if (!m_cutNotice || m_cutNotice->isHidden())
        return;
    const int height = m_cutNotice->sizeHint().height();
    m_cutNotice->setGeometry(0, this->height() - height, width(), height);
}

// Inked before its first paint: a palette set while painting asks for a second paint of the whole text.
void PaperEditor::showEvent(QShowEvent *event)
{
    applyInk();
    QPlainTextEdit::showEvent(event);
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
