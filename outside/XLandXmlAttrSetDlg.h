#pragma once

#include "outside/LxData.h"

#include <QDialog>

#include <array>

class QLineEdit;

// The LandXML attribute dialog: edits the project, application and coordinate
// records. The texts are cut to what the records hold and the datum difference is
// read in the C locale when the user confirms (LandXmlAttrRules).
class XLandXmlAttrSetDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        LxDATA_Project project;
        LxDATA_Application application;
        LxDATA_Coordinate coordinate;
    };

    explicit XLandXmlAttrSetDlg(QWidget* parent = nullptr);

    void SetValues(const Values& values);
    Values GetValues() const;

    //! Shows the dialog modally on the records; they change only when the user
    //! confirms. Non-zero on OK, 0 on cancel.
    static int Run(LxDATA_Project& project, LxDATA_Application& application, LxDATA_Coordinate& coordinate,
                   QWidget* parent = nullptr);

    void accept() override;

private:
    static constexpr int kTextFields = 14;
    std::array<QLineEdit*, kTextFields> m_texts{};
    QLineEdit* m_differTP = nullptr;
    Values m_values;
};
