#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;

// "名称変更": a point-cloud group's new name, checked against the other groups'
// display names on OK.
class CGroupRenameDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string name;                    // in: the display name; out: the checked name
        std::vector<std::string> otherNames; // display names of the other groups
    };
    explicit CGroupRenameDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }
    void accept() override;

private:
    Values m_values;
    QLineEdit* m_nameEdit = nullptr;
};
