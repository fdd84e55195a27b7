#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QTreeWidget;

// "ファイル選択": the model files of one folder with their update times; answers
// the full path of the chosen (or typed) name.
class FileSimpleDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string folder;            // ends with '/'
        std::string extension = "tpf"; // without the point
        std::string result;            // the chosen path after OK
    };

    explicit FileSimpleDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

    //! "選択": refuses an empty name, else sets the result and closes with OK.
    void OnSelect();

private:
    void Fill();
    Values m_values;
    QTreeWidget* m_list;
    QLineEdit* m_name;
};
