#pragma once

#include "../render/TestView.h"
#include "../render/ViewTestApp.h"

#include "outside/CModelDataMng.h"
#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/render/ShellHooks.h"

#include <gtest/gtest.h>

#include <memory>

// A shown main view with its commands bound, for the command tests.
class CommandViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        m_boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
        m_previousBoxes = tessara::SetMessageBoxService(m_boxes);
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ShellHooks::Instance().showAboutDialog = [] {};
        m_view = std::make_unique<TestView>();
        m_view->Create();
        View().resize(200, 150);
        View().show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > 0; }));
        View().SetClientSize(200, 150);
    }
    void TearDown() override
    {
        m_view.reset();
        ShellHooks::Instance().showAboutDialog = nullptr;
        tessara::SetMessageBoxService(m_previousBoxes);
    }

    //! A hidden group of two points: the box's corners.
    void AddBox(float x0, float y0, float x1, float y1)
    {
        auto group = std::make_unique<CPCloudMng>();
        group->AddCloudPoint(x0, y0, 1.0f, 0, 0.0);
        group->AddCloudPoint(x1, y1, 2.0f, 0, 0.0);
        group->CreateGrid();
        group->m_nShowGroup = 0;
        View().ModelStore().AddGroup(std::move(group));
    }
    void Run(unsigned id)
    {
        const auto* handler = View().Commands().FindCommand(id);
        ASSERT_NE(handler, nullptr) << id;
        (*handler)();
    }
    CommandUi Ui(unsigned id)
    {
        CommandUi ui;
        if (const auto* update = View().Commands().FindUpdate(id))
            (*update)(ui);
        return ui;
    }
    TestView& View() { return *m_view; }
    tessara::ScriptedMessageBoxes& Boxes() { return *m_boxes; }

    std::unique_ptr<TestView> m_view;
    std::shared_ptr<tessara::ScriptedMessageBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
};
