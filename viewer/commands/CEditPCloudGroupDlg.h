#pragma once

#include "outside/OutsideTypes.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class CColorButton;
class QRadioButton;

// "点群グループ化": where the selected points go (a new group by name, or one of
// the listed groups), with the group's memo text and colour.
class CEditPCloudGroupDlg : public QDialog {
    Q_OBJECT
public:
    struct ListedGroup {
        std::string displayName;
        std::string memo;
        COLORREF colour = 0;
    };
    struct Values {
        // In.
        std::vector<std::string> allDisplayNames;  // every group, listed or not
        std::vector<ListedGroup> listed;
        COLORREF newGroupColour = 0;
        int preferNewGroup = 1;  // the mode of the last registration
        // Out (also the new mode to remember).
        int newGroup = 1;
        std::string name;
        int listIndex = -1;
        std::string memo;
        COLORREF colour = 0;
    };

    explicit CEditPCloudGroupDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

    void accept() override;

private:
    void UpdateModeControls();
    void OnSelChangeGroupList();
    void OnColorButton();
    void UpdateOkButton();

    Values m_values;
    COLORREF m_colour = 0;
    COLORREF m_newColour = 0;
    int m_lastIndex = -1;
    QRadioButton* m_newRadio = nullptr;
    QRadioButton* m_existingRadio = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_memoEdit = nullptr;
    CColorButton* m_colourButton = nullptr;
    QPushButton* m_okButton = nullptr;
};
