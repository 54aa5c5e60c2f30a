#include "progress/rostradbpos.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace {

// How long a pass may go between two rounds of event processing. Short
// enough that the bar moves smoothly and the main window keeps answering,
// long enough that a load of some 300,000 records spends its time loading:
// a repaint of the bar costs far more than reading a record.
constexpr qint64 kFlushIntervalMs = 15;

} // namespace

// A tool window with a title only: no system menu, close, minimise or
// maximise button, so the user cannot close it under a running pass, and it
// stays above the main window, which remains usable (the window is not modal).
Tfrm_pos::Tfrm_pos(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      txt_what_(new QLabel(this)),
      psb_pos_(new QProgressBar(this)),
      caption_(QStringLiteral("txt_what")),
      maximum_(100),
      position_(0)
{
    setObjectName(QStringLiteral("frm_pos"));
    setWindowTitle(QStringLiteral("Status"));
    setFixedSize(274, 50);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    txt_what_->setObjectName(QStringLiteral("txt_what"));
    txt_what_->setGeometry(8, 8, 257, 17);
    txt_what_->setAlignment(Qt::AlignCenter);
    txt_what_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    txt_what_->setText(caption_);

    psb_pos_->setObjectName(QStringLiteral("psb_pos"));
    psb_pos_->setGeometry(8, 32, 257, 13);
    psb_pos_->setRange(0, maximum_);
    psb_pos_->setValue(position_);
    // A 13-pixel bar has no room for a legible percentage.
    psb_pos_->setTextVisible(false);

    sinceFlush_.start();
}

void Tfrm_pos::show()
{
    // Centred before showing so it appears in place, and again afterwards,
    // for the first showing, when the size of the title bar and border may
    // only be known once the window exists.
    centreOnScreen();
    QWidget::show();
    centreOnScreen();
    flushAndPump();
}

void Tfrm_pos::hide()
{
    // The widgets still take the pass's last values, so the window is left,
    // and reappears, showing where the pass finished.
    QWidget::hide();
    flushAndPump();
}

void Tfrm_pos::setCaption(const std::string& caption)
{
    caption_ = QString::fromStdString(caption);
    flushAndPump();
}

void Tfrm_pos::setMaximum(std::int32_t maximum)
{
    maximum_ = maximum;
}

void Tfrm_pos::setPosition(std::int32_t position)
{
    position_ = position;
}

void Tfrm_pos::pumpEvents()
{
    // Called once per record: when the interval has not run out, this check
    // is all it costs.
    if (sinceFlush_.hasExpired(kFlushIntervalMs))
        flushAndPump();
}

// A block of records: the bar takes the last one, the clock is looked at once.
void Tfrm_pos::recordsDone(std::int32_t /*first*/, std::int32_t last)
{
    position_ = last;
    pumpEvents();
}

void Tfrm_pos::unpositionedRecordsDone(std::int64_t /*records*/) { pumpEvents(); }

void Tfrm_pos::centreOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(0, 0), frameGeometry().size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void Tfrm_pos::flushAndPump()
{
    txt_what_->setText(caption_);
    // The range first: QProgressBar ignores a value outside its current range.
    if (psb_pos_->maximum() != maximum_)
        psb_pos_->setRange(0, maximum_);
    psb_pos_->setValue(position_);
    // Processes what is pending now and returns; it never waits for more.
    QCoreApplication::processEvents();
    sinceFlush_.restart();
}
