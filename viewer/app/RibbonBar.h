#pragma once

#include <QWidget>

#include <vector>

class CommandRouter;
class QAction;
class QScrollArea;
class QToolButton;

// The frame's ribbon: a tab row with the About button and the "ホーム" category
// with its panels of large buttons. Every button and menu item carries its command
// id (property "commandId") and sends it when pressed.
class RibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit RibbonBar(QWidget* parent = nullptr);

    //! Enables and checks every button and menu item from the router's update-UI answers.
    void UpdateCommandUi(const CommandRouter& router);

    //! The panel buttons in panel order (menu buttons included), and the tab-row button.
    const std::vector<QToolButton*>& PanelButtons() const { return m_buttons; }
    QToolButton* AboutButton() const { return m_about; }
    //! The menu items of the menu buttons.
    const std::vector<QAction*>& MenuItems() const { return m_menuItems; }

    //! The sideways-scrolling area that holds the category's panels.
    QScrollArea* PanelArea() const { return m_scroll; }

signals:
    void CommandTriggered(unsigned id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitScrollHeight();
    QToolButton* MakeButton(const QString& text, unsigned id, QWidget* parent);

    std::vector<QToolButton*> m_buttons;
    std::vector<QAction*> m_menuItems;
    QToolButton* m_about = nullptr;
    QScrollArea* m_scroll = nullptr;
};
