// The search window's timer, bar and hiding: the bar steps to full in its
// fixed time, and closing the window hides it so the program goes on.

#include "mainwindow/Form2.h"

#include "mainwindow/core/ScanProgressBar.h"
#include "platform/gui/FormPlacement.h"
#include "ui_Unit2.h"

#include <QCloseEvent>
#include <cstdint>
#include <memory>

namespace mainwindow {
namespace {

constexpr int kFontPixels = 16;
constexpr double kOpacity = 200.0 / 255.0;
const QColor kMoneyGreen(192, 220, 192);

} // namespace

Form2::Form2(std::int32_t& guidePage, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::Form2>()),
      m_timer1(this)
{
    m_ui->setupUi(this);
    setFixedSize(size());

    // The form description can name the face but not a pixel height.
    platform::setPixelFont(this, kFontPixels);

    QPalette background = palette();
    background.setColor(QPalette::Window, kMoneyGreen);
    setPalette(background);
    setAutoFillBackground(true);
    setWindowOpacity(kOpacity);

    m_ui->Label1->adjustSize();

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kScanBarStepMilliseconds);
    connect(&m_timer1, &QTimer::timeout, this, &Form2::Timer1Timer);

    platform::centreOnDesktop(this);

    guidePage = 1;
    show();
}

Form2::~Form2() = default;

void Form2::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    FormShow();
}

void Form2::FormShow()
{
    // A bar that is already full stays full and idle.
    if (SearchBarPosition < kScanBarFull)
        m_timer1.start();
}

void Form2::closeEvent(QCloseEvent* e)
{
    // Hidden, not closed: a closed last window would end the program.
    e->ignore();
    hide();
}

void Form2::Timer1Timer()
{
    SearchBarPosition += kScanBarStep;
    m_ui->ProgressBar1->setValue(SearchBarPosition);
    if (SearchBarPosition >= kScanBarFull)
        m_timer1.stop();
}

} // namespace mainwindow
