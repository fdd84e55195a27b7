#pragma once

#include <string>
#include <vector>

// The ribbon's buttons: the "ホーム" category with the viewing commands and the
// "編集" category with the editing, filtering, export and host commands. A button
// with menu items opens a menu and sends nothing itself; its items send their ids.
struct RibbonButtonDef {
    const char* text;
    unsigned id;
    std::vector<RibbonButtonDef> menu;   // items of a menu button
    const char* description = nullptr;   // what the command does, under its text in the tooltip
    bool checkMarks = false;             // a menu of toggles: its items show check marks
};

struct RibbonPanelDef {
    const char* name;
    std::vector<RibbonButtonDef> buttons;
};

struct RibbonCategoryDef {
    const char* name;
    std::vector<RibbonPanelDef> panels;
};

class RibbonLayout {
public:
    static constexpr const char* kCategory = "ホーム";
    static constexpr const char* kEditCategory = "編集";
    static constexpr unsigned kAboutId = 57664;   // the one button of the tab row

    //! Both categories, "ホーム" first.
    static const std::vector<RibbonCategoryDef>& Categories();
    //! The panels of "ホーム".
    static const std::vector<RibbonPanelDef>& Panels();
    //! The tooltip of a button or menu item: its text, then what it does.
    static const char* const kAboutTip;
    static std::string ToolTip(const RibbonButtonDef& def);
};
