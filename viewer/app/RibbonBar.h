#pragma once

#include <QFrame>
#include <QWidget>

#include <vector>

class CommandRouter;
class QAction;
class QStackedWidget;
class QTabBar;
class QToolButton;
struct RibbonPanelDef;

// One panel of a ribbon category: its buttons over its caption. When the window
// is too narrow for it, the panel shrinks to one button that opens the whole
// panel in a pop-up, as ribbons do.
class RibbonPanel : public QFrame {
    Q_OBJECT
public:
    RibbonPanel(const QString& name, QWidget* parent);

    //! The panel's buttons and caption (inside the pop-up while collapsed).
    QWidget* Body() const { return m_body; }
    //! The one button standing for the panel while it is collapsed.
    QToolButton* CollapsedButton() const { return m_collapsed; }
    //! The pop-up window that shows the collapsed panel.
    QFrame* Popup() const { return m_popup; }

    void SetCollapsed(bool collapsed);
    bool Collapsed() const { return m_isCollapsed; }
    //! Widths of the panel shown whole and collapsed.
    int FullWidth() const;
    int CollapsedWidth() const;

    //! Closes the pop-up, if open; a button pressed in it runs with the panel closed.
    void ClosePopup();

private:
    void OpenPopup();

    QWidget* m_body = nullptr;
    QToolButton* m_collapsed = nullptr;
    QFrame* m_popup = nullptr;
    bool m_isCollapsed = false;
};

// The frame's ribbon: a tab row with the categories "ホーム" and "編集" and the
// About button, over the current category's panels of large buttons. Every button
// and menu item carries its command id (property "commandId") and sends it when
// pressed. A window too narrow for every panel collapses panels from the right.
class RibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit RibbonBar(QWidget* parent = nullptr);

    //! Enables and checks every button and menu item from the router's update-UI answers.
    void UpdateCommandUi(const CommandRouter& router);

    //! The panel buttons of every category in order (menu buttons included), and the tab-row button.
    const std::vector<QToolButton*>& PanelButtons() const { return m_buttons; }
    QToolButton* AboutButton() const { return m_about; }
    //! The menu items of the menu buttons.
    const std::vector<QAction*>& MenuItems() const { return m_menuItems; }

    //! The category tabs, the stack of category pages, and the panels of category i.
    QTabBar* Tabs() const { return m_tabs; }
    QStackedWidget* Pages() const { return m_pages; }
    const std::vector<RibbonPanel*>& PanelsOf(int category) const { return m_panels[static_cast<std::size_t>(category)]; }
    //! The panel holding a button, or null.
    RibbonPanel* PanelOf(const QToolButton* button) const;
    //! Shows a category and lays it out for the present width.
    void ShowCategory(int category);

signals:
    void CommandTriggered(unsigned id);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeCategory(const std::vector<RibbonPanelDef>& panels, std::vector<RibbonPanel*>& made);
    QToolButton* MakeButton(const QString& text, unsigned id, QWidget* parent);
    void Trigger(QToolButton* button, unsigned id);
    //! Collapses, from the right, the panels of every category that do not fit.
    void FitPanels();
    int MakeSeparatorWidth() const;

    std::vector<QToolButton*> m_buttons;
    std::vector<QAction*> m_menuItems;
    std::vector<std::vector<RibbonPanel*>> m_panels;
    QToolButton* m_about = nullptr;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
};
