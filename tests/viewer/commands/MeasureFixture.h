#pragma once

#include "CommandViewFixture.h"

#include "ModelText.h"
#include "platform/Files.h"
#include "viewer/files/SceneFrame.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <cmath>
#include <mutex>
#include <string>

// A shown view holding the measure fixture (examples/models/measure.txt), with
// clicks on the points it draws.
class MeasureViewTest : public CommandViewTest {
protected:
    void LoadMeasureFixture()
    {
        const auto text =
            tessara::ReadWholeFile(std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/measure.txt");
        ASSERT_TRUE(text.has_value());
        std::lock_guard lock(View().ViewMutex());
        ModelViewState state;
        std::string error;
        ASSERT_TRUE(ModelText::Read(*text, View().ModelStore(), state, error)) << error;
        // Points are picked where they are drawn: in their own colours.
        View().m_pointColourMode = 2;
    }
    void LookAt(QVector3D at, float zoom)
    {
        View().LookAt() = at;
        View().Zoom() = zoom;
        View().UpdateProjection();
        View().UpdateModelView();
    }
    void Frame()
    {
        const int before = View().sceneFrames;
        View().InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > before; }));
    }
    //! The client point (y down) a model point is drawn at.
    QPoint ClientPointOf(const PT& model)
    {
        QVector3D window;
        EXPECT_TRUE(View().ProjectToWindow(QVector3D(float(model.x()), float(model.y()), float(model.z())), window));
        return QPoint(int(std::lround(window.x())), int(std::lround(View().ClientHeight() - window.y())));
    }
    void Click(QPoint at)
    {
        for (auto [type, held] : {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
                                  std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton)}}) {
            QMouseEvent event(type, QPointF(at), View().mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&View(), &event);
        }
    }
    void ClickOn(const PT& model) { Click(ClientPointOf(model)); }
};
