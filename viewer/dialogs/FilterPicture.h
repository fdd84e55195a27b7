#pragma once

#include <QPushButton>

// The picture beside a filter's fields, drawn by us: points before and after the
// filter (picture 20001 grid, 20002 lowest in cell, 20003 highest in cell,
// 20004 outliers, 20005 neighbour radius), scaled smoothly to the button.
class FilterPicture : public QPushButton {
    Q_OBJECT
public:
    FilterPicture(int pictureId, QWidget* parent = nullptr);
    int PictureId() const { return m_pictureId; }
    void SetPictureId(int pictureId)
    {
        m_pictureId = pictureId;
        update();
    }
    QSize sizeHint() const override { return {180, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_pictureId;
};
