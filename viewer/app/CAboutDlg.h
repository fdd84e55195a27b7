#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QRadioButton;
class QStackedLayout;

// The About box: usage agreement and the licence notices of the libraries this
// build links, and whether the box opens by itself at start-up ("psKeyLicenseView").
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    //! The licence notices: one block per linked library.
    static QString LicenceText();
    static QString AgreementText();

    QCheckBox* StartupCheck() const { return m_startupCheck; }
    QPlainTextEdit* AgreementEdit() const { return m_agreement; }
    QPlainTextEdit* LicenceEdit() const { return m_licence; }
    QRadioButton* AgreementRadio() const { return m_agreementRadio; }
    QRadioButton* LicenceRadio() const { return m_licenceRadio; }

    void OnAgreementRadio();
    void OnLicenseRadio();
    //! Writes "psKeyLicenseView" from the check box, then closes with OK.
    void accept() override;

private:
    QCheckBox* m_startupCheck = nullptr;
    QPlainTextEdit* m_agreement = nullptr;
    QPlainTextEdit* m_licence = nullptr;
    QRadioButton* m_agreementRadio = nullptr;
    QRadioButton* m_licenceRadio = nullptr;
    QStackedLayout* m_pages = nullptr;
};

//! Runs the About box modally.
void ShowAboutDialog();
