#include "viewer/dialogs/FileSimpleDlg.h"

#include "platform/MessageBox.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/ModelFileList.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

FileSimpleDlg::FileSimpleDlg(QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)), m_name(new QLineEdit(this))
{
    setWindowTitle("ファイル選択");
    DialogFont::Apply(this);
    m_list->setObjectName("22011");
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({"名前", "更新日時"});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionsMovable(true);
    // The name column, not the last one, takes the room the times leave.
    m_list->header()->setStretchLastSection(false);
    m_list->setUniformRowHeights(true);
    m_name->setObjectName("22010");
    auto* select = new QPushButton("選択", this);
    select->setObjectName("1");
    auto* cancel = new QPushButton("ｷｬﾝｾﾙ", this);
    cancel->setObjectName("2");

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 1, 4);
    layout->addWidget(new QLabel("ファイル名：", this), 1, 0);
    layout->addWidget(m_name, 1, 1, 1, 3);
    layout->addWidget(select, 2, 2);
    layout->addWidget(cancel, 2, 3);
    resize(520, 380);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        const auto items = m_list->selectedItems();
        m_name->setText(items.isEmpty() ? QString() : items.front()->text(0));
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnSelect(); });
    connect(select, &QPushButton::clicked, this, &FileSimpleDlg::OnSelect);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {select, cancel});
}

void FileSimpleDlg::SetValues(const Values& values)
{
    m_values = values;
    if (!values.title.empty())
        setWindowTitle(QString::fromStdString(values.title));
    Fill();
}

void FileSimpleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SizeColumns();
}

void FileSimpleDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isVisible())
        SizeColumns();
}

void FileSimpleDlg::SizeColumns()
{
    if (m_list->topLevelItemCount() == 0)
        return;
    m_list->resizeColumnToContents(1);
    // Laid out first: before that the list still has the size it was made with.
    if (QLayout* grid = layout())
        grid->activate();
    m_list->setColumnWidth(0, std::max(50, m_list->viewport()->width() - m_list->columnWidth(1)));
}

void FileSimpleDlg::Fill()
{
    m_list->clear();
    m_list->setColumnWidth(0, 200);
    m_list->setColumnWidth(1, 100);
    const auto entries = ModelFileList::List(m_values.folder, m_values.extension);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    int number = 0;
    for (const auto& entry : entries) {
        auto* item = new QTreeWidgetItem({QString::fromStdString(entry.title), QString::fromStdString(entry.timeText)});
        item->setData(0, Qt::UserRole, number++);
        items.push_back(item);
    }
    m_list->addTopLevelItems(items);
    if (isVisible())
        SizeColumns();
}

void FileSimpleDlg::OnSelect()
{
    const auto path = ModelFileList::ResultPath(m_values.folder, m_name->text().toStdString(), m_values.extension);
    if (!path) {
        tessara::MessageBox("ファイル名が指定されていません。", "制限", tessara::MB_ICONHAND, this);
        return;
    }
    const auto existing = ModelFileList::ExistingPath(m_values.folder, m_name->text().toStdString(), m_values.extension);
    if (!existing) {
        tessara::MessageBox("ファイルが見つかりません。\n" + *path, tessara::kDefaultMessageCaption,
                            tessara::MB_ICONHAND, this);
        m_name->setFocus(Qt::OtherFocusReason);
        m_name->selectAll();
        return;
    }
    m_values.result = *existing;
    accept();
}
