#include "UpdateSettingsView.h"

#include "Ostrel.h"
#include "Updater.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

UpdateSettingsView::UpdateSettingsView(QWidget *parent)
    : QWidget(parent), m_automatic(new QCheckBox(tr("Download and install updates automatically"))),
      m_explanation(new QLabel), m_status(new QLabel), m_checkNow(new QPushButton(tr("Check Now")))
{
    Updater &updater = Ostrel::updater();
    auto *group = new QGroupBox(tr("Updates"));
    auto *form = new QFormLayout(group);
    form->addRow(tr("Version"), new QLabel(updater.bundle().version));
    form->addRow(m_automatic);
    m_explanation->setWordWrap(true);
    form->addRow(m_explanation);
    m_status->setWordWrap(true);
    m_status->setObjectName(QStringLiteral("updateStatus"));
    form->addRow(tr("Status"), m_status);
    auto *checkRow = new QHBoxLayout;
    checkRow->addStretch();
    checkRow->addWidget(m_checkNow);
    form->addRow(checkRow);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(group);
    layout->addStretch();

    m_explanation->setText(
        updater.enabled()
            ? tr("%1 looks for a new version once a day; each one is checked against its maker’s signature and "
                 "installed when you quit.")
                  .arg(updater.bundle().name)
            : tr("This copy of %1 is updated by whoever installed it: a package manager, or a new build from source.")
                  .arg(updater.bundle().name));
    m_automatic->setEnabled(updater.enabled());
    m_checkNow->setEnabled(updater.enabled());
    connect(m_automatic, &QCheckBox::toggled, &updater, &Updater::setAutoUpdate);
    connect(m_checkNow, &QPushButton::clicked, &updater, &Updater::checkNow);
    connect(&updater, &Updater::changed, this, &UpdateSettingsView::follow);
    connect(&updater, &Updater::autoUpdateChanged, this, &UpdateSettingsView::follow);
    follow();
}

QString UpdateSettingsView::statusLine() const
{
    return m_status->text();
}

QString UpdateSettingsView::explanation() const
{
    return m_explanation->text();
}

void UpdateSettingsView::follow()
{
    const Updater &updater = Ostrel::updater();
    {
        const QSignalBlocker quiet(m_automatic);
        m_automatic->setChecked(updater.enabled() && updater.autoUpdate());
    }
    QString status = updater.enabled() ? updater.headline() : tr("Updates are off in this copy.");
    if (updater.lastChecked().isValid())
        status += QLatin1Char(' ') + tr("Last checked %1.").arg(QLocale().toString(updater.lastChecked(), QLocale::ShortFormat));
    m_status->setText(status);
}
