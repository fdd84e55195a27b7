#include "viewer/grouppane/CGroupView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/GroupRegistration.h"
#include "viewer/commands/SceneCounters.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/grouppane/CGroupPropDlg.h"
#include "viewer/grouppane/CGroupRenameDlg.h"
#include "viewer/grouppane/GroupChecks.h"
#include "viewer/grouppane/GroupEdits.h"
#include "viewer/grouppane/GroupImages.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/ShellHooks.h"

#include <QAction>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <mutex>
#include <set>

using grouptree::NodeKey;
using grouptree::NodeKind;

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kGroupRole = Qt::UserRole + 1;
constexpr int kSlotRole = Qt::UserRole + 2;
constexpr int kCheckedRole = Qt::UserRole + 3;

QColor FromColorRef(COLORREF c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

struct PanelFill {
    bool group = false;
    std::string name, remark, element;
    COLORREF colour = 0;
};

} // namespace

CViewTree::CViewTree(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("groupTree");
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setUniformRowHeights(true);
}

CGroupToolBar::CGroupToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName("groupToolBar");
    setIconSize(QSize(16, 15));
    setMovable(false);
}

CElidedLabel::CElidedLabel(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void CElidedLabel::SetFullText(const QString& text)
{
    m_full = text;
    setToolTip(text);
    Elide();
}

QSize CElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QSize CElidedLabel::sizeHint() const
{
    return {0, QLabel::sizeHint().height()};
}

void CElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Elide();
}

void CElidedLabel::Elide()
{
    const QString shown = fontMetrics().elidedText(m_full, Qt::ElideRight, contentsRect().width());
    if (text() != shown)
        setText(shown);
}

CGroupInfoDlg::CGroupInfoDlg(QWidget* parent) : QWidget(parent)
{
    setObjectName("groupInfo");
    auto* form = new QFormLayout(this);
    form->setContentsMargins(4, 4, 4, 4);
    // A long name or remark is cut in the panel, never widening the pane.
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_name = new CElidedLabel(this);
    m_remark = new CElidedLabel(this);
    m_colour = new QPushButton(this);
    m_colour->setObjectName("groupColour");
    m_colour->setFixedSize(40, 18);
    m_element = new CElidedLabel(this);
    form->addRow("グループ名：", m_name);
    form->addRow("備考：", m_remark);
    form->addRow("グループ色：", m_colour);
    form->addRow("要素名：", m_element);
    connect(m_colour, &QPushButton::clicked, this, &CGroupInfoDlg::OnColorButton);
    Clear();
}

void CGroupInfoDlg::OnColorButton()
{
    if (const auto chosen = ChooseColor(m_shownColour, this)) {
        m_shownColour = *chosen;
        m_colour->setStyleSheet(QString("background-color: %1").arg(FromColorRef(*chosen).name()));
        emit ColourChosen(*chosen);
    }
}

void CGroupInfoDlg::ShowGroup(const std::string& name, const std::string& remark, COLORREF colourRef, const std::string& element)
{
    m_shownColour = colourRef;
    const QColor colour = FromColorRef(colourRef);
    m_colour->setEnabled(true);
    m_name->SetFullText(QString::fromStdString(name));
    m_remark->SetFullText(QString::fromStdString(remark));
    m_element->SetFullText(QString::fromStdString(element));
    m_colour->setStyleSheet(QString("background-color: %1").arg(colour.name()));
}

void CGroupInfoDlg::Clear()
{
    m_name->SetFullText({});
    m_remark->SetFullText({});
    m_element->SetFullText({});
    m_colour->setEnabled(false);
    m_colour->setStyleSheet({});
}

QString CGroupInfoDlg::NameText() const { return m_name->FullText(); }
QString CGroupInfoDlg::RemarkText() const { return m_remark->FullText(); }
QString CGroupInfoDlg::ElementText() const { return m_element->FullText(); }
bool CGroupInfoDlg::ColourEnabled() const { return m_colour->isEnabled(); }

QIcon CGroupView::ImageOf(int image) const
{
    return image >= 0 && static_cast<std::size_t>(image) < m_images.size() ? m_images[static_cast<std::size_t>(image)] : QIcon();
}

CGroupView::CGroupView(ViewFinder activeView, QWidget* parent) : QWidget(parent), m_activeView(std::move(activeView))
{
    setObjectName("groupView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int depth = QGuiApplication::primaryScreen() != nullptr ? QGuiApplication::primaryScreen()->depth() : 32;
    m_images = grouppane::ImageList(grouppane::TreeImageBitmap(depth));
    const std::vector<QIcon> buttons = grouppane::ImageList(grouppane::ToolBarImageBitmap(depth));
    m_toolBar = new CGroupToolBar(this);
    QAction* showAll = m_toolBar->addAction(buttons[0], "グループ全表示");
    showAll->setStatusTip("全てのグループを表示状態に切り替えます。");
    connect(showAll, &QAction::triggered, this, [this] { OnCommand(grouppane::kGroupShowAll); });
    QAction* hideAll = m_toolBar->addAction(buttons[1], "グループ全非表示");
    hideAll->setStatusTip("全てのグループを非表示状態に切り替えます。");
    connect(hideAll, &QAction::triggered, this, [this] { OnCommand(grouppane::kGroupHideAll); });
    m_info = new CGroupInfoDlg(this);
    m_tree = new CViewTree(this);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_info);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CGroupView::OnItemChanged);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { OnTreeSelChanged(); });
    connect(m_info, &CGroupInfoDlg::ColourChosen, this, &CGroupView::OnGroupColorChanged);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowContextMenu(m_tree->viewport()->mapToGlobal(pos)); });
    // The root is there from the start.
    CModelDataMng empty;
    RebuildTree(empty);
}

CGroupView::~CGroupView()
{
    if (m_hooksInstalled) {
        ShellHooks::Instance().refreshGroupTree = nullptr;
        ShellHooks::Instance().removeGroupTreeItems = nullptr;
    }
}

void CGroupView::InstallHooks()
{
    m_hooksInstalled = true;
    // The view calls these with its lock held (a frame's start or a command's span).
    ShellHooks::Instance().refreshGroupTree = [this] {
        if (CModelViewerView* view = m_activeView ? m_activeView() : nullptr)
            RebuildLocked(*view);
    };
    ShellHooks::Instance().removeGroupTreeItems = [this](const std::vector<std::int64_t>& groups) {
        if (CModelViewerView* view = m_activeView ? m_activeView() : nullptr)
            if (view->ViewMutex().HeldByThisThread())
                RemoveGroupTreeItems(view->ModelStore(), groups);
    };
}

void CGroupView::RebuildLocked(CModelViewerView& view)
{
    if (view.ViewMutex().HeldByThisThread()) {
        RebuildTree(view.ModelStore());
        return;
    }
    std::unique_lock lock(view.ViewMutex(), std::try_to_lock);
    if (lock.owns_lock())
        RebuildTree(view.ModelStore());
}

CGroupView::MapKey CGroupView::ToMap(const NodeKey& key) { return {static_cast<int>(key.kind), key.group, key.slot}; }

NodeKey CGroupView::KeyOf(const QTreeWidgetItem* item)
{
    return NodeKey{static_cast<NodeKind>(item->data(0, kKindRole).toInt()), item->data(0, kGroupRole).toULongLong(),
                   item->data(0, kSlotRole).toInt()};
}

QTreeWidgetItem* CGroupView::ItemOf(const NodeKey& key) const
{
    const auto it = m_items.find(ToMap(key));
    return it == m_items.end() ? nullptr : it->second;
}

void CGroupView::SetChecked(QTreeWidgetItem* item, bool checked)
{
    const QSignalBlocker block(m_tree);
    item->setData(0, kCheckedRole, checked);
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    if (item->checkState(0) != state)
        item->setCheckState(0, state);
}

void CGroupView::RebuildTree(CModelDataMng& store)
{
    const std::vector<grouptree::PlanNode> plan = grouptree::PlanTree(store);
    std::map<std::uint64_t, COLORREF> colours;
    for (const auto& g : store.m_groups)
        if (g)
            colours[grouptree::PeekGroupId(*g)] = g->m_nColor;

    const QSignalBlocker block(m_tree);
    std::set<MapKey> seen;
    std::map<MapKey, int> nextChild;  // per parent: position of the next child
    bool structureChanged = false;
    for (const grouptree::PlanNode& node : plan) {
        const MapKey key = ToMap(node.key);
        seen.insert(key);
        const bool isRoot = node.key.kind == NodeKind::Root;
        QTreeWidgetItem* parent = isRoot ? nullptr : ItemOf(node.parent);
        const int position = isRoot ? 0 : nextChild[ToMap(node.parent)]++;
        QTreeWidgetItem* item = ItemOf(node.key);
        const bool inserted = item == nullptr;
        if (inserted) {
            item = new QTreeWidgetItem;
            item->setData(0, kKindRole, static_cast<int>(node.key.kind));
            item->setData(0, kGroupRole, QVariant::fromValue<qulonglong>(node.key.group));
            item->setData(0, kSlotRole, node.key.slot);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setIcon(0, ImageOf(node.image));
            if (node.bold) {
                QFont font = item->font(0);
                font.setBold(true);
                item->setFont(0, font);
            }
            if (isRoot)
                m_tree->insertTopLevelItem(0, item);
            else
                parent->insertChild(position, item);
            m_items[key] = item;
            structureChanged = true;
        } else if (!isRoot && parent->indexOfChild(item) != position) {
            parent->removeChild(item);
            parent->insertChild(position, item);
        }
        // The tree cuts a long name at its edge; the tooltip holds all of it.
        const QString text = QString::fromStdString(node.text);
        if (item->text(0) != text) {
            item->setText(0, text);
            item->setToolTip(0, text);
        }
        if (node.key.kind == NodeKind::Group) {
            const QColor colour = FromColorRef(colours[node.key.group]);
            if (item->data(0, Qt::DecorationRole).value<QIcon>().cacheKey() == 0 || item->data(0, Qt::UserRole + 4).value<QColor>() != colour) {
                item->setIcon(0, grouppane::GroupImageWithSwatch(ImageOf(node.image), colour));
                item->setData(0, Qt::UserRole + 4, colour);
            }
        }
        SetChecked(item, node.checked);
        if (inserted && !isRoot && node.parent.kind == NodeKind::Root)
            item->setExpanded(true);
    }
    // Items whose data is gone: the outermost go, taking their children.
    std::vector<QTreeWidgetItem*> gone;
    for (auto it = m_items.begin(); it != m_items.end();) {
        if (seen.count(it->first) == 0) {
            gone.push_back(it->second);
            it = m_items.erase(it);
        } else {
            ++it;
        }
    }
    const std::set<QTreeWidgetItem*> goneSet(gone.begin(), gone.end());
    bool clearedSelection = false;
    std::vector<QTreeWidgetItem*> outermost;  // found before any is deleted
    for (QTreeWidgetItem* item : gone)
        if (goneSet.count(item->parent()) == 0)
            outermost.push_back(item);
    if (goneSet.count(m_tree->currentItem()) != 0)
        clearedSelection = true;
    for (QTreeWidgetItem* item : outermost)
        delete item;
    if (!gone.empty() || structureChanged)
        m_tree->topLevelItem(0)->setExpanded(true);
    if (clearedSelection)
        m_info->Clear();
}

void CGroupView::RemoveGroupTreeItems(CModelDataMng& store, const std::vector<std::int64_t>& groups)
{
    const QSignalBlocker block(m_tree);
    for (std::int64_t i : groups) {
        CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr || grouptree::PeekGroupId(*g) == 0)
            continue;
        const std::uint64_t id = grouptree::PeekGroupId(*g);
        for (NodeKind kind : {NodeKind::GroupPoints, NodeKind::GroupTin, NodeKind::Group}) {
            const auto it = m_items.find(ToMap(NodeKey{kind, id, 0}));
            if (it == m_items.end())
                continue;
            if (m_tree->currentItem() == it->second)
                m_info->Clear();
            delete it->second;  // children before their group
            m_items.erase(it);
        }
    }
}

std::optional<NodeKey> CGroupView::SelectedKey() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return std::nullopt;
    return KeyOf(item);
}

void CGroupView::SelectNode(const NodeKey& key)
{
    if (QTreeWidgetItem* item = ItemOf(key)) {
        m_tree->setCurrentItem(item);
        OnTreeSelChanged();
    }
}

void CGroupView::OnTreeSelChanged()
{
    const std::optional<NodeKey> key = SelectedKey();
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (!key || view == nullptr ||
        (key->kind != NodeKind::Group && key->kind != NodeKind::GroupPoints && key->kind != NodeKind::GroupTin)) {
        m_info->Clear();
        return;
    }
    const PanelFill fill = view->ReadStore(
        [&](CModelDataMng& store) {
            PanelFill f;
            const CPCloudMng* g = store.GetGroup(grouptree::FindGroup(store, key->group));
            if (g == nullptr)
                return f;
            f.group = true;
            f.name = g->m_name;
            f.remark = g->m_memo;
            f.colour = g->m_nColor;
            if (key->kind == NodeKind::GroupPoints)
                f.element = "点 (" + FormatThousands(g->GetCloudPointSize()) + ")";
            else if (key->kind == NodeKind::GroupTin)
                f.element = "TIN (" + FormatThousands(g->GetTriangleCount()) + ")";
            return f;
        },
        PanelFill{});
    if (fill.group)
        m_info->ShowGroup(fill.name, fill.remark, fill.colour, fill.element);
    else
        m_info->Clear();
}

void CGroupView::OnItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != 0 || item == nullptr)
        return;
    const bool checked = item->checkState(0) == Qt::Checked;
    if (item->data(0, kCheckedRole).toBool() == checked)
        return;  // not the box
    item->setData(0, kCheckedRole, checked);
    m_tree->setCurrentItem(item);
    // Handled once the click is over: the handler may rebuild the tree, and the item
    // that signalled must not be deleted under its own signal. The key is looked up
    // again then.
    const NodeKey key = KeyOf(item);
    QMetaObject::invokeMethod(this, [this, key, checked] { OnTreeCheckChanged(key, checked); }, Qt::QueuedConnection);
}

void CGroupView::OnTreeCheckChanged(const NodeKey& key, bool checked)
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr)
        return;
    grouptree::CheckOutcome outcome;
    view->CancelRefinement();
    {
        std::unique_lock lock(view->ViewMutex());
        ViewSettings& settings = view->Settings();
        grouptree::CheckView cv;
        cv.pointColorMode = view->m_pointColourMode;
        cv.tinPictureMode = settings.tinPictureMode;
        cv.cadSwitch = settings.cadSwitch != 0;
        cv.partSwitch = settings.partSwitch != 0;
        const CModelDataMng& store = view->ModelStore();
        for (std::int64_t i : view->BuffersState().selectedCadElements)
            if (i >= 0 && static_cast<std::size_t>(i) < store.m_elmList.size())
                cv.selectedCadKinds.push_back(store.m_elmList[static_cast<std::size_t>(i)].m_nKind);
        outcome = grouptree::ApplyCheck(view->ModelStore(), key, checked, cv);
        view->m_pointColourMode = static_cast<short>(cv.pointColorMode);
        settings.tinPictureMode = cv.tinPictureMode;
        settings.cadSwitch = cv.cadSwitch ? 1 : 0;
        settings.partSwitch = cv.partSwitch ? 1 : 0;
        if (outcome.clearPicked)
            view->ClearPickedList();
        if (outcome.clearCadSelection)
            view->ClearSelection();
    }
    for (const NodeKey& parent : outcome.alsoChecked)
        if (QTreeWidgetItem* item = ItemOf(parent))
            SetChecked(item, true);
    if (!outcome.applied)
        RebuildLocked(*view);  // the object went meanwhile: show what is there
    view->InvalidateScene();
    UpdateLegends(*view);
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::SetAllChecks(bool shown)
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr)
        return;
    view->CancelRefinement();
    {
        std::unique_lock lock(view->ViewMutex());
        grouptree::SetAllFlags(view->ModelStore(), shown);
        // Boxes of every node, collapsed branches included, follow the flags.
        RebuildTree(view->ModelStore());
    }
    view->InvalidateScene();
    if (!shown)
        view->ClearPickedList();
    UpdateLegends(*view);
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::OnGroupDelete()
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    const std::optional<NodeKey> key = SelectedKey();
    if (view == nullptr || !key)
        return;
    if (key->kind == NodeKind::Root) {
        view->DeleteAllData();
        UpdateLegends(*view);
        RefreshViewAfterGroupEdit(*view);
        return;
    }
    if (tessara::MessageBox(grouppane::kDeleteQuestion, tessara::kDefaultMessageCaption,
                            tessara::MB_YESNO | tessara::MB_ICONSTOP, this) != tessara::IDYES) {
        m_tree->setFocus();
        return;
    }
    FrameLink* frame = FrameLink::Main();
    if (frame != nullptr)
        frame->SetStatusText(grouppane::kPleaseWait);
    view->CancelRefinement();
    const std::optional<std::uint16_t> flags = grouptree::DeleteSnapshotFlags(key->kind);
    if (!flags) {
        if (frame != nullptr)
            frame->SetStatusText(grouppane::kDeleteDone);
        return;
    }
    view->PushUndoSnapshot(*flags);
    grouptree::DeleteWork work;
    {
        std::unique_lock lock(view->ViewMutex());
        work = grouptree::DeleteNodeData(view->ModelStore(), *key);
        if (work.clearPickBuckets)
            view->ClearPickBuckets();
        if (work.rebuildPickCache)
            view->RebuildPickCache();
        if (work.clearSelection)
            view->ClearSelection();
    }
    if (frame != nullptr)
        frame->SetStatusText(grouppane::kDeleteDone);
    view->InvalidateAllBuffers();
    RebuildLocked(*view);
    OnTreeSelChanged();
    view->InvalidateScene();
    UpdateLegends(*view);
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::OnGroupDeleteAll()
{
    if (CModelViewerView* view = m_activeView ? m_activeView() : nullptr)
        view->DeleteAllData();
}

void CGroupView::OnGroupCopy()
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr)
        return;
    const std::optional<NodeKey> key = SelectedKey();
    view->CancelRefinement();
    {
        std::unique_lock lock(view->ViewMutex());
        CModelDataMng& store = view->ModelStore();
        if (key && key->kind == NodeKind::Group) {
            const std::int64_t i = grouptree::FindGroup(store, key->group);
            if (i >= 0 && grouptree::CopyCloudGroup(store, i) >= 0) {
                m_info->Clear();
                view->InvalidateAllBuffers();
                RebuildTree(store);
            }
        }
    }
    OnTreeSelChanged();
    view->InvalidateScene();
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::OnGroupRename() { EditGroup(false); }

void CGroupView::OnGroupProperty() { EditGroup(true); }

void CGroupView::EditGroup(bool properties)
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr)
        return;
    const std::optional<NodeKey> key = SelectedKey();
    if (!key || key->kind != NodeKind::Group) {
        RefreshViewAfterGroupEdit(*view);
        return;
    }
    struct Copy {
        bool found = false, busy = false;
        CGroupPropDlg::Values values;
    };
    Copy busy;
    busy.busy = true;
    const Copy copy = view->ReadStore(
        [&](CModelDataMng& store) {
            Copy c;
            const CPCloudMng* g = store.GetGroup(grouptree::FindGroup(store, key->group));
            if (g == nullptr)
                return c;
            c.found = true;
            c.values.name = grouping::DisplayName(*g);
            c.values.remark = g->m_memo;
            c.values.colour = g->m_nColor;
            c.values.otherNames = grouptree::OtherDisplayNames(store, key->group);
            return c;
        },
        busy);
    if (copy.busy) {
        tessara::MessageBox(filetexts::kBusy, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, this);
        return;
    }
    if (!copy.found)
        return;
    CGroupPropDlg::Values values = copy.values;
    int answer = 0;
    if (properties) {
        answer = tessara::RunDialog<CGroupPropDlg>(this, values);
    } else {
        CGroupRenameDlg::Values rename{values.name, values.otherNames};
        answer = tessara::RunDialog<CGroupRenameDlg>(nullptr, rename);
        values.name = rename.name;
    }
    if (answer != tessara::IDOK) {
        RefreshViewAfterGroupEdit(*view);
        return;
    }
    std::string problem;
    view->CancelRefinement();
    {
        std::unique_lock lock(view->ViewMutex());
        CModelDataMng& store = view->ModelStore();
        CPCloudMng* g = store.GetGroup(grouptree::FindGroup(store, key->group));
        if (g != nullptr) {
            // Other groups may have changed while the dialog was open.
            const grouptree::NameCheck check = grouptree::CheckGroupName(store, key->group, values.name);
            if (!check.problem.empty()) {
                problem = check.problem;
            } else {
                g->m_name = check.name;
                g->m_nNameNumber = 0;
                if (properties) {
                    g->m_memo = values.remark;
                    g->m_nColor = values.colour;
                    view->InvalidateAllBuffers();
                    // Point buffers keep their colours until a recolour is asked for.
                    view->BuffersState().recolourRequested = 1;
                }
                RebuildTree(store);
            }
        }
    }
    if (!problem.empty())
        tessara::MessageBox(problem, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, this);
    OnTreeSelChanged();
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::OnGroupColorChanged(COLORREF colour)
{
    CModelViewerView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr)
        return;
    const std::optional<NodeKey> key = SelectedKey();
    if (key && (key->kind == NodeKind::Group || key->kind == NodeKind::GroupPoints || key->kind == NodeKind::GroupTin)) {
        view->CancelRefinement();
        std::unique_lock lock(view->ViewMutex());
        CModelDataMng& store = view->ModelStore();
        if (CPCloudMng* g = store.GetGroup(grouptree::FindGroup(store, key->group))) {
            g->m_nColor = colour;
            view->InvalidateAllBuffers();
            // Point buffers keep their colours until a recolour is asked for.
            view->BuffersState().recolourRequested = 1;
            RebuildTree(store);
        }
    }
    RefreshViewAfterGroupEdit(*view);
}

void CGroupView::ShowContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    menu.setTitle("グループ一覧");
    const auto item = [&](const char* text, unsigned id) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setProperty("commandId", id);
        action->setEnabled(IsCommandEnabled(id).value_or(false));
    };
    item("削除", grouppane::kGroupDelete);
    item("全て削除", grouppane::kGroupDeleteAll);
    menu.addSeparator();
    item("点群を複製", grouppane::kGroupCopy);
    menu.addSeparator();
    item("名称変更", grouppane::kGroupRename);
    item("グループプロパティ", grouppane::kGroupProperty);
    menu.addSeparator();
    item("全て表示", grouppane::kGroupShowAll);
    item("全て非表示", grouppane::kGroupHideAll);
    if (QAction* chosen = menu.exec(globalPos))
        OnCommand(chosen->property("commandId").toUInt());
}

void CGroupView::UpdateLegends(CModelViewerView& view)
{
    view.InvalidateLegends();
    // The slope legend stays only while slopes are drawn on a shown triangle; the
    // view's legend pass brings it up to date otherwise.
    const bool slopes = view.Settings().tinPictureMode == 2 &&
                        view.ReadStore([](CModelDataMng& store) { return CountShownTinTriangles(store) > 0; }, true);
    if (!slopes)
        if (const auto& close = ShellHooks::Instance().closeSlopeLegend)
            close();
}

void CGroupView::RefreshViewAfterGroupEdit(CModelViewerView& view)
{
    view.InvalidateScaleCaption();
    if (QWidget* top = window())
        top->update();
}

bool CGroupView::OnCommand(unsigned id)
{
    switch (id) {
    case grouppane::kGroupDelete: OnGroupDelete(); return true;
    case grouppane::kGroupDeleteAll: OnGroupDeleteAll(); return true;
    case grouppane::kGroupShowAll: SetAllChecks(true); return true;
    case grouppane::kGroupHideAll: SetAllChecks(false); return true;
    case grouppane::kGroupCopy: OnGroupCopy(); return true;
    case grouppane::kGroupRename: OnGroupRename(); return true;
    case grouppane::kGroupProperty: OnGroupProperty(); return true;
    default: return false;
    }
}

std::optional<bool> CGroupView::IsCommandEnabled(unsigned id) const
{
    const std::optional<NodeKey> key = SelectedKey();
    switch (id) {
    case grouppane::kGroupDelete: return key.has_value();
    case grouppane::kGroupDeleteAll:
    case grouppane::kGroupShowAll:
    case grouppane::kGroupHideAll: return true;
    case grouppane::kGroupRename:
    case grouppane::kGroupCopy:
    case grouppane::kGroupProperty: return key && key->kind == NodeKind::Group;
    default: return std::nullopt;
    }
}
