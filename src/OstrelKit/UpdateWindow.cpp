#include "UpdateWindow.h"

#include "Ostrel.h"
#include "Updater.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int windowWidth = 420;
constexpr int notesHeight = 140;

} // namespace

UpdateWindow::UpdateWindow(Updater &updater, QWidget *parent)
    : QWidget(parent, Qt::Window), m_updater(updater), m_headline(new QLabel), m_detail(new QLabel),
      m_notes(new QPlainTextEdit), m_progress(new QProgressBar), m_install(new QPushButton(tr("Install and Relaunch"))),
      m_later(new QPushButton(tr("Later"))), m_ok(new QPushButton(tr("OK")))
{
    setWindowTitle(tr("Software Update"));
    QFont bold = m_headline->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_headline->setFont(bold);
    m_headline->setWordWrap(true);
    m_detail->setWordWrap(true);
    m_notes->setReadOnly(true);
    m_notes->setFocusPolicy(Qt::NoFocus);
    m_notes->setFixedHeight(notesHeight);
    m_notes->setAccessibleName(tr("Release notes"));
    QPalette brand = m_progress->palette();
    brand.setColor(QPalette::Highlight, Ostrel::brand().primary());
    m_progress->setPalette(brand);
    m_install->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_later, m_install, m_ok})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    for (QWidget *part : std::initializer_list<QWidget *>{m_headline, m_detail, m_notes, m_progress})
        layout->addWidget(part);
    layout->addLayout(buttons);

    connect(m_install, &QPushButton::clicked, &m_updater, &Updater::installAndRelaunch);
    connect(m_later, &QPushButton::clicked, this, &QWidget::close);
    connect(m_ok, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_updater, &Updater::changed, this, &UpdateWindow::follow);
    follow();
}

void UpdateWindow::bringForward()
{
    follow();
    show();
    raise();
    activateWindow();
}

QString UpdateWindow::headline() const
{
    return m_headline->text();
}

QString UpdateWindow::detail() const
{
    return m_detail->isVisibleTo(this) ? m_detail->text() : QString();
}

void UpdateWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_updater.offerShown();
}

void UpdateWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return void(close());
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QWidget::keyPressEvent(event);
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    if (focused && focused->isVisible())
        focused->click();
    else if (m_install->isVisible())
        m_install->click();
    else if (m_ok->isVisible())
        m_ok->click();
}

void UpdateWindow::follow()
{
    using State = Updater::State;
    const State state = m_updater.state();
    const bool available = state == State::available;
    const bool downloading = state == State::downloading;
    const bool verifying = state == State::verifying;
    m_headline->setText(m_updater.headline());
    const QString detail = detailText();
    m_detail->setText(detail);
    m_detail->setVisible(!detail.isEmpty());
    m_notes->setPlainText(available && m_updater.offer() ? m_updater.offer()->notes : QString());
    m_notes->setVisible(available && !m_notes->toPlainText().isEmpty());
    m_progress->setVisible(downloading || verifying);
    // Unpacking has no measure of its own: the bar only shows that something goes on.
    if (verifying)
        m_progress->setRange(0, 0);
    if (downloading && m_updater.offer()) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(1000 * m_updater.received() / qMax<qint64>(1, m_updater.offer()->release.size)));
    }
    // A staged update can also be installed at once, by quitting and starting again.
    const bool ready = state == State::ready;
    m_install->setVisible((available && m_updater.refusalSentence().isEmpty()) || ready);
    m_later->setVisible(available || downloading || verifying || ready);
    m_ok->setVisible(!available && !downloading && !verifying && !ready);
    // Return answers the question the window asks: install when it offers that, else close.
    (m_install->isVisibleTo(this) ? m_install : m_ok)->setFocus();
    fitToMessage();
    if (available && isVisible())
        m_updater.offerShown();
}

QString UpdateWindow::detailText() const
{
    if (m_updater.state() != Updater::State::available)
        return {};
    QStringList sentences{tr("You have %1.").arg(m_updater.bundle().version)};
    if (const QString refusal = m_updater.refusalSentence(); !refusal.isEmpty())
        sentences.append(refusal);
    if (const QString reason = m_updater.installFailureReason(); !reason.isEmpty())
        sentences.append(tr("The last try to install it failed: %1.").arg(reason));
    return sentences.join(QLatin1Char(' '));
}

// As tall as the wrapped lines at the window's width: a window sized from its one-line hints cuts
// them off.
void UpdateWindow::fitToMessage()
{
    layout()->activate();
    setFixedSize(windowWidth, layout()->totalHeightForWidth(windowWidth));
}
