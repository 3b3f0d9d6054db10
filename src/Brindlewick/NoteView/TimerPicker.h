#pragma once

#include <QUuid>
#include <QWidget>
#include <functional>

class AppModel;
class PrimaryButton;
class QSpinBox;
class QuietButton;

// Gives a note a timer: preset chips that set and start one at once, or hours and minutes with
// "Start"; "Remove Timer" while the note has one. Every button calls the model, then `close`.
class TimerPicker : public QWidget {
    Q_OBJECT
public:
    // Preset lengths in minutes, in the order the chips show them.
    static constexpr int presets[] = {1, 3, 5, 10, 15, 25, 30, 45, 60, 90, 120};

    TimerPicker(AppModel &model, const QUuid &id, std::function<void()> close, QWidget *parent = nullptr);

    int hours() const;
    int minutes() const;
    QSpinBox *hoursBox() const { return m_hours; }
    QSpinBox *minutesBox() const { return m_minutes; }
    PrimaryButton *startButton() const { return m_start; }
    // None while the note has no timer.
    QuietButton *removeButton() const { return m_remove; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makePresets();
    QWidget *makeLengthRow();
    QWidget *makeButtonRow(bool hasTimer);
    // "Start" asks for no timer of no length.
    void enableStart();
    void start(double seconds);
    void startFreeLength();

    AppModel &m_model;
    QUuid m_id;
    std::function<void()> m_close;
    QSpinBox *m_hours = nullptr;
    QSpinBox *m_minutes = nullptr;
    PrimaryButton *m_start = nullptr;
    QuietButton *m_remove = nullptr;
};
