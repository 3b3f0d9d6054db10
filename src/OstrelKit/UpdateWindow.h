#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Updater;

// The one small window of the updater: it follows the updater's state, from "Checking…" to the new
// version with its notes and "Install and Relaunch" / "Later", the download's progress and its check,
// "ready to install when you quit", or what went wrong. It is as tall as what it says; Return presses
// the focused or the main button, Escape closes it.
class UpdateWindow : public QWidget {
    Q_OBJECT

public:
    explicit UpdateWindow(Updater &updater, QWidget *parent = nullptr);

    void bringForward();

    QString headline() const;
    QString detail() const;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow();
    QString detailText() const;
    void fitToMessage();

    Updater &m_updater;
    QLabel *m_headline;
    QLabel *m_detail;
    QPlainTextEdit *m_notes;
    QProgressBar *m_progress;
    QPushButton *m_install;
    QPushButton *m_later;
    QPushButton *m_ok;
};
