#pragma once

#include <QDialog>
#include <QString>

class CCustomDblEdit;
class CCustomIntEdit;
class QGridLayout;
class QPushButton;

// The look and keys the three point filter dialogs share: a white header with
// the information icon and a description, the filter's picture on the left, the
// fields with their arrows on the right, "初期値", OK and キャンセル. Enter moves
// to the next field (Shift+Enter back) and never closes the dialog; OK first
// takes the text of the field that has the focus.
class FilterDlgBase : public QDialog {
    Q_OBJECT
public:
    static constexpr double kDecimalStep = 0.1;

protected:
    FilterDlgBase(QWidget* parent, const QString& title, const QString& description, int pictureId);

    CCustomDblEdit* AddDoubleField(int editId, int arrowsId, const QString& label, const QString& unit,
                                   const QString& caption);
    CCustomIntEdit* AddIntField(int editId, int arrowsId, const QString& label, const QString& unit,
                                const QString& caption);
    //! Call at the end of the subclass's constructor.
    void FinishLayout();

    virtual void ResetDefaults() = 0;
    virtual void Store() = 0;

private:
    void OnOk();
    void PlaceField(QWidget* edit, QWidget* arrows, const QString& label, const QString& unit,
                    const QString& caption);
    QGridLayout* m_fields;
    int m_rows = 0;
};
