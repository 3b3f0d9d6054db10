#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

// The kit's settings pane, made without arguments: its own "Updates" section with the version, the
// automatic-update toggle, one sentence of explanation, the status of the last check and "Check Now",
// drawn in the colours of the window it is placed in. It follows the kit's updater; whoever places it
// reads and writes none of its state.
class UpdateSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit UpdateSettingsView(QWidget *parent = nullptr);

    QString statusLine() const;
    QString explanation() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void follow();
    void tint();

    QLabel *m_heading;
    QCheckBox *m_automatic;
    QLabel *m_explanation;
    QLabel *m_status;
    QPushButton *m_checkNow;
};
