#pragma once

#include <QFileDialog>

#include <string>
#include <vector>

// The export command's save dialog: a new name may be typed; the command asks
// itself before an existing file is replaced.
class ExportFileDlg : public QFileDialog {
    Q_OBJECT
public:
    struct Values {
        std::string folder;                // where it opens
        std::vector<std::string> filters;  // as listed
        int filterIndex = 0;               // in and out
        std::string fileName;              // in: suggested; out: the whole path chosen
    };

    explicit ExportFileDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const;

private:
    Values m_values;
};
