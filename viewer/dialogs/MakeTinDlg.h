#pragma once

#include "viewer/dialogs/TinOptionControls.h"

#include <QDialog>

#include <string>

struct ViewSettings;

// "TIN作成": confirms a TIN generation and edits its options.
class MakeTinDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string text;  // the caller's confirmation text
        TinOptionControls::State options;

        static Values FromSettings(const ViewSettings& settings, std::string text);
        void ToSettings(ViewSettings& settings) const;
    };

    explicit MakeTinDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

private:
    Values m_values;
    class CCustomStatic* m_text;
    TinOptionControls* m_options;
};
