#pragma once

#include "viewer/dialogs/FilterDlgBase.h"

struct ViewSettings;

// "フィルター（隣接要素）": the radius and the neighbour count of the radius filter.
class VurRadiusDlg : public FilterDlgBase {
    Q_OBJECT
public:
    struct Values {
        double radiusM = 0.8;
        int minimumPoints = 2;

        static Values FromSettings(const ViewSettings& settings);
        void ToSettings(ViewSettings& settings) const;
    };

    explicit VurRadiusDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

protected:
    void ResetDefaults() override;
    void Store() override;

private:
    Values m_values;
    class CCustomDblEdit* m_radius;
    class CCustomIntEdit* m_count;
};
