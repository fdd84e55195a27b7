#pragma once

#include <QTableWidget>

#include <vector>

struct ColorConf;

// The list of a gradation's stops: the level right-aligned in a 50-pixel cell,
// then the stop's colour over the rest of the row.
class CExColorListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CExColorListCtrl(QWidget* parent = nullptr);
    void Fill(const std::vector<ColorConf>& stops);
    //! The selected row, -1 without one.
    int SelectedRow() const;
    void SelectRow(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
