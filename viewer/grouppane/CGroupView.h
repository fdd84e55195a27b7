#pragma once

// The group pane: a tree of everything the scene holds with a show check box per
// node, a small info panel and the pane's commands. It never keeps the view: each
// action asks the frame for the active view and does nothing without one. Tree
// items carry node keys; the store is never told about items.

#include "outside/OutsideTypes.h"
#include "viewer/grouppane/GroupTreePlan.h"

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

class CModelViewerView;
class QPushButton;

namespace grouppane {
inline constexpr unsigned kPaneId = 35000;
inline constexpr unsigned kGroupDelete = 35006;
inline constexpr unsigned kGroupDeleteAll = 35007;
inline constexpr unsigned kGroupRename = 35008;
inline constexpr unsigned kGroupShowAll = 35009;
inline constexpr unsigned kGroupHideAll = 35010;
inline constexpr unsigned kGroupCopy = 35011;
inline constexpr unsigned kGroupProperty = 35015;
inline constexpr unsigned kShowGroupPane = 32831;
inline constexpr const char* kDeleteQuestion = "選択グループを削除してよろしいですか？";
inline constexpr const char* kPleaseWait = "しばらくお待ちください";
inline constexpr const char* kDeleteDone = "処理完了（選択グループ削除）";
} // namespace grouppane

// The tree of the pane.
class CViewTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CViewTree(QWidget* parent);
};

// The pane's toolbar: show all, hide all.
class CGroupToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CGroupToolBar(QWidget* parent);
};

// A one-line text that never asks the pane for more width than it has: a text
// longer than the room shows its start and "…", and the whole text as tooltip.
class CElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit CElidedLabel(QWidget* parent);
    void SetFullText(const QString& text);
    QString FullText() const { return m_full; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();
    QString m_full;
};

// The info panel above the tree: name, remark, colour and element name of the
// selected group.
class CGroupInfoDlg : public QWidget {
    Q_OBJECT
public:
    explicit CGroupInfoDlg(QWidget* parent);
    void ShowGroup(const std::string& name, const std::string& remark, COLORREF colour, const std::string& element);
    void Clear();
    QString NameText() const;
    QString RemarkText() const;
    QString ElementText() const;
    bool ColourEnabled() const;

signals:
    // The user chose a new colour for the shown group.
    void ColourChosen(COLORREF colour);

private:
    void OnColorButton();
    COLORREF m_shownColour = 0;
    CElidedLabel* m_name;
    CElidedLabel* m_remark;
    CElidedLabel* m_element;
    QPushButton* m_colour;
};

class CGroupView : public QWidget {
    Q_OBJECT
public:
    using ViewFinder = std::function<CModelViewerView*()>;
    CGroupView(ViewFinder activeView, QWidget* parent);
    ~CGroupView() override;

    // Brings the tree up to date with the store; the caller holds the view lock.
    void RebuildTree(CModelDataMng& store);
    // Forgets the items of these groups (store positions; the store is locked).
    void RemoveGroupTreeItems(CModelDataMng& store, const std::vector<std::int64_t>& groups);
    // Fills the view's group-tree hooks (and empties them again when destroyed).
    void InstallHooks();

    // The pane's commands; false for an id that is not the pane's.
    bool OnCommand(unsigned id);
    // Enabled state of a pane command; nullopt for other ids.
    std::optional<bool> IsCommandEnabled(unsigned id) const;

    CViewTree* Tree() const { return m_tree; }
    CGroupToolBar* ToolBar() const { return m_toolBar; }
    // The tree's images in the order of their indices (drawn, see GroupImages.h).
    const std::vector<QIcon>& Images() const { return m_images; }
    QIcon ImageOf(int image) const;
    CGroupInfoDlg* InfoPanel() const { return m_info; }
    // The item of a node, or null.
    QTreeWidgetItem* ItemOf(const grouptree::NodeKey& key) const;
    std::optional<grouptree::NodeKey> SelectedKey() const;
    // Selects the node's item and fills the info panel (a label click).
    void SelectNode(const grouptree::NodeKey& key);

    void OnTreeSelChanged();
    // A user's click that left the node's box at `checked`.
    void OnTreeCheckChanged(const grouptree::NodeKey& key, bool checked);
    void SetAllChecks(bool shown);
    void OnGroupDelete();
    void OnGroupDeleteAll();
    void OnGroupCopy();
    void OnGroupRename();
    void OnGroupProperty();
    // Recolours the selected node's group (after the colour dialog closed).
    void OnGroupColorChanged(COLORREF colour);
    // The pane's context menu at a global position.
    void ShowContextMenu(const QPoint& globalPos);

private:
    using MapKey = std::tuple<int, std::uint64_t, int>;
    static MapKey ToMap(const grouptree::NodeKey& key);
    static grouptree::NodeKey KeyOf(const QTreeWidgetItem* item);
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void SetChecked(QTreeWidgetItem* item, bool checked);
    void RefreshViewAfterGroupEdit(CModelViewerView& view);
    void UpdateLegends(CModelViewerView& view);
    // Rebuilds the tree under the view's lock (when it can have it without waiting
    // behind a long job, otherwise at the next frame).
    void RebuildLocked(CModelViewerView& view);
    // Rename (false) or properties (true): the dialog runs on copies without the
    // lock; the result is checked again and applied under it.
    void EditGroup(bool properties);

    ViewFinder m_activeView;
    CGroupToolBar* m_toolBar;
    CGroupInfoDlg* m_info;
    CViewTree* m_tree;
    std::map<MapKey, QTreeWidgetItem*> m_items;
    std::vector<QIcon> m_images;
    bool m_hooksInstalled = false;
};
