#pragma once

#include <QWidget>

class AppModel;

// The content of "All Notes": the library, and over it the first-run welcome while it is pending.
// The welcome is a sheet with no way to close it (no button, Escape or click beside it does): it goes
// when its own last step finishes the welcome. The library underneath takes no input meanwhile.
class LibraryRoot : public QWidget {
    Q_OBJECT

public:
    explicit LibraryRoot(AppModel &model, QWidget *parent = nullptr);

    QWidget *library() const { return m_library; }
    // None while no welcome is pending.
    QWidget *welcomeSheet() const { return m_sheet; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void followWelcome();

    AppModel &m_model;
    QWidget *m_library;
    QWidget *m_sheet = nullptr;
};
