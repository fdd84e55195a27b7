#pragma once

#include <QPoint>
#include <QWheelEvent>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "viewer/render/FrameClock.h"

// A clock that reads what the test set.
class ManualClock final : public FrameClock {
public:
    explicit ManualClock(std::int64_t start) : now(start) {}
    std::int64_t NowMs() override { return now; }
    std::int64_t now;
};

// A stand-in for the main view that records the wheel events it gets.
class WheelRecordingView : public QWidget {
public:
    using QWidget::QWidget;
    struct Wheel {
        QPointF position;
        QPoint angleDelta;
    };
    std::vector<Wheel> wheels;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        wheels.push_back({event->position(), event->angleDelta()});
        event->accept();
    }
};
