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
        std::string title = "ファイル選択";   // the caller's caption
    };

    explicit FileSimpleDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

    //! "選択": refuses an empty name and a name with no file in the folder, else
    //! sets the result and closes with OK.
    void OnSelect();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fill();
    //! The time column as wide as its texts, the name column takes the rest of
    //! the list; only a shown list knows its width.
    void SizeColumns();
    Values m_values;
    QTreeWidget* m_list;
    QLineEdit* m_name;
};
