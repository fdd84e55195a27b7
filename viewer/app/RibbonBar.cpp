#include "viewer/app/RibbonBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "viewer/app/CommandRouter.h"
#include "viewer/app/RibbonIcons.h"
#include "viewer/app/RibbonLayout.h"

namespace {

constexpr const char* kCommandIdProperty = "commandId";
constexpr int kDisabledGrey = 170;
constexpr int kIconSide = 30;
constexpr int kCaptionPixels = 10;
constexpr int kPanelSpacing = 1;

unsigned CommandIdOf(const QObject* object)
{
    return object->property(kCommandIdProperty).toUInt();
}

// The large-button look shared by the panels' buttons and a collapsed panel's button.
void StyleLargeButton(QToolButton* button)
{
    button->setIconSize(QSize(kIconSide, kIconSide));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont captionFont = button->font();
    captionFont.setPixelSize(kCaptionPixels);
    button->setFont(captionFont);
    button->setAutoRaise(true);
    // A disabled command must read as one at a glance: faded icon and grey caption.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(kDisabledGrey, kDisabledGrey, kDisabledGrey));
    button->setPalette(palette);
}

QFrame* MakeSeparator(QWidget* parent)
{
    auto* separator = new QFrame(parent);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    return separator;
}

}  // namespace

// ---------------------------------------------------------------- one panel

RibbonPanel::RibbonPanel(const QString& name, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    setProperty("panelName", name);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(1, 0, 1, 0);
    row->setSpacing(0);
    m_body = new QWidget(this);
    m_body->setObjectName(name + "-body");
    m_body->setProperty("panelName", name);
    row->addWidget(m_body);
    m_collapsed = new QToolButton(this);
    m_collapsed->setObjectName(name + "-collapsed");
    m_collapsed->setText(name + " \u25BE");
    m_collapsed->setToolTip(name + "\nこのパネルのボタンを開きます");
    StyleLargeButton(m_collapsed);
    m_collapsed->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_collapsed->hide();
    row->addWidget(m_collapsed);
    connect(m_collapsed, &QToolButton::clicked, this, [this] { OpenPopup(); });
    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setObjectName(name + "-popup");
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto* popupLayout = new QVBoxLayout(m_popup);
    popupLayout->setContentsMargins(2, 2, 2, 2);
}

void RibbonPanel::SetCollapsed(bool collapsed)
{
    if (collapsed == m_isCollapsed) return;
    m_isCollapsed = collapsed;
    if (collapsed) {
        layout()->removeWidget(m_body);
        m_popup->layout()->addWidget(m_body);
        m_body->show();
        m_collapsed->show();
    } else {
        ClosePopup();
        m_popup->layout()->removeWidget(m_body);
        m_body->setParent(this);
        static_cast<QHBoxLayout*>(layout())->insertWidget(0, m_body);
        m_body->show();
        m_collapsed->hide();
    }
}

int RibbonPanel::FullWidth() const
{
    const QMargins m = layout()->contentsMargins();
    return m_body->sizeHint().width() + m.left() + m.right();
}

int RibbonPanel::CollapsedWidth() const
{
    const QMargins m = layout()->contentsMargins();
    return m_collapsed->sizeHint().width() + m.left() + m.right();
}

void RibbonPanel::OpenPopup()
{
    if (!m_isCollapsed) return;
    m_popup->adjustSize();
    // Under the panel's button, kept on the screen at its right edge.
    QPoint at = m_collapsed->mapToGlobal(QPoint(0, m_collapsed->height()));
    if (const QScreen* shown = m_collapsed->screen()) {
        const QRect area = shown->availableGeometry();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - m_popup->width())));
    }
    m_popup->move(at);
    m_popup->show();
}

void RibbonPanel::ClosePopup()
{
    if (m_popup->isVisible()) m_popup->hide();
}

// ---------------------------------------------------------------- the ribbon

RibbonBar::RibbonBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("ribbonBar");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 0, 2, 2);
    outer->setSpacing(0);

    auto* tabRow = new QHBoxLayout;
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName("ribbonTabs");
    m_tabs->setExpanding(false);
    for (const RibbonCategoryDef& category : RibbonLayout::Categories())
        m_tabs->addTab(QString::fromUtf8(category.name));
    tabRow->addWidget(m_tabs);
    tabRow->addStretch(1);
    m_about = new QToolButton(this);
    m_about->setIcon(RibbonIcons::ForCommand(RibbonLayout::kAboutId, "?"));
    m_about->setIconSize(QSize(16, 16));
    m_about->setAutoRaise(true);
    m_about->setToolTip(QString::fromUtf8(RibbonLayout::kAboutTip));
    m_about->setProperty(kCommandIdProperty, RibbonLayout::kAboutId);
    connect(m_about, &QToolButton::clicked, this, [this] { emit CommandTriggered(RibbonLayout::kAboutId); });
    tabRow->addWidget(m_about);
    outer->addLayout(tabRow);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName("ribbonPages");
    m_pages->setFrameShape(QFrame::StyledPanel);
    for (const RibbonCategoryDef& category : RibbonLayout::Categories()) {
        m_panels.emplace_back();
        QWidget* page = MakeCategory(category.panels, m_panels.back());
        page->setObjectName(QString::fromUtf8(category.name));
        m_pages->addWidget(page);
    }
    // Every category keeps one height: the tallest one's, panels shown whole.
    int height = 0;
    for (int i = 0; i < m_pages->count(); ++i) height = std::max(height, m_pages->widget(i)->sizeHint().height());
    m_pages->setFixedHeight(height + 2 * m_pages->frameWidth());
    outer->addWidget(m_pages);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { ShowCategory(index); });
}

QWidget* RibbonBar::MakeCategory(const std::vector<RibbonPanelDef>& panels, std::vector<RibbonPanel*>& made)
{
    auto* page = new QWidget(m_pages);
    // The page never asks the window for its width: panels that do not fit collapse.
    page->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* panelsRow = new QHBoxLayout(page);
    panelsRow->setContentsMargins(1, 2, 1, 0);
    panelsRow->setSpacing(kPanelSpacing);
    for (const RibbonPanelDef& panelDef : panels) {
        const QString name = QString::fromUtf8(panelDef.name);
        auto* panel = new RibbonPanel(name, page);
        QWidget* body = panel->Body();
        auto* panelLayout = new QVBoxLayout(body);
        panelLayout->setContentsMargins(0, 0, 0, 0);
        panelLayout->setSpacing(0);
        auto* buttonsRow = new QHBoxLayout;
        buttonsRow->setSpacing(0);
        for (const RibbonButtonDef& def : panelDef.buttons) {
            QToolButton* button = MakeButton(QString::fromUtf8(def.text), def.id, body);
            button->setToolTip(QString::fromStdString(RibbonLayout::ToolTip(def)));
            if (!def.menu.empty()) {
                auto* menu = new QMenu(button);
                menu->setToolTipsVisible(true);
                for (const RibbonButtonDef& item : def.menu) {
                    // A menu of toggles shows check marks; the style draws them
                    // only for items without an icon (an icon would only be framed).
                    QAction* action = def.checkMarks
                                          ? menu->addAction(QString::fromUtf8(item.text))
                                          : menu->addAction(RibbonIcons::ForCommand(item.id, QString::fromUtf8(item.text)),
                                                            QString::fromUtf8(item.text));
                    action->setProperty(kCommandIdProperty, item.id);
                    action->setToolTip(QString::fromStdString(RibbonLayout::ToolTip(item)));
                    action->setCheckable(def.checkMarks);
                    const unsigned id = item.id;
                    connect(action, &QAction::triggered, this, [this, button, id] { Trigger(button, id); });
                    m_menuItems.push_back(action);
                }
                button->setMenu(menu);
                button->setPopupMode(QToolButton::InstantPopup);
                button->setProperty("menuButton", true);
            } else {
                const unsigned id = def.id;
                connect(button, &QToolButton::clicked, this, [this, button, id] { Trigger(button, id); });
            }
            buttonsRow->addWidget(button);
        }
        panelLayout->addLayout(buttonsRow);
        auto* caption = new QLabel(name, body);
        caption->setAlignment(Qt::AlignCenter);
        panelLayout->addWidget(caption);
        if (!panelDef.buttons.empty())
            panel->CollapsedButton()->setIcon(
                RibbonIcons::ForCommand(panelDef.buttons.front().id, QString::fromUtf8(panelDef.buttons.front().text)));
        panel->CollapsedButton()->setMinimumHeight(body->sizeHint().height());
        panelsRow->addWidget(panel);
        panelsRow->addWidget(MakeSeparator(page));
        made.push_back(panel);
    }
    panelsRow->addStretch(1);
    return page;
}

RibbonPanel* RibbonBar::PanelOf(const QToolButton* button) const
{
    for (const auto& panels : m_panels)
        for (RibbonPanel* panel : panels)
            if (panel->Body()->isAncestorOf(button)) return panel;
    return nullptr;
}

void RibbonBar::Trigger(QToolButton* button, unsigned id)
{
    // A button pressed in a collapsed panel's pop-up runs with the pop-up closed:
    // the command may open a dialog of its own.
    if (RibbonPanel* panel = PanelOf(button)) panel->ClosePopup();
    emit CommandTriggered(id);
}

void RibbonBar::ShowCategory(int category)
{
    if (category < 0 || category >= m_pages->count()) return;
    for (RibbonPanel* panel : m_panels[static_cast<std::size_t>(m_pages->currentIndex())]) panel->ClosePopup();
    if (m_tabs->currentIndex() != category) m_tabs->setCurrentIndex(category);
    m_pages->setCurrentIndex(category);
    FitPanels();
}

void RibbonBar::FitPanels()
{
    const QMargins outer = layout()->contentsMargins();
    const int available = width() - outer.left() - outer.right() - 2 * m_pages->frameWidth();
    for (std::size_t c = 0; c < m_panels.size(); ++c) {
        const std::vector<RibbonPanel*>& panels = m_panels[c];
        QWidget* page = m_pages->widget(static_cast<int>(c));
        const QMargins margins = page->layout()->contentsMargins();
        const int separator = MakeSeparatorWidth();
        // Panels, a separator after each, and the spacing between all of them.
        int fixed = margins.left() + margins.right() +
                    static_cast<int>(panels.size()) * (separator + 2 * kPanelSpacing);
        std::vector<int> full, small;
        for (RibbonPanel* panel : panels) {
            full.push_back(panel->FullWidth());
            small.push_back(panel->CollapsedWidth());
        }
        int total = fixed;
        for (int w : full) total += w;
        std::size_t firstCollapsed = panels.size();
        while (firstCollapsed > 0 && total > available) {
            --firstCollapsed;
            total -= full[firstCollapsed] - small[firstCollapsed];
        }
        for (std::size_t i = 0; i < panels.size(); ++i) panels[i]->SetCollapsed(i >= firstCollapsed);
    }
}

int RibbonBar::MakeSeparatorWidth() const
{
    QFrame probe;
    probe.setFrameShape(QFrame::VLine);
    probe.setFrameShadow(QFrame::Sunken);
    return probe.sizeHint().width();
}

void RibbonBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitPanels();
}

void RibbonBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FitPanels();
}

QToolButton* RibbonBar::MakeButton(const QString& text, unsigned id, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setIcon(RibbonIcons::ForCommand(id, text));
    StyleLargeButton(button);
    button->setCheckable(true);
    button->setProperty(kCommandIdProperty, id);
    // Buttons keep their whole caption; the frame grows rather than eliding it.
    button->setMinimumWidth(std::max(40, button->sizeHint().width()));
    m_buttons.push_back(button);
    return button;
}

void RibbonBar::UpdateCommandUi(const CommandRouter& router)
{
    for (QAction* action : m_menuItems) {
        const CommandUi ui = router.QueryUi(CommandIdOf(action));
        action->setEnabled(ui.enabled);
        action->setChecked(ui.checked);
    }
    for (QToolButton* button : m_buttons) {
        if (QMenu* menu = button->menu()) {
            bool anyEnabled = false;
            for (QAction* action : menu->actions()) anyEnabled = anyEnabled || action->isEnabled();
            button->setEnabled(anyEnabled);
            button->setChecked(false);
            continue;
        }
        const CommandUi ui = router.QueryUi(CommandIdOf(button));
        button->setEnabled(ui.enabled);
        button->setChecked(ui.checked);
    }
    m_about->setEnabled(router.QueryUi(RibbonLayout::kAboutId).enabled);
}
