#pragma once

#include <QFont>
#include <QWidget>

#include <vector>

#include "outside/CGradationSetting.h"
#include "outside/OutsideTypes.h"
#include "outside/StoreMarkers.h"

// One legend pop-up: a frameless tool window over the view's top right that
// paints the slope, elevation or intensity legend and never takes the focus.
class MessagePaint : public QWidget {
public:
    enum Kind : int { kSlope = 0, kElevation = 1, kIntensity = 2 };

    explicit MessagePaint(COLORREF background);

    //! Makes it a tool window of the owner's window, at its size, shown without
    //! activation.
    void Create(QWidget* owner);

    int m_width = 100;
    int m_height = 140;
    COLORREF m_background;
    int m_kind = kSlope;
    double m_top = kUnsetDouble;
    double m_bottom = kUnsetDouble;
    int m_colourSet = 0;
    std::vector<ColorConf> m_stops;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_font;
};
