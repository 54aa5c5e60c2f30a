#pragma once
// The Status window: a small always-on-top window that shows which table a
// load or save is working on and how far it has come. It is the program's
// ProgressSink.

#include "db/progress_sink.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

class Tfrm_pos : public QWidget, public rostradb::ProgressSink {
    Q_OBJECT
public:
    explicit Tfrm_pos(QWidget* parent = nullptr);

    // ProgressSink. A save calls setPosition and pumpEvents once per record,
    // a load once per block of records, so the values are kept here and
    // handed to the widgets, with one round of event processing, only every
    // ~15 ms, and always at show, hide and a new caption.
    void show() override;
    void hide() override;
    void setCaption(const std::string& caption) override;
    void setMaximum(std::int32_t maximum) override;
    void setPosition(std::int32_t position) override;
    void pumpEvents() override;
    void recordsDone(std::int32_t first, std::int32_t last) override;
    void unpositionedRecordsDone(std::int64_t records) override;

private:
    void centreOnScreen();
    // Hands the kept values to the widgets and lets Qt process what is
    // pending, then restarts the interval.
    void flushAndPump();

    QLabel* txt_what_;
    QProgressBar* psb_pos_;

    QString caption_;
    std::int32_t maximum_;
    std::int32_t position_;
    QElapsedTimer sinceFlush_;
};
