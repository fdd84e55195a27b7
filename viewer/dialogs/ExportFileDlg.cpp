#include "viewer/dialogs/ExportFileDlg.h"

#include "viewer/dialogs/DialogFont.h"

ExportFileDlg::ExportFileDlg(QWidget* parent) : QFileDialog(parent)
{
    setWindowTitle("名前を付けて保存");
    DialogFont::Apply(this);
    // Our own dialog on every desktop, so that a new name can always be typed and
    // the overwrite question goes through the program's message boxes.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
}

void ExportFileDlg::SetValues(const Values& values)
{
    m_values = values;
    QStringList filters;
    for (const std::string& f : values.filters)
        filters << QString::fromStdString(f);
    setNameFilters(filters);
    if (values.filterIndex >= 0 && values.filterIndex < filters.size())
        selectNameFilter(filters[values.filterIndex]);
    if (!values.folder.empty())
        setDirectory(QString::fromStdString(values.folder));
    if (!values.fileName.empty())
        selectFile(QString::fromStdString(values.fileName));
}

ExportFileDlg::Values ExportFileDlg::GetValues() const
{
    Values v = m_values;
    const QStringList chosen = selectedFiles();
    v.fileName = chosen.isEmpty() ? std::string() : chosen.front().toStdString();
    const int index = nameFilters().indexOf(selectedNameFilter());
    if (index >= 0)
        v.filterIndex = index;
    return v;
}
