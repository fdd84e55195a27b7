#pragma once

#include <QFont>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include "outside/OutsideTypes.h"

// One measurement hint: a frameless tool window of text lines beside a picked
// point. It never takes the focus; a wheel turned over it zooms the view.
class ToolTip : public QWidget {
public:
    //! anchor: screen point (logical pixels) the hint stands beside.
    ToolTip(const QStringList& lines, QPoint anchor, COLORREF textColour);

    //! Width (widest line + 20) and height (lines x (text height + 2) + 2) in the hint font.
    void Measure();
    //! Makes it a tool window of the owner's window.
    void CreatePopup(QWidget* owner);

    QStringList m_lines;
    QPoint m_anchor;
    int m_width = 0;
    int m_height = 0;
    COLORREF m_textColour;
    COLORREF m_background = 0xFFFFFF;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QFont m_font;
};
