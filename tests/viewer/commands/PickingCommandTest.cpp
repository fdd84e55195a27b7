#include "CommandViewFixture.h"

#include "outside/StoreMarkers.h"
#include "tests/support/WindowFocus.h"
#include "viewer/buffers/PickLayerSet.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/ScenePick.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/ControlIds.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QRadioButton>

#include <array>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
// Survey heights near 10,000 m: the store keeps the scene about its centre.
constexpr double kBaseZ = 10000.0;

// A shown view over one group of three points and a TIN group whose vertices
// lie beside them, fitted from above. Heights are given above kBaseZ.
class PickingCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        View().m_pointColourMode = 2;
        View().Settings().tinPointSwitch = 1;
        View().ModelStore().SetRenderingCenterPt(PT(0.0, 0.0, kBaseZ));
        auto points = std::make_unique<CPCloudMng>();
        points->AddCloudPoint(0.0f, 0.0f, float(kBaseZ + 1), 0x0000FF, 0.0);
        points->AddCloudPoint(4.0f, 0.0f, float(kBaseZ + 2), 0x00FF00, 0.0);
        points->AddCloudPoint(0.0f, 4.0f, float(kBaseZ + 3), 0xFF0000, 0.0);
        points->CreateGrid();
        View().ModelStore().AddGroup(std::move(points));
        auto tin = std::make_unique<CPCloudMng>();
        tin->AddVertex(8.0f, 0.0f, float(kBaseZ - 12.5));   // 9987.5
        tin->AddVertex(8.0f, 4.0f, float(kBaseZ + 0.5));    // beyond the edits' range
        tin->AddVertex(6.0f, 2.0f, float(kBaseZ + 5));
        tin->m_triangles.emplace_back(0, 1, 2);
        View().ModelStore().AddGroup(std::move(tin));
        View().OnShowUp();
        WaitForFrame();
    }
    void WaitForFrame()
    {
        const std::uint64_t before = View().SceneFrameCount();
        View().InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return View().SceneFrameCount() > before; }));
    }
    // The window point (y from the top) of a user point, z above kBaseZ.
    QPoint WindowOf(double x, double y, double z)
    {
        PT model(x, y, kBaseZ + z);
        View().ModelStore().UserToModel(model);
        QVector3D w;
        EXPECT_TRUE(View().ProjectToWindow(QVector3D(float(model.x()), float(model.y()), float(model.z())), w));
        return QPoint(static_cast<int>(std::floor(w.x())), kHeight - static_cast<int>(std::floor(w.y())));
    }
    // The cached picture's pixels.
    std::vector<std::uint8_t> Picture()
    {
        View().makeCurrent();
        auto* gl = View().context()->functions();
        gl->glBindFramebuffer(GL_FRAMEBUFFER, View().CompositeFramebuffer());
        std::vector<std::uint8_t> pixels = ReadBound();
        View().doneCurrent();
        return pixels;
    }
    // The pixels of one of the layers the picture is composited from.
    std::vector<std::uint8_t> LayerPixels(COpenGLBaseView::Layer layer)
    {
        View().makeCurrent();
        EXPECT_TRUE(View().BindLayer(layer));
        std::vector<std::uint8_t> pixels = ReadBound();
        View().BindWindowFramebuffer();
        View().doneCurrent();
        return pixels;
    }
    std::vector<std::uint8_t> ReadBound()
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
        View().context()->functions()->glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

TEST_F(PickingCommandTest, APointPickStoresTheIndexAndReturnsTheModelPoint)
{
    const QPoint at = WindowOf(4, 0, 2);
    PT out;
    ASSERT_EQ(View().PickPoint(at.x(), at.y(), &out), 1);
    EXPECT_EQ(View().PickedPointIndex(), std::make_pair(0, 1));
    PT user = out;
    View().ModelStore().ModelToUser(user);
    EXPECT_NEAR(user.x(), 4.0, 1e-6);
    EXPECT_NEAR(user.z(), kBaseZ + 2.0, 1e-3);
    // A point pick leaves TIN vertices alone.
    const QPoint vertex = WindowOf(8, 0, -12.5);
    EXPECT_EQ(View().PickPointIndex(vertex.x(), vertex.y()), 0);
}

TEST_F(PickingCommandTest, AHiddenGroupIsNeverPicked)
{
    View().ModelStore().GetGroup(0)->m_nShowGroup = 0;
    const QPoint at = WindowOf(0, 0, 1);
    PT out(7, 7, 7);
    EXPECT_EQ(View().PickPoint(at.x(), at.y(), &out), 0);
    EXPECT_EQ(out.x(), 7.0) << "no output without a hit";
    EXPECT_EQ(View().AppendPickedPoint(at.x(), at.y()), 0);
    EXPECT_TRUE(View().PickedPoints().points.empty());
}

TEST_F(PickingCommandTest, PendingWindowPointsGiveNoHitAndNoOutput)
{
    const QPoint at = WindowOf(0, 4, 3);
    View().InputScreenPoints() = {QPoint(10, 10)};
    int kind = -5;
    std::vector<int> ids{42};
    PT point(7, 7, 7);
    int elevation = -5;
    EXPECT_EQ(View().PickAt(at.x(), at.y(), kind, &ids, &point, &elevation), 0);
    EXPECT_EQ(kind, -5);
    EXPECT_EQ(ids, std::vector<int>{42});
    EXPECT_EQ(point.x(), 7.0);
    EXPECT_EQ(elevation, -5);
    EXPECT_EQ(View().AppendPickedPoint(at.x(), at.y()), 0);
    EXPECT_EQ(View().AddInputPointByPick(at.x(), at.y()), 0);
    EXPECT_TRUE(View().PickedPoints().points.empty());
    EXPECT_TRUE(View().PickedPoints().windowPoints.empty());
    // The marker pick does not take an unset point for the rotation centre.
    View().CameraMoved() = 1;
    View().RotationCentre() = QVector3D(1, 2, 3);
    EXPECT_EQ(View().PickMarkerPoint(at.x(), at.y()), 1);
    const QVector3D c = View().RotationCentre();
    EXPECT_TRUE(std::isfinite(c.x()) && std::isfinite(c.y()) && std::isfinite(c.z()));
    EXPECT_LT(std::abs(c.x()), 1000.0f);

    View().InputScreenPoints().clear();
    EXPECT_EQ(View().PickAt(at.x(), at.y(), kind, &ids, &point, &elevation), 1);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(ids, (std::vector<int>{0, 2}));
}

TEST_F(PickingCommandTest, APickLeavesThePictureAlone)
{
    const std::vector<std::uint8_t> before = Picture();
    const std::uint64_t frames = View().SceneFrameCount();
    const QPoint at = WindowOf(4, 0, 2);
    PT out;
    EXPECT_EQ(View().PickPoint(at.x(), at.y(), &out), 1);
    EXPECT_EQ(View().AppendPickedPoint(at.x(), at.y()), 1);
    const QPoint vertex = WindowOf(8, 0, -12.5);
    int kind = 0;
    EXPECT_EQ(View().PickAt(vertex.x(), vertex.y(), kind, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(kind, 4);
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(View().SceneFrameCount(), frames);
}

TEST_F(PickingCommandTest, ThePickRerenderDrawsIntoItsOwnLayersOnly)
{
    View().Settings().tinPictureMode = 1;
    WaitForFrame();
    const std::vector<std::uint8_t> picture = Picture();
    const std::vector<std::uint8_t> tinLayer = LayerPixels(COpenGLBaseView::Layer::Tin);
    const std::vector<std::uint8_t> figureLayer = LayerPixels(COpenGLBaseView::Layer::Figure);
    const std::uint64_t frames = View().SceneFrameCount();

    ASSERT_TRUE(View().RenderPickLayers());
    // The TIN's face lies in the pick layer (triangle 0), nothing beside it.
    const QPoint inside = WindowOf((8.0 + 8.0 + 6.0) / 3, 2.0, 1.0);
    float depth = 1.0f;
    std::array<std::uint8_t, 3> rgb{};
    View().makeCurrent();
    PickLayerSet& pickLayers = *View().BuffersState().pickLayers;
    ASSERT_TRUE(pickLayers.ReadPixel(SceneLayers::kTin, inside.x(), kHeight - inside.y(), depth, rgb));
    EXPECT_GT(depth, 0.0f);
    EXPECT_LT(depth, 1.0f);
    EXPECT_EQ(scenepick::IdFromColour(rgb[0], rgb[1], rgb[2]), 0u);
    ASSERT_TRUE(pickLayers.ReadPixel(SceneLayers::kTin, 3, 3, depth, rgb));
    EXPECT_EQ(depth, 1.0f);
    View().doneCurrent();

    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(LayerPixels(COpenGLBaseView::Layer::Tin), tinLayer);
    EXPECT_EQ(LayerPixels(COpenGLBaseView::Layer::Figure), figureLayer);
    EXPECT_EQ(View().SceneFrameCount(), frames);
}

TEST_F(PickingCommandTest, WhileAnotherThreadHoldsTheStoreNothingIsPickedOrDrawn)
{
    std::mutex m;
    std::condition_variable cv;
    bool locked = false, release = false;
    std::thread holder([&] {
        std::lock_guard lock(View().ViewMutex());
        std::unique_lock g(m);
        locked = true;
        cv.notify_all();
        cv.wait(g, [&] { return release; });
    });
    {
        std::unique_lock g(m);
        cv.wait(g, [&] { return locked; });
    }
    const QPoint at = WindowOf(4, 0, 2);
    int kind = 0;
    EXPECT_EQ(View().PickAt(at.x(), at.y(), kind, nullptr, nullptr, nullptr), 0);
    EXPECT_FALSE(View().RenderPickLayers());
    {
        std::lock_guard g(m);
        release = true;
    }
    cv.notify_all();
    holder.join();
    EXPECT_EQ(View().PickAt(at.x(), at.y(), kind, nullptr, nullptr, nullptr), 1);
}

TEST_F(PickingCommandTest, PickedPointListsGrowAndTheFirstPointIsNotTakenTwice)
{
    const QPoint a = WindowOf(0, 0, 1);
    const QPoint b = WindowOf(4, 0, 2);
    auto& lists = View().PickedPoints();
    EXPECT_EQ(View().AddInputPointByPick(a.x(), a.y()), 1);
    EXPECT_EQ(View().AddInputPointByPick(a.x(), a.y()), 0) << "the single first point again";
    EXPECT_EQ(View().AddInputPointByPick(b.x(), b.y()), 1);
    EXPECT_EQ(View().AddInputPointByPick(a.x(), a.y()), 1) << "a third point may repeat";
    ASSERT_EQ(lists.points.size(), 3u);
    EXPECT_EQ(lists.elevationFlags, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(lists.windowPoints, (std::vector<QPoint>{a, b, a}));
    EXPECT_EQ(lists.windowCopy, lists.windowPoints);
    // The TIN layer takes part in appending but not in the input points.
    const QPoint vertex = WindowOf(8, 0, -12.5);
    EXPECT_EQ(View().AddInputPointByPick(vertex.x(), vertex.y()), 0);
    EXPECT_EQ(View().AppendPickedPoint(vertex.x(), vertex.y()), 1);
    EXPECT_EQ(lists.points.size(), 4u);
    EXPECT_EQ(lists.windowCopy.size(), 4u);
}

TEST_F(PickingCommandTest, TheMarkerPickMovesTheRotationCentreOnceArmed)
{
    const QPoint at = WindowOf(0, 4, 3);
    View().CameraMoved() = 0;
    const QVector3D before = View().RotationCentre();
    EXPECT_EQ(View().PickMarkerPoint(at.x(), at.y()), 0);
    EXPECT_EQ(View().RotationCentre(), before);

    View().CameraMoved() = 1;
    EXPECT_EQ(View().PickMarkerPoint(at.x(), at.y()), 1);
    EXPECT_EQ(View().CameraMoved(), 0);
    PT user(View().RotationCentre().x(), View().RotationCentre().y(), View().RotationCentre().z());
    View().ModelStore().ModelToUser(user);
    EXPECT_NEAR(user.x(), 0.0, 1e-4);
    EXPECT_NEAR(user.y(), 4.0, 1e-4);
    EXPECT_NEAR(user.z(), kBaseZ + 3.0, 1e-3);

    // On empty background the centre keeps its window depth and follows the cursor.
    QVector3D centreWindow;
    ASSERT_TRUE(View().ProjectToWindow(View().RotationCentre(), centreWindow));
    View().CameraMoved() = 1;
    EXPECT_EQ(View().PickMarkerPoint(5, 5), 1);
    QVector3D moved;
    ASSERT_TRUE(View().ProjectToWindow(View().RotationCentre(), moved));
    EXPECT_NEAR(moved.x(), 5.0f, 0.01f);
    EXPECT_NEAR(moved.y(), float(kHeight - 5), 0.01f);
    EXPECT_NEAR(moved.z(), centreWindow.z(), 1e-4f);
}

class ElevationPickTest : public PickingCommandTest {
protected:
    CNumericDoubleEdit& FocusEdit(int id)
    {
        View().Settings().deleteMode = 2;  // by elevation: the edits take input
        View().ShowDeleteDialog();
        auto* edit = ControlIds::Find<CNumericDoubleEdit>(View().DeleteDialog(), id);
        EXPECT_NE(edit, nullptr);
        // The edit the user clicked into last: the dialog's focus stays there.
        QDialog* dialog = View().DeleteDialog();
        EXPECT_TRUE(TakeFocus(*dialog, edit));
        EXPECT_EQ(dialog->focusWidget(), edit);
        return *edit;
    }
};

TEST_F(ElevationPickTest, TheVertexElevationFillsTheFocusedEdit)
{
    CNumericDoubleEdit& lower = FocusEdit(32934);
    const QPoint vertex = WindowOf(8, 0, -12.5);
    EXPECT_EQ(View().PickElevationToDialog(vertex.x(), vertex.y()), 1);
    EXPECT_EQ(lower.text().toStdString(), "9987.5000");
    EXPECT_TRUE(Boxes().ShownBoxes().empty());

    // 10000.5 lies beyond the edit's range: handled, the value kept.
    const QPoint high = WindowOf(8, 4, 0.5);
    EXPECT_EQ(View().PickElevationToDialog(high.x(), high.y()), 1);
    EXPECT_EQ(lower.text().toStdString(), "9987.5000");
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
}

TEST_F(ElevationPickTest, NothingUnderTheCursorSaysSoAndKeepsTheValue)
{
    CNumericDoubleEdit& upper = FocusEdit(32935);
    const std::string kept = upper.text().toStdString();
    EXPECT_EQ(View().PickElevationToDialog(3, 3), 1);
    EXPECT_EQ(upper.text().toStdString(), kept);
    ASSERT_EQ(Boxes().ShownBoxes().size(), 1u);
    EXPECT_EQ(Boxes().ShownBoxes()[0].text, "標高を取得できません");
    EXPECT_EQ(Boxes().ShownBoxes()[0].caption, "ORVANE SurfLook(Free)");
}

TEST_F(ElevationPickTest, ACadFigureHasNoElevationToGive)
{
    CElmData line;
    line.m_nKind = 10;
    line.m_ptLists = {{PT(0, 2, kBaseZ), PT(4, 2, kBaseZ)}};
    line.RebuildSegments();
    View().ModelStore().m_elmList.push_back(line);
    View().ModelStore().RebuildCadLayers();
    WaitForFrame();
    CNumericDoubleEdit& lower = FocusEdit(32934);
    const std::string kept = lower.text().toStdString();
    const QPoint on = WindowOf(2, 2, 0);
    int kind = 0;
    ASSERT_EQ(View().PickAt(on.x(), on.y(), kind, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(View().PickElevationToDialog(on.x(), on.y()), 1);
    EXPECT_EQ(lower.text().toStdString(), kept);
    ASSERT_EQ(Boxes().ShownBoxes().size(), 1u);
    EXPECT_EQ(Boxes().ShownBoxes()[0].text, "標高を取得できません");
    // Measuring to a figure has no point to measure to.
    EXPECT_EQ(View().AppendPickedPoint(on.x(), on.y()), 0);
    EXPECT_TRUE(View().PickedPoints().points.empty());
}

TEST_F(ElevationPickTest, WithoutTheDialogOrAnElevationEditNothingHappens)
{
    const QPoint vertex = WindowOf(8, 0, -12.5);
    EXPECT_EQ(View().PickElevationToDialog(vertex.x(), vertex.y()), 0);
    View().ShowDeleteDialog();
    QDialog* dialog = View().DeleteDialog();
    ASSERT_TRUE(TakeFocus(*dialog, dialog->findChildren<QRadioButton*>().front()));
    EXPECT_EQ(View().PickElevationToDialog(vertex.x(), vertex.y()), 0);
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
}

}  // namespace
