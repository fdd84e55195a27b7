#pragma once

#include "viewer/dialogs/FilterDlgBase.h"

#include <array>

struct ViewSettings;

// "フィルター（グリッド）": the cell sizes of the grid filters. Kind 0 is the
// plain grid, 1 the lowest point per cell, 2 the highest; the two height kinds
// take no LZ (the stored one passes through).
class VurGridDlg : public FilterDlgBase {
    Q_OBJECT
public:
    struct Values {
        int kind = 0;
        std::array<double, 3> cellM{0.5, 0.5, 0.5};

        static Values FromSettings(const ViewSettings& settings, int kind);
        void ToSettings(ViewSettings& settings) const;
    };
    static constexpr double kDefaultCellM = 0.5;

    explicit VurGridDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

protected:
    void ResetDefaults() override;
    void Store() override;

private:
    Values m_values;
    std::array<class CCustomDblEdit*, 3> m_edits{};
    std::array<class ArrowPair*, 3> m_arrows{};
    class FilterPicture* m_picture;
};
