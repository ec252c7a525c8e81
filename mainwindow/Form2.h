#pragma once
// The small search window that stands alone in the middle of the screen while
// the start-up scan runs, with a bar that fills in a fixed 2500 ms.

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace Ui {
class Form2;
}

namespace mainwindow {

class Form2 : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form2)

public:
    // Sets the main window's page state to 1 (start-up scan pending) and
    // shows itself, centred on the desktop.
    explicit Form2(std::int32_t& guidePage, QWidget* parent = nullptr);
    ~Form2() override;

    int searchBarPosition() const { return SearchBarPosition; }
    QTimer* Timer1() { return &m_timer1; }

    // Showing starts the bar's steps.
    void FormShow();
    // One step of the bar: +2 until it is full at 100, then the timer stops.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;
    // A close request only hides the window; the search goes on.
    void closeEvent(QCloseEvent* e) override;

private:
    std::unique_ptr<Ui::Form2> m_ui;
    QTimer m_timer1;
    std::int32_t SearchBarPosition = 0; // never reset: the bar runs once per run
};

} // namespace mainwindow
