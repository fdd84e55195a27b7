#pragma once

#include "../render/TestView.h"
#include "../render/ViewTestApp.h"

#include "ModelText.h"
#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "viewer/files/SceneFrame.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <mutex>
#include <string>

// The main view with the cross-section tool's lists and clicks at user points.
class SectionPickView : public TestView {
public:
    std::vector<PT>& SectionPoints() { return m_sectionPoints; }
    std::uint8_t ToolMode() const { return m_toolMode; }

    //! A left click at the window point over a user point; false when it does
    //! not project into the window.
    bool ClickAtUser(double x, double y, double z = 15.0)
    {
        PT model(x, y, z);
        ModelStore().UserToModel(model);
        QVector3D window;
        if (!ProjectToWindow(QVector3D(float(model.x()), float(model.y()), float(model.z())), window))
            return false;
        const QPointF at(window.x(), ClientHeight() - window.y());
        if (at.x() < 1 || at.y() < 1 || at.x() > ClientWidth() || at.y() > ClientHeight())
            return false;
        QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(this, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(this, &release);
        return true;
    }
};

// The cross-section fixture (a ground TIN and a line of points above it) in the
// view's store, with the TIN drawn as faces.
inline void LoadSectionFixture(CModelViewerView& view)
{
    const auto text =
        tessara::ReadWholeFile(std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/cross-section.txt");
    ASSERT_TRUE(text.has_value());
    {
        std::lock_guard lock(view.ViewMutex());
        ModelViewState state;
        std::string error;
        ASSERT_TRUE(ModelText::Read(*text, view.ModelStore(), state, error)) << error;
    }
    view.Settings().tinPictureMode = 1;
    // Points are picked where they are drawn: in their own colours.
    view.m_pointColourMode = 2;
    view.InvalidateAllBuffers();
}
