#pragma once

#include "viewer/dialogs/FilterDlgBase.h"

struct ViewSettings;

// "フィルター（外れ値）": the neighbour count and deviation factor of the outlier filter.
class VurOutRemoveDlg : public FilterDlgBase {
    Q_OBJECT
public:
    struct Values {
        int neighbourCount = 50;
        double standardDeviation = 1.0;

        static Values FromSettings(const ViewSettings& settings);
        void ToSettings(ViewSettings& settings) const;
    };

    explicit VurOutRemoveDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

protected:
    void ResetDefaults() override;
    void Store() override;

private:
    Values m_values;
    class CCustomIntEdit* m_count;
    class CCustomDblEdit* m_deviation;
};
