#include "hostfw/SheetDelegate.h"

#include "hostfw/CVSheet.h"
#include "hostfw/UiGuard.h"

#include <QComboBox>
#include <QLineEdit>

SheetDelegate::SheetDelegate(CVSheet& sheet, QObject* parent) : QStyledItemDelegate(parent), m_sheet(sheet) {}

QWidget* SheetDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const VstTemplate::Editor editor = m_sheet.EditorAt(index.row(), index.column());
    if (editor != VstTemplate::Editor::List && editor != VstTemplate::Editor::Switch &&
        editor != VstTemplate::Editor::Choice)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setEditable(editor == VstTemplate::Editor::List);
    const std::vector<std::string> entries =
        UiGuard(std::vector<std::string>(), [&] { return m_sheet.ListEntriesAt(index.row(), index.column()); });
    for (const std::string& entry : entries)
        combo->addItem(QString::fromStdString(entry));
    return combo;
}

void SheetDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        const int found = combo->findText(text);
        if (found >= 0)
            combo->setCurrentIndex(found);
        else if (combo->isEditable())
            combo->setEditText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void SheetDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int current = combo->currentIndex();
        const std::string text = combo->currentText().toStdString();
        UiGuard(false, [&] {
            if (current >= 0 && combo->currentText() == combo->itemText(current))
                return m_sheet.CommitList(index.row(), index.column(), current);
            return m_sheet.CommitEdit(index.row(), index.column(), text);
        });
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
