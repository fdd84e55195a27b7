#pragma once

#include <QColor>
#include <QMatrix4x4>
#include <QOpenGLWidget>
#include <QPoint>
#include <QSurfaceFormat>
#include <QVector3D>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "outside/PT.h"
#include "platform/OwnedMutex.h"
#include "viewer/render/FrameClock.h"
#include "viewer/render/GlFunctions.h"
#include "viewer/render/RefinementSchedule.h"

class QOpenGLFramebufferObject;

// Everything generic about showing a 3D scene: the GL context, off-screen layers,
// the frame loop that renders and composites them, adaptive detail with timer
// refinement, the camera and the mouse/key navigation. Every scene-specific step
// is a virtual hook with an empty base body that the main view overrides.
//
// Sizes and mouse points are in device pixels. "Framebuffer 0" of the system is
// the widget's own framebuffer (BindWindowFramebuffer()). There is no front
// buffer: each scene frame's composite is kept in a cache framebuffer, and an
// overlay update (rubber band, expose, refinement present) blits the cache and
// draws the XOR feedback over it, so erasing feedback is recompositing.
class COpenGLBaseView : public QOpenGLWidget {
    Q_OBJECT
public:
    // The off-screen layers, in composite order; the point-pick layer is never composited.
    enum class Layer : int { Grid, Tin, Cloud, Figure, Part, HostPolygon, Overlay, PointPick, Count };
    static constexpr int kLayerCount = static_cast<int>(Layer::Count);

    // Drag modes.
    static constexpr std::uint8_t kDragNone = 0, kDragRotate = 1, kDragPan = 2, kDragZoom = 3;

    // One GL light as the base view applies it (SetupLights).
    struct LightRecord {
        bool enabled = false;
        std::array<float, 4> position{0.0f, 0.0f, 1.0f, 0.0f};
        std::array<float, 4> ambient{0.0f, 0.0f, 0.0f, 1.0f};
        std::array<float, 4> diffuse{0.0f, 0.0f, 0.0f, 1.0f};
        std::array<float, 4> specular{0.0f, 0.0f, 0.0f, 1.0f};
        std::array<float, 3> spotDirection{0.0f, 0.0f, -1.0f};
        float spotExponent = 0.0f;
        float spotCutoff = 180.0f;
        float constantAttenuation = 1.0f;
        float linearAttenuation = 0.0f;
        float quadraticAttenuation = 0.0f;
    };

    //! The view's context format: compatibility profile, depth 24, alpha 8.
    static QSurfaceFormat SurfaceFormat();
    //! Makes that format the process default; call before the application object is
    //! made, so the window's own context shares the profile.
    static void SetDefaultSurfaceFormat();

    explicit COpenGLBaseView(QWidget* parent = nullptr);
    ~COpenGLBaseView() override;

    COpenGLBaseView(const COpenGLBaseView&) = delete;
    COpenGLBaseView& operator=(const COpenGLBaseView&) = delete;

    // ---- Lock, invalidation and frame state (any member of the view may use these) ----

    //! Guards the model store. Writers lock it; paint, timers, hover and picking only try_lock.
    tessara::OwnedMutex& ViewMutex() { return m_viewMutex; }
    //! Asks for a scene frame (layers re-rendered and recomposited). UI thread only.
    void InvalidateScene();
    //! Asks for an overlay update: the cached composite is shown again and the XOR
    //! feedback drawn over it with this flag. UI thread only.
    void DrawXorOverlay(int flag);

    //! True once the context and every entry point the view needs are there.
    bool IsGlReady() const { return m_glState == GlState::Ready; }
    //! The entry points of the view's context; null until IsGlReady().
    GlFunctions* Gl() const { return m_gl; }

    int DetailLevel() const { return m_detailLevel; }
    bool RefinementActive() const { return m_refinement.Active(); }
    //! Drops the pending refinement steps (a writer does so before it takes the lock).
    void CancelRefinement();
    int RefinementCounter() const { return m_refinement.Counter(); }
    //! Full scene frames drawn, and refinement steps drawn after them, counted apart.
    std::uint64_t SceneFrameCount() const { return m_sceneFrameCount; }
    std::uint64_t RefinementStepCount() const { return m_refinementStepCount; }
    //! The clock scene frames are timed with (null: the steady clock).
    void SetFrameClock(std::shared_ptr<FrameClock> clock);
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    //! The framebuffer that holds the last composited picture (device pixels, bottom
    //! row first); 0 while there is none. Read it with the context current.
    unsigned CompositeFramebuffer() const;

    // ---- Layers (context current: inside a frame or under a GlContextScope) ----

    //! Binds a layer's framebuffer for drawing; false when the layer does not exist.
    bool BindLayer(Layer layer);
    //! Binds the window's own framebuffer ("framebuffer 0").
    void BindWindowFramebuffer();
    //! The layer's colour texture, 0 when it does not exist.
    unsigned LayerTexture(Layer layer) const;
    //! Clears one layer with the background colour's alpha-0 clear colour and depth 1.
    void PrepareOffscreenTarget(Layer layer);
    //! Draws one colour texture over the whole viewport of the bound framebuffer.
    void DrawTextureFullscreen(unsigned texture);
    //! Enables and positions the four lights; called after the look-at camera is loaded.
    bool SetupLights();

    // ---- Camera on the CPU (usable outside paint; matrices of the last camera set-up) ----

    //! Loads identity and the SetProjection hook's result; same for the model view.
    void UpdateProjection();
    void UpdateModelView();
    //! Look-at times model matrix: what the scene is drawn with.
    QMatrix4x4 ModelViewMatrix() const;
    const QMatrix4x4& ProjectionMatrix() const { return m_projection; }
    //! Model point to window point (x right, y up, depth 0..1); false for a point that
    //! cannot be projected (w = 0 or not finite).
    bool ProjectToWindow(const QVector3D& model, QVector3D& window) const;
    //! Window point (x right, y up, depth 0..1) to model point; false when not invertible.
    bool UnprojectFromWindow(double x, double y, double depth, QVector3D& model) const;
    //! Turns the scene by angle (degrees) about an eye-space axis through the rotation
    //! centre. Axes shorter than 1e-6 and non-finite input leave the view unchanged.
    void ApplyRotation(float angle, float ax, float ay, float az);
    //! Unit trackball vector of a client point.
    QVector3D TrackballVector(QPoint point) const;

    // ---- Host start-up ----
    void SetWorkFolder(const std::string& folder) { m_workFolder = folder; }
    const std::string& WorkFolder() const { return m_workFolder; }

    // ---- Virtual hooks, in slot order. Base bodies are empty or return 0. ----
    virtual bool SetModelView();                                   // 1
    virtual void SetBackgroundColor();                             // 2
    virtual void DrawBackgroundGradient();                         // 3
    virtual bool SetProjection();                                  // 4
    virtual void DrawAxisAndGrid();                                // 5
    virtual void DrawPointMarker();                                // 6
    virtual void DragStep(QPoint mouse);                           // 7
    virtual void ShowEditPrompt();                                 // 8
    virtual void DrawScaleCaption();                               // 9
    virtual void DrawAxisTriad();                                  // 10
    virtual void DrawOrientationCube();                            // 11
    virtual void DrawDistanceMeasure();                            // 12
    virtual void DrawCoordinateMarker();                           // 13
    virtual void DrawSectionLine();                                // 14
    virtual int PickPoint(int x, int y, PT* out);                  // 15: >= 1 on a hit
    virtual int PickPointIndex(int x, int y);                      // 16
    virtual int PickElevationToDialog(int x, int y);               // 17
    virtual int ClickSelect(int x, int y);                         // 18
    virtual int AppendPickedPoint(int x, int y);                   // 19
    virtual int AddInputPointByPick(int x, int y);                 // 20
    virtual int PickMarkerPoint(int x, int y);                     // 21
    virtual int ApplyTinEdit(int x, int y);                        // 22
    virtual void RenderScene(std::uint8_t pass, int reserved);     // 23
    virtual int SelectByScreenPolygon(const std::vector<QPoint>& polygon, int reserved);  // 24
    virtual void ClearPickBuckets();                               // 25
    virtual void ClearSelection();                                 // 26
    virtual int ClearPickedList();                                 // 27: 1 if the list was not empty
    virtual void SetEditMode(std::uint8_t mode);                   // 28
    virtual void BeginEditSelection();                             // 29
    virtual void ResetDragState();                                 // 30
    virtual int IsBusy();                                          // 31
    virtual void ReservedHook32();                                 // 32
    virtual void OnPolylineFinished();                             // 33
    virtual void ReservedHook34();                                 // 34
    virtual void ShowContextMenu(QPoint clientPoint);              // 35
    virtual void ChooseCadEditColor();                             // 36
    virtual void ChooseElementColor();                             // 37
    virtual std::size_t GetSelectedElementCount();                 // 38
    virtual short GetPointSizeIndex();                             // 39
    virtual void RefreshGroupTree();                               // 40
    virtual void InvalidateScaleCaption();                         // 41
    virtual void ShowDistanceResult(std::size_t pointCount);       // 42
    virtual void DrawDistanceFirstPoint();                         // 43
    virtual void ShowPointCoordinates(PT* point);                  // 44
    virtual void DrawCrossSection(std::size_t pointCount);         // 45
    virtual void DrawSectionFirstPoint();                          // 46
    virtual void EndDrag();                                        // 47
    virtual void ResetHoverPick();                                 // 48
    virtual void InvalidateLegends();                              // 49
    virtual void UpdateLegends();                                  // 50
    virtual void DrawToolFeedback(int flag);                       // 51
    virtual void ReservedHook52();                                 // 52
    virtual void Undo();                                           // 53
    virtual void OnDeleteRange();                                  // 54
    virtual void DeleteSelection();                                // 55
    virtual int DeleteAllData();                                   // 56

protected:
    // Releases the derived view's GL objects; called with the context current,
    // before the base releases its layers (aboutToBeDestroyed and destruction).
    virtual void ReleaseViewGl();

    // Navigation (mouse, wheel, keys).
    void BeginDrag(QPoint point, std::uint8_t mode);
    void BeginPick(QPoint point);
    int EndPick();
    //! One refinement step, run from the refinement timer while the view mutex is held.
    void RefineDraw();

    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    //! The GL entry points the view needs; false (logged once) when any is missing.
    virtual bool LoadGLExtensions();

    // ---- State shared with the main view's concerns ----
    QColor m_backgroundColour{0, 0, 0};     // set by the main view (SetBackgroundColor)
    float m_zoom = 10.0f;
    int m_clientWidth = 0;                  // device pixels
    int m_clientHeight = 0;
    std::uint8_t m_dragMode = kDragNone;
    QVector3D m_lookAt{0.0f, 0.0f, 0.0f};
    QMatrix4x4 m_modelMatrix;               // scene rotation about the rotation centre
    QMatrix4x4 m_orientationMatrix;         // the same rotations without translation
    QVector3D m_rotationCentre{0.0f, 0.0f, 0.0f};
    QVector3D m_axisOrigin{0.0f, 0.0f, 0.0f};
    bool m_axisDirty = true;
    const short* m_perspectiveMode = nullptr;   // ViewSettings projection, set by the main view
    const short* m_mouseDragType = nullptr;     // ViewSettings mouse type, set by the main view
    std::uint8_t m_editMode = 0;                // 0 view/select, 1 point-cloud edit
    std::uint8_t m_toolMode = 0;                // 0, 1, 2, 3, 6, 16, 17, 18
    std::array<LightRecord, 4> m_lights;
    QMatrix4x4 m_projection;                    // last SetProjection result
    QMatrix4x4 m_cameraView;                    // last SetModelView result (look-at only)
    QMatrix4x4 m_toolFeedbackMatrix;            // read by the tool-feedback drawing
    QMatrix4x4 m_hoverMatrix;                   // read by hover picking
    int m_groupTreeDirty = 0;
    int m_legendDirty = 0;
    std::string m_workFolder;                   // UTF-8, ends with '/'
    int m_hostSwitchV = 0;
    int m_hostSwitchX = 0;

    // Input lists of the tools and selection.
    std::vector<QPoint> m_inputScreenPoints;    // projected input points (y down)
    std::vector<PT> m_inputModelPoints;
    std::vector<QPoint> m_rubberBand;           // rubber-band outline
    std::vector<int> m_inputPickIds;
    std::vector<PT> m_measurePoints;            // distance and read-out tools
    std::vector<PT> m_sectionPoints;            // cross-section tool
    std::vector<QPoint> m_xorOutline1;          // kept by the tool-feedback drawing
    std::vector<QPoint> m_xorOutline2;

    // Navigation state.
    QPoint m_previousPoint;
    QVector3D m_trackball;
    QPoint m_pressPoint;
    std::array<double, 3> m_pressAnchor{1e-16, 1e-16, 1e-16};
    bool m_leftPressPending = false;
    bool m_boxStarted = false;
    bool m_moved = false;
    bool m_rotationStarted = false;
    bool m_firstRotationStep = false;
    bool m_menuOpen = false;
    bool m_clickAfterMenu = false;
    int m_rubberBandPresent = 0;
    int m_editPolygonActive = 0;
    int m_distanceToolActive = 0;
    int m_readoutToolActive = 0;
    int m_sectionToolActive = 0;
    int m_boxCancelled = 0;
    int m_cameraMoved = 1;
    QPoint m_lastPointer;
    int m_wheelRemainder = 0;                   // wheel delta not yet turned into a step

private:
    enum class GlState { NotInitialised, Ready, Failed };

    void ReleaseGlResources();
    bool AllocateLayers();
    void ReleaseLayers();
    void RenderSceneFrame();
    void CompositeIntoCache();
    void PresentCache();
    void RenderOverlayLayer();
    void AdaptDetailLevel(std::int64_t frameMs);
    void LoadCameraIntoGl();
    void StopRefinement();
    void DrawFeedback(int flag);
    void ReprojectInputPoints();
    void EraseSelectionBox();
    int MouseDragTypeSetting() const;
    int PerspectiveSetting() const;
    void OnRightButtonRelease(QPoint point);
    void OnDoubleClick(QPoint point);
    QPoint DevicePoint(const QPointF& logical) const;

    tessara::OwnedMutex m_viewMutex;
    GlState m_glState = GlState::NotInitialised;
    GlFunctions* m_gl = nullptr;
    std::array<std::unique_ptr<QOpenGLFramebufferObject>, kLayerCount> m_layers;
    std::unique_ptr<QOpenGLFramebufferObject> m_compositeCache;
    std::array<bool, kLayerCount> m_layerMayHoldDrawing{};
    bool m_cacheValid = false;
    bool m_sceneRequested = true;
    int m_pendingFeedbackFlag = 0;
    int m_detailLevel = 0;
    std::shared_ptr<FrameClock> m_frameClock = DefaultFrameClock();
    std::uint64_t m_sceneFrameCount = 0;
    std::uint64_t m_refinementStepCount = 0;
    RefinementSchedule m_refinement;
    int m_refinementTimerId = 0;
    bool m_releasingGl = false;
    QMetaObject::Connection m_contextConnection;
};
