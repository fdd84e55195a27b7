#include "hostfw/SheetDelegate.h"

#include "hostfw/CVSheet.h"
#include "hostfw/UiGuard.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QStyle>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStringList>
#include <QWheelEvent>

namespace {

// The entries the sheet offered when the drop-down opened; the combo's own items may
// differ once a person has typed.
constexpr const char* kOfferedEntries = "sheetEntries";

QStringList OfferedEntries(const QComboBox& combo)
{
    return combo.property(kOfferedEntries).toStringList();
}

// The popup shows every entry whole, however narrow the cell is.
void WidenPopupToEntries(QComboBox& combo)
{
    QAbstractItemView* view = combo.view();
    int widest = 0;
    for (int i = 0; i < combo.count(); ++i)
        widest = std::max(widest, view->fontMetrics().horizontalAdvance(combo.itemText(i)));
    const int margins = 4 * view->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, view) +
                        2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 16;
    const int scrollBar = combo.count() > combo.maxVisibleItems() ? view->verticalScrollBar()->sizeHint().width() : 0;
    view->setMinimumWidth(widest + margins + scrollBar);
}

// A cell's drop-down. It tells a step through its entries on the closed box (arrow keys,
// a typed first letter, the wheel) from a pick in its open list.
class SheetComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool Stepping() const { return m_stepping; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QScopedValueRollback<bool> stepping(m_stepping, true);
        QComboBox::keyPressEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        const QScopedValueRollback<bool> stepping(m_stepping, true);
        QComboBox::wheelEvent(event);
    }

private:
    bool m_stepping = false;
};

} // namespace

SheetDelegate::SheetDelegate(CVSheet& sheet, QObject* parent) : QStyledItemDelegate(parent), m_sheet(sheet) {}

QWidget* SheetDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const VstTemplate::Editor editor = m_sheet.EditorAt(index.row(), index.column());
    if (editor != VstTemplate::Editor::List && editor != VstTemplate::Editor::Switch &&
        editor != VstTemplate::Editor::Choice)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new SheetComboBox(parent);
    combo->setEditable(editor == VstTemplate::Editor::List);
    // A typed text stays a typed text: Return must not turn it into a new entry the
    // sheet never offered.
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Nor is it completed to an entry behind the person's back: "全" stays "全".
    combo->setCompleter(nullptr);
    const std::vector<std::string> entries =
        UiGuard(std::vector<std::string>(), [&] { return m_sheet.ListEntriesAt(index.row(), index.column()); });
    QStringList offered;
    for (const std::string& entry : entries)
        offered << QString::fromStdString(entry);
    combo->addItems(offered);
    combo->setProperty(kOfferedEntries, offered);
    WidenPopupToEntries(*combo);
    // A pick applies at once: a switch unlocks or locks the cells it governs while the
    // person still looks at the grid. A switch's step on the closed box is a pick too (it
    // has two states); in a list or a choice a step only shows the entry, and Return, Tab
    // or leaving the cell chooses it, so that stepping from 1級 to 3級 asks the grade
    // question once, for the grade chosen.
    const bool stepPicks = editor == VstTemplate::Editor::Switch;
    connect(combo, &QComboBox::activated, this, [this, combo, stepPicks](int) {
        if (combo->Stepping() && !stepPicks)
            return;
        auto* self = const_cast<SheetDelegate*>(this);
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

void SheetDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        const int found = OfferedEntries(*combo).indexOf(text);
        combo->setCurrentIndex(found);
        if (found < 0 && combo->isEditable())
            combo->setEditText(text);
        // A stored value the list does not hold (a grade 9 from an old part) stays shown
        // and no entry stands chosen: a Return without a pick keeps the value.
        if (found < 0 && !combo->isEditable())
            combo->setPlaceholderText(index.data(Qt::DisplayRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void SheetDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // An entry the sheet offered goes through its list hook; any other text, typed
        // into an editable drop-down, is stored as typed.
        const QString text = combo->currentText();
        const QStringList offered = OfferedEntries(*combo);
        const int current = combo->currentIndex();
        const bool chosen = current >= 0 && current < offered.size() && offered[current] == text;
        if (!chosen && !combo->isEditable())
            return;
        UiGuard(false, [&] {
            if (chosen)
                return m_sheet.CommitList(index.row(), index.column(), current);
            return m_sheet.CommitEdit(index.row(), index.column(), text.toStdString());
        });
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

bool SheetDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor == nullptr || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return QStyledItemDelegate::eventFilter(object, event);
    // An open drop-down list takes its own Return (the pick).
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo != nullptr && combo->view()->isVisible())
        return QStyledItemDelegate::eventFilter(object, event);
    emit commitData(editor);
    if (!m_sheet.InputRefused())
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}
