#pragma once

#include "outside/OutsideTypes.h"

#include <QDialog>

#include <string>
#include <vector>

class CColorButton;
class QLineEdit;

// "点群グループプロパティ": name, remark and colour of a point-cloud group.
class CGroupPropDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string name;   // in: the display name; out: the checked name
        std::string remark; // out: cut to 255 bytes and trimmed
        COLORREF colour = 0;
        std::vector<std::string> otherNames;
    };
    explicit CGroupPropDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }
    void accept() override;

private:
    void OnColorButton();

    Values m_values;
    COLORREF m_colour = 0;
    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_remarkEdit = nullptr;
    CColorButton* m_colourButton = nullptr;
};
