#include "viewer/app/RibbonBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
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

unsigned CommandIdOf(const QObject* object)
{
    return object->property(kCommandIdProperty).toUInt();
}

}  // namespace

RibbonBar::RibbonBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("ribbonBar");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 0, 2, 2);
    outer->setSpacing(0);

    auto* tabRow = new QHBoxLayout;
    auto* tabs = new QTabBar(this);
    tabs->addTab(QString::fromUtf8(RibbonLayout::kCategory));
    tabRow->addWidget(tabs);
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

    // The panels keep their natural width; a window narrower than them scrolls the
    // category sideways instead of squeezing buttons over one another.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("ribbonScroll");
    m_scroll->setFrameShape(QFrame::StyledPanel);
    m_scroll->setWidgetResizable(true);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* category = new QWidget(m_scroll);
    category->setObjectName("ribbonCategory");
    auto* panelsRow = new QHBoxLayout(category);
    panelsRow->setContentsMargins(1, 2, 1, 0);
    panelsRow->setSpacing(1);
    for (const RibbonPanelDef& panelDef : RibbonLayout::Panels()) {
        auto* panel = new QFrame(category);
        panel->setObjectName(QString::fromUtf8(panelDef.name));
        panel->setProperty("panelName", QString::fromUtf8(panelDef.name));
        auto* panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(1, 0, 1, 0);
        panelLayout->setSpacing(0);
        auto* buttonsRow = new QHBoxLayout;
        buttonsRow->setSpacing(0);
        for (const RibbonButtonDef& def : panelDef.buttons) {
            QToolButton* button = MakeButton(QString::fromUtf8(def.text), def.id, panel);
            button->setToolTip(QString::fromStdString(RibbonLayout::ToolTip(def)));
            if (!def.menu.empty()) {
                auto* menu = new QMenu(button);
                menu->setToolTipsVisible(true);
                for (const RibbonButtonDef& item : def.menu) {
                    QAction* action = menu->addAction(RibbonIcons::ForCommand(item.id, QString::fromUtf8(item.text)),
                                                      QString::fromUtf8(item.text));
                    action->setProperty(kCommandIdProperty, item.id);
                    action->setToolTip(QString::fromStdString(RibbonLayout::ToolTip(item)));
                    action->setCheckable(true);
                    const unsigned id = item.id;
                    connect(action, &QAction::triggered, this, [this, id] { emit CommandTriggered(id); });
                    m_menuItems.push_back(action);
                }
                button->setMenu(menu);
                button->setPopupMode(QToolButton::InstantPopup);
                button->setProperty("menuButton", true);
            } else {
                const unsigned id = def.id;
                connect(button, &QToolButton::clicked, this, [this, id] { emit CommandTriggered(id); });
            }
            buttonsRow->addWidget(button);
        }
        panelLayout->addLayout(buttonsRow);
        auto* caption = new QLabel(QString::fromUtf8(panelDef.name), panel);
        caption->setAlignment(Qt::AlignCenter);
        panelLayout->addWidget(caption);
        panelsRow->addWidget(panel);
        auto* separator = new QFrame(category);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        panelsRow->addWidget(separator);
    }
    panelsRow->addStretch(1);
    m_scroll->setWidget(category);
    outer->addWidget(m_scroll);
    FitScrollHeight();
}

void RibbonBar::FitScrollHeight()
{
    const QWidget* category = m_scroll->widget();
    const int frame = 2 * m_scroll->frameWidth();
    const bool scrolls = category->minimumSizeHint().width() > m_scroll->width() - frame;
    const int bar = scrolls ? m_scroll->horizontalScrollBar()->sizeHint().height() : 0;
    m_scroll->setFixedHeight(category->sizeHint().height() + frame + bar);
}

void RibbonBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitScrollHeight();
}

QToolButton* RibbonBar::MakeButton(const QString& text, unsigned id, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setIcon(RibbonIcons::ForCommand(id, text));
    button->setIconSize(QSize(30, 30));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont captionFont = button->font();
    captionFont.setPixelSize(10);
    button->setFont(captionFont);
    button->setAutoRaise(true);
    button->setCheckable(true);
    // A disabled command must read as one at a glance: faded icon and grey caption.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(kDisabledGrey, kDisabledGrey, kDisabledGrey));
    button->setPalette(palette);
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
