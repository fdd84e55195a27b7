#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// "登録": the name of a new gradation setting, cut to 260 CP932 bytes and trimmed.
class CSettingRegisterDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string name;
    };

    explicit CSettingRegisterDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }
    void OnOk();

private:
    Values m_values;
    QLineEdit* m_name;
};
