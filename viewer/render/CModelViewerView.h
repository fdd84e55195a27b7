#pragma once

#include <QOpenGLBuffer>
#include <QPointer>
#include <QRect>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/CommandMap.h"
#include "viewer/render/PipeWorker.h"
#include "viewer/render/ToolFeedbackRules.h"
#include "viewer/render/ViewSettings.h"

class CModelDataMng;
class QOpenGLTexture;
class QMenu;

namespace tessara {
class UiMessageTarget;
}

// The program's only view. It owns the scene data (the model store), the settings
// record, the GPU buffers, the selection and pick state, the undo lists, the
// pipe-server worker and the measurement hints.
//
// One declaration, one source file per concern: members are defined in the folder
// of their concern (viewer/render/CModelViewerView<Concern>.cpp,
// viewer/buffers/CModelViewerView<Concern>.cpp, ...). Other folders add their
// members only inside the sections marked for them below.
class CModelViewerView : public COpenGLBaseView {
    Q_OBJECT
public:
    // The view's window messages (the host link's progress and status messages).
    static constexpr unsigned kWmUser = 0x0400;
    static constexpr unsigned kMsgSetStatusText = kWmUser + 100;
    static constexpr unsigned kMsgProgress = kWmUser + 101;
    static constexpr unsigned kMsgProgressEnd = kWmUser + 102;
    static constexpr unsigned kMsgLoadProgress = kWmUser + 103;
    static constexpr unsigned kMsgLoadFinished = kWmUser + 104;
    static constexpr unsigned kMsgDeleteDlgApply = kWmUser + 105;
    static constexpr unsigned kMsgDeleteDlgClose = kWmUser + 106;
    static constexpr unsigned kMsgLandXmlLoadFinished = kWmUser + 108;

    // Sizes of the four pixel resources (RGBA8).
    static constexpr std::size_t kMarkerSpriteBytes = 16384;       // 64 x 64 point marker
    static constexpr std::size_t kOverlayStripBytes = 524288;      // 1024 x 128
    static constexpr std::size_t kOverlaySquareBytes = 589824;     // 384 x 384

    //! Constructs the model store, reads the settings from the profile and loads
    //! the pixel resources. The pipe worker starts in Create().
    explicit CModelViewerView(QWidget* parent = nullptr);
    ~CModelViewerView() override;

    //! Window creation: starts the pipe-server worker and builds the command map.
    void Create();
    //! First update: the About box (while "psKeyLicenseView" is set), legends dirty,
    //! then the file-open command.
    void OnInitialUpdate();

    //! The commands, update-UI handlers and window messages the view handles;
    //! the frame routes to it first.
    const CommandMap& Commands() const { return m_commands; }
    //! Runs a window message (WM_USER+100..108) on the UI thread; 0 without a handler.
    std::intptr_t HandleViewMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    //! Where other threads send the view's window messages (SendUiMessage/PostUiMessage);
    //! it runs HandleViewMessage on the UI thread. Shut down first at destruction.
    tessara::UiMessageTarget& MessageTarget() { return *m_messageTarget; }

    CModelDataMng& ModelStore() { return *m_modelStore; }
    ViewSettings& Settings() { return m_settings; }
    const ViewSettings& Settings() const { return m_settings; }

    void LoadViewSettings(ViewSettings& settings);
    void SaveViewSettings(const ViewSettings& settings);

    // Hooks of the base view that this concern overrides.
    bool SetModelView() override;
    void SetBackgroundColor() override;
    void DrawBackgroundGradient() override;
    bool SetProjection() override;
    void DrawAxisAndGrid() override;
    void DrawPointMarker() override;
    int ClickSelect(int x, int y) override;
    int IsBusy() override;

    // The view's own virtuals after the base hooks.
    virtual void OnSetCursor();
    virtual void OnDropFiles();

    //! Eye distance of the look-at camera for a projection setting and zoom.
    static double EyeDistance(short projection, float zoom);
    //! Clear colour of a background style (0 black, 1 blue, other white).
    static QColor BackgroundColourOf(short background);
    //! Bottom and top colours of the background gradient of a background style.
    struct BackgroundGradient {
        std::array<float, 3> bottom, top;
    };
    static BackgroundGradient BackgroundGradientOf(short background);

    //! Stroke-font collector: appends one stroke of six doubles to the current
    //! view's list; without a current view it does nothing. Returns 1.
    static int CollectFontStroke(const double* stroke);
    //! Names the view whose list CollectFontStroke fills (null: none).
    static void SetStrokeCollectorView(CModelViewerView* view);
    static CModelViewerView* StrokeCollectorView();
    //! The strokes collected for this view.
    std::vector<std::array<double, 6>>& FontStrokes() { return m_fontStrokes; }

    // Point colour mode ("psKeyGlViewPointRenderMode") and "new group on register"
    // ("psKeyGlViewEditPCloudGrpNew"): settings of the profile kept in the view.
    short m_pointColourMode = 0;
    int m_newGroupOnRegister = 0;

protected:
    void ReleaseViewGl() override;

private:
    void BuildCommandMap();
    void LoadPixelResources();
    void StartPipeWorker();
    void StopPipeWorker();
    void ReleaseAxisGridGl();
    void BuildAxisBuffers();
    void BuildPaperBuffer();
    void BuildGridBuffer();

    // ---- Class frame, camera and base view concern (viewer/render) ----
    std::unique_ptr<CModelDataMng> m_modelStore;
    std::unique_ptr<tessara::UiMessageTarget> m_messageTarget;
    ViewSettings m_settings;
    CommandMap m_commands;
    PipeWorker m_pipeWorker;
    void* m_workObject1 = nullptr;              // IsBusy reports busy while either is set
    void* m_workObject2 = nullptr;
    std::array<std::array<double, 3>, 5> m_pointSlots{};   // every coordinate 1e-16 at start
    int m_pickedGroup = -1;
    int m_pickedPoint = -1;
    int m_pickTolerance = 5;                    // pixels; the marker pick raises it to 20 once
    int m_vertexPointSize = 10;                 // GL point size of vertex draws and picks
    int m_editCommandsEnabled = 0;              // read by the point and TIN edit commands' update-UI
    std::vector<std::uint8_t> m_markerSprite;   // 64 x 64 RGBA8
    std::vector<std::uint8_t> m_overlayStrip;   // 1024 x 128 RGBA8
    std::vector<std::uint8_t> m_overlaySquareA; // 384 x 384 RGBA8
    std::vector<std::uint8_t> m_overlaySquareB; // 384 x 384 RGBA8
    std::vector<std::array<double, 6>> m_fontStrokes;   // filled by CollectFontStroke

    // Axis, paper and grid buffers (built once, drawn every frame).
    QOpenGLBuffer m_axisVertices{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_axisColours{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_paperBuffer{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_gridBuffer{QOpenGLBuffer::VertexBuffer};
    std::unique_ptr<QOpenGLTexture> m_markerTexture;
    bool m_axisBuilt = false;
    std::atomic<bool> m_paperBuilt{false};  // cleared from the pipe worker too
    bool m_gridBuilt = false;
    friend class ModelViewerViewTestPeer;   // tests read the buffers' state

public:
    //! Clear to rebuild the paper rectangle on the next frame (any thread): the
    //! host's sheet when its data or overlay file gave one, else the data's extent.
    void InvalidatePaper() { m_paperBuilt = false; }

    // ---- Buffers and render passes (viewer/buffers) ----
    // Defined in viewer/buffers/CModelViewerView<Concern>.cpp.
    //! Called from the constructor, before the settings are read.
    void InitBuffers();
    //! Releases the buffers' GL objects; called with the context current.
    void ReleaseBuffersGl();
    //! Draws the scene into the layers: pass 1 display, 4 pick re-render, 9 point
    //! pick. The caller holds the view lock with the context current.
    void RenderScene(std::uint8_t pass, int reserved) override;
    //! The pick entry: re-renders the pick layers (pass 4) when the store is free;
    //! false, and nothing drawn, while another thread holds it.
    bool RenderPickLayers();
    void DrawScaleCaption() override;
    void InvalidateScaleCaption() override;
    short GetPointSizeIndex() override;
    //! Entries of the selected CAD element list (BuffersState().selectedCadElements).
    std::size_t GetSelectedElementCount() override;
    //! Box of the shown content of the kinds (0x01 clouds, 0x02 group TINs, 0x08 view
    //! cloud, 0x20 CAD TIN, 0x40 structures); 1 when anything counted.
    int GetVisibleExtent(int kinds, int allFlag, PT& min, PT& max);
    int GetVisibleIntensityRange(double& min, double& max);
    //! Puts a bitmap file on the TIN texture; a failure keeps the previous one.
    void CreateTextureFromBitmap(std::string path);
    //! A host picture with its placement in survey coordinates; 1 when a texture is held.
    int LoadGeoTexture(const char* path, double x, double y, double width, double height, double angle);
    //! The release family: each deletes one kind's buffers (context current).
    void ReleaseGroupCloudPointBuffers();
    void ReleaseSelectionBuffers();
    void ReleaseViewCloudPointBuffers();
    void ReleaseGroupTinFaceBuffers();
    void ReleaseGroupTinEdgeBuffers();
    void ReleaseGroupTinVertexBuffers();
    void ReleaseViewCloudTinFaceBuffers();
    void ReleaseViewCloudTinTextureBuffers();
    void ReleaseViewCloudTinEdgeBuffers();
    void ReleaseViewCloudTinVertexBuffers();
    void ReleaseCadTinFaceBuffers();
    void ReleaseCadTinTextureBuffers();
    void ReleaseCadTinEdgeBuffers();
    void ReleaseCadTinVertexBuffers();
    //! Kind flags, draw switches and pick buckets (see viewer/buffers/ViewBuffersState.h).
    struct ViewBuffersState& BuffersState() { return *m_buffers; }

private:
    struct RenderContext MakeRenderContext();
    std::unique_ptr<struct ViewBuffersState, void (*)(ViewBuffersState*)> m_buffers{nullptr, nullptr};

public:

    // ---- Overlays, picking, hover and tool feedback (viewer/buffers) ----
    // Defined in viewer/buffers/CModelViewerViewPicking.cpp, ...Overlays.cpp and
    // ...Feedback.cpp; their state is BuffersState().pick and .overlayGl.
    void DragStep(QPoint mouse) override;
    int SelectByScreenPolygon(const std::vector<QPoint>& polygon, int reserved) override;
    void ClearPickBuckets() override;
    void ClearSelection() override;
    int ClearPickedList() override;
    void BeginEditSelection() override;
    void ResetDragState() override;
    void EndDrag() override;
    void ResetHoverPick() override;
    void DrawToolFeedback(int flag) override;
    void DrawAxisTriad() override;
    void DrawOrientationCube() override;
    //! Hovered vertex under the pointer (tool mode 1, TIN vertices shown): 1 when found.
    int HoverPickVertex(QPoint pointer);
    //! Hovered TIN edge under the pointer (tool mode 2); always 1.
    int HoverPickEdge(QPoint pointer);
    //! The camera as the selection and hover project with it (window y up).
    class ScreenProjector CurrentProjector() const;

private:
    void RefillPickCache();
    void DrawHoverHighlight(int redrawOnly);
    void DrawRectangleBand(int redrawOnly);
    void DrawPolygonBand(int redrawOnly);
    void DrawSegmentBand(int redrawOnly);
    void DrawPolylineBand(int redrawOnly);
    void DrawSectionBand(int redrawOnly);
    void DrawBand(int redrawOnly);
    ToolFeedbackRules::Input FeedbackInput() const;
    //! The outline's vertices in window pixels (y up), three floats each.
    std::vector<float> BandVertices() const;

public:

    // ---- Scene files and host link (viewer/fileview) ----
    // Defined in viewer/fileview/CModelViewerView<Concern>.cpp.
    //! Called from the constructor (undo lists: old snapshot files are deleted here).
    void InitFiles();
    //! Called from the destructor after the worker has stopped.
    void ReleaseFiles();
    //! The pipe-server loop; runs on the worker thread until the stop is requested.
    void PipeServerLoop(WorkerStopToken& stop);
    //! Binds the file commands and the WM_USER+100..104, +108 messages.
    void RegisterFileCommands(CommandMap& map);
    //! File-open command (also run at the first update).
    void OnFileOpen();
    //! Export command: the save dialog, a question before an existing file is
    //! replaced, then SaveFile.
    void OnFileExport();
    //! Reads a host data file into the store (pipe command 1; command 0's reply on the
    //! UI thread): 1 when something was loaded. A damaged file changes nothing.
    int LoadHostDataFile(const std::string& path, int colourPicture, int texturePicture);
    //! Model file or undo snapshot with the content flags: 1 when written whole.
    int SaveModelArchive(const std::string& path, std::uint16_t contentFlags);
    //! 1 when a file of an accepted version was read whole; otherwise the scene is unchanged.
    int LoadModelArchive(const std::string& path);
    void PushUndoSnapshot(std::uint16_t contentFlags);
    void Undo() override;
    //! Deletes the 20 snapshot files of list 0 or 1 and empties it.
    void ClearUndoFiles(int list);
    bool CanUndo() const;
    //! Marks every drawable kind for rebuilding; the render passes rebuild them.
    void InvalidateAllBuffers();
    //! Asks for the screen pick cache to be rebuilt with the next frame.
    void RebuildPickCache();
    //! Pipe commands 4, 18, 19 (with the view mutex held), 20 and 21: see ExchangeFile.h
    //! and HostOverlayStore.h. Command 20 answers 1 after a file was read whole and installed.
    int WriteExchangeFile(const std::string& path, int contentFlags, int pointLimit, int tinType,
                          bool* aborted = nullptr);
    int ExportPointsInPolygons(const std::string& path);
    int WriteShownTins(const std::string& path);
    int ReadHostPolygonFile(const std::string& path);
    int ClearHostPolygons();
    //! WM_USER+100..104, +108 handlers (UI thread).
    std::intptr_t OnSetStatusText(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnProgress(std::uintptr_t position, std::intptr_t maximum);
    std::intptr_t OnProgressEnd(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnLoadProgress(std::uintptr_t done, std::intptr_t total);
    std::intptr_t OnLoadFinished(std::uintptr_t code, std::intptr_t lParam);
    std::intptr_t OnLandXmlLoadFinished(std::uintptr_t code, std::intptr_t lParam);
    //! Progress helpers for work on the UI thread.
    void SetMainFrameStatusText(std::string text);
    int SetMainFrameProgress(int maximum, int position);
    void EndMainFrameProgress();
    //! Shows a status text from any thread (WM_USER+100 with the text by value).
    void SendStatusText(const std::string& text);
    //! The last status text shown (the run checks read it).
    std::string LastStatusText() const;
    //! Opens the host's pipe, waiting at most 5 s in all.
    static bool ConnectHostPipe(class CNamedPipe& pipe, const char* pipeName);
    //! One request to the host: write, flush, read the reply into the same record,
    //! pumping events meanwhile (the abort button ends the wait). False: no reply.
    bool ExchangeWithHost(class CNamedPipe& pipe, class PipeMessage& message);
    void OnGetHostCad();
    void OnRegisterTinToHost();
    void OnFetchHostCad();
    void OnFetchHostTexture();
    void OnGetHostPointClouds();
    //! Pipe command 17: asks the host for the window rectangle (left, top, right,
    //! bottom in screen pixels) for an alignment mode; false without an answer.
    bool FetchHostWindowPlacement(int alignmentMode, std::array<int, 4>& rect);
    // Exports and the file dispatcher (viewer/fileview/CModelViewerViewExchange.cpp,
    // CModelViewerViewExports.cpp).
    //! Keeps the host's clip rectangle (user coordinates; kept in model ones) and
    //! asks for the axis grid to be worked out again. Returns 1.
    int SetClipRect(double x, double y, double width, double height);
    //! Saves by the path's extension (.tpf, .sim, .xyz, .xml, .las, .laz, .bmp, any
    //! letter case): the writer's result, 0 after a refusal, a cancel or for another
    //! extension. An existing file is replaced only by a complete new one.
    int SaveFile(std::string path);
    //! The LAS/LAZ and LandXML savers of SaveFile, on the current file name: 1 when
    //! written. They report with boxes and status texts.
    int SaveLasFile();
    int SaveLandXmlFile();
    //! Everything this concern keeps (undo lists, frame block, flags); see ViewFilesState.h.
    struct ViewFilesState& FilesState() { return *m_files; }

private:
    // The save and snapshot with the view mutex already held; failure gets the text to show.
    int SaveModelArchiveLocked(const std::string& path, std::uint16_t contentFlags, std::string& failure);
    bool PushUndoSnapshotLocked(std::uint16_t contentFlags, std::string& failure);
    void InstallHostData(struct HostDataContent& content, int colourPicture, int texturePicture);
    void CollectSceneState();
    void ApplySceneState(std::uint16_t contentFlags, std::uint16_t version);
    //! Shows a message box on the UI thread: directly there, posted from the worker.
    void ShowFilesMessage(const std::string& text, unsigned flags);
    std::unique_ptr<struct ViewFilesState, void (*)(ViewFilesState*)> m_files{nullptr, nullptr};

public:

    // ---- Commands (viewer/commands) ----
    // Defined in viewer/commands/CModelViewerView<Concern>.cpp.
    //! Called from the constructor.
    void InitCommands();
    //! Called from the destructor (tool windows, delete dialog, hints).
    void ReleaseCommands();
    //! Binds the editing commands, their update-UI handlers and WM_USER+105, +106.
    void RegisterEditCommands(CommandMap& map);

    // View directions: the whole model fitted into the window, seen from above,
    // below, left, right, front or back (viewer/commands/CModelViewerViewFit.cpp).
    // Virtual so the rooms below the commands (the file dispatcher) reach them.
    virtual void OnShowUp();
    void OnShowLow();
    void OnShowLeft();
    void OnShowRight();
    void OnShowFront();
    void OnShowBack();
    //! 1 and the box of all the model's data in user coordinates, else 0.
    int GetModelExtent(PT& min, PT& max);

    // Display switches, picture modes, overlays and the update-UI table
    // (viewer/commands/CModelViewerViewDisplay.cpp).
    void OnSwitchCad();
    void OnPictureColor();
    void OnPictureHighLow();
    void OnPictureIncline();
    void OnPictureTexture();
    void OnModeDepthToggle();
    void OnSyncWindowWithHost();
    void UpdateHeightLegend();
    void UpdateIntensityLegend();
    //! The height and intensity legends again, those the colour modes show.
    void RefreshValueLegends();
    //! Triangles of the shown TINs and points of the shown clouds; 0 while another
    //! thread holds the store.
    std::int64_t CountShownTinTriangles();
    std::int64_t CountShownPoints();
    //! Every group's points are coloured again with the next frame.
    void RequestRecolourPoints();
    void InvalidateLegends() override;

    // TIN generation and the store-wide helpers other commands share
    // (viewer/commands/CModelViewerViewMakeTin.cpp).
    void OnMakeTinFromPointCloud();
    //! The CAD TIN from the shown CAD figures with elevations, after MakeTinDlg.
    void OnMakeTinFromCad();
    //! Re-indexes every stored TIN under the lock and marks the TIN buffers
    //! (virtual: the file dispatcher below the commands calls it before saves).
    virtual void RemapTinData();
    //! Drops the tree items of the groups (only those shown for points with 1) and
    //! shows those groups whole; the caller holds the lock.
    void RemoveGroupTreeItems(int onlyShown);
    void RefreshGroupTree() override;
    //! Rebuilds every group's point and vertex grids; the caller holds the lock.
    void RegridAllGroups();

    //! A click in the TIN edit modes (viewer/commands/CModelViewerViewTinEdit.cpp).
    int ApplyTinEdit(int x, int y) override;

    // The selected points as a group (viewer/commands/CModelViewerViewGrouping.cpp).
    void RegisterSelectionAsGroup();
    void MoveSelectionToNewGroup(const std::string& name, const std::string& memo, COLORREF colour);
    void MoveSelectionToGroup(int listIndex, const std::string& memo, COLORREF colour);

    //! Runs fn on the model store when this thread may read it: it holds the view
    //! lock already, or gets it at once; otherwise the answer is `busy`.
    template <class R, class Fn>
    R ReadStore(Fn&& fn, R busy)
    {
        if (ViewMutex().HeldByThisThread()) return fn(ModelStore());
        std::unique_lock lock(ViewMutex(), std::try_to_lock);
        if (!lock.owns_lock()) return busy;
        return fn(ModelStore());
    }

private:
    void RegisterViewDirectionCommands(CommandMap& map);
    void FitModelToWindow(int direction);
    void RegisterDisplayCommands(CommandMap& map);
    void RegisterGroupingCommands(CommandMap& map);
    void RegisterTinGenerationCommands(CommandMap& map);
    void MakeTinFromSelection(std::int64_t selected);
    void MakeTinFromWholeClouds();
    void FinishTinGeneration(std::int64_t triangles, bool report);
    //! Selection, pick lists and picked point dropped after points were renumbered.
    void ForgetPointNumbers();
    void MarkTinKindForRebuild(std::uint8_t kind);
    void FinishSelectionMove();
    void MarkAllTinFaces(bool withTextures);
    void SetPictureModeWithLegends(int mode);
    void UpdateOrCloseElevationLegend();
    // The legend windows (viewer/commands/CModelViewerViewLegends.cpp).
    void ShowElevationLegendWindow(double top, double bottom);
    void ShowSlopeLegendWindow();
    void ShowIntensityLegendWindow();
    void LayOutLegendWindows();

    // ---- Cross-sections (viewer/commands/CModelViewerViewSection.cpp) ----
public:
    //! Command 35211: enters or leaves cross-section mode (tool mode 18).
    void OnToolDanmen();
    void DrawSectionFirstPoint() override;
    //! Builds the profile and its sheet from the first two section points (also
    //! run by the cross-section dialog); a second point at the first's plan
    //! position is dropped and asked for again.
    void DrawCrossSection(std::size_t pointCount) override;
    void DrawSectionLine() override;
    //! The sheet built last (null: none), and the open cross-section dialog.
    const struct SectionSheet* CurrentSectionSheet() const { return m_sectionSheet.get(); }
    //! The boxes of the current sheet's labels on the screen (logical pixels, as
    //! the hints are placed); labels behind the eye are left out.
    std::vector<QRect> SectionLabelsOnScreen() const;
    class DanmenConfDlg* SectionDialog() const;

private:
    void RegisterSectionCommands(CommandMap& map);
    void CloseSectionDialog();
    std::shared_ptr<struct SectionSheet> m_sectionSheet;
    QPointer<QObject> m_sectionDialog;    // the DanmenConfDlg, a child of the view
    // ---- end of cross-sections ----

    // ---- Removing and thinning data (viewer/commands: ...Sampling.cpp,
    // ...Deletion.cpp, ...Clearing.cpp) ----
public:
    //! The point filters (32807-32809, 32812, 32813): dialog, two questions, the
    //! store's filter on the groups shown for points under the lock.
    void OnSampleGrid();
    void OnSampleGridMinZ();
    void OnSampleGridMaxZ();
    void OnFilterRadius();
    void OnFilterOutlierRemoval();

    //! Empties the store but for the 3D structures; locks by itself.
    void ClearAllData();
    //! Clears the content the model-file flags name (0xFFFF all) and what the view
    //! holds of it; the caller holds the lock (the model-file load runs it).
    void ClearData(std::uint16_t flags, std::uint16_t version);

    //! Command 32803 and the range hook: the modeless delete dialog, made once.
    void ShowDeleteDialog();
    void OnDeleteRange() override;
    //! WM_USER+105: the deletion the delete settings choose; 0 when declined.
    std::intptr_t OnDeleteDlgApply(std::uintptr_t wParam, std::intptr_t lParam);
    //! WM_USER+106: the dialog is destroyed.
    std::intptr_t OnDeleteDlgClose(std::uintptr_t wParam, std::intptr_t lParam);
    //! The Delete key: the selected points (tool mode 0) or CAD figures (6).
    void DeleteSelection() override;
    int OnDeleteAllShown();
    int DeleteAllData() override;
    //! Command 32801: CAD figure selection (tool mode 6) on or off.
    void OnEditCad();
    class CDeleteDlg* DeleteDialog() const { return m_deleteDlg; }

private:
    void RegisterSamplingCommands(CommandMap& map);
    void RegisterDeletionCommands(CommandMap& map);
    //! 1 when done, 0 when declined; icon is the nothing-selected box's.
    int DeleteSelectionWithQuestion(bool statusTexts, unsigned nothingIcon);
    //! Runs remove (which answers the groups it changed) under the lock, then
    //! marks those groups' buffers, legends and tree for refreshing.
    void RemovePoints(const std::function<std::vector<std::int64_t>(CModelDataMng&)>& remove);
    void DeleteSelectedPoints();
    void DeleteSelectedCadFigures();
    void DeleteByElevation();
    void DeleteAllShown();
    int ConfirmAndDeleteAll(bool onlyShown);
    class CDeleteDlg* m_deleteDlg = nullptr;
    void RunPointFilter(int filter);
    // ---- end of removing and thinning data ----
    // ---- Point colouring, style menu, colour dialogs, TIN edit modes, cursors and
    // the information box (viewer/commands/CModelViewerViewColouring.cpp and
    // viewer/commands/CModelViewerViewTinOptions.cpp) ----
public:
    void OnAssortHigh();
    void OnAssortColor();
    void OnAssortMono();
    void OnAssortIntensity();
    void OnAssortPclGroup();
    //! A point colour button: the active mode's button turns colouring off; the
    //! height and intensity legends follow and every point is coloured again.
    void SetPointColourMode(short pressed);
    void ChooseCadEditColor() override;
    void ChooseElementColor() override;
    void ShowContextMenu(QPoint clientPoint) override;
    void UpdateLegends() override;
    void OnTinDeleteFace();
    void OnTinEditVertex();
    void OnTinSwapEdge();
    void ShowEditPrompt() override;
    void OnToolInfo();
    //! Shows the main frame's group pane when hidden, hides it when shown.
    void OnToolGroupView();
    void OnNotImplemented();
    //! "設定" and "色設定": the settings and colour-stop dialogs; OK (and "更新")
    //! applies the new settings to the running view.
    void OnFileSetting();
    void OnColorSetting();
    //! What the right-click menu answered: the item id (0: none), whether Escape
    //! closed it, and the pointer then (client device pixels).
    struct ContextMenuAnswer {
        int command = 0;
        bool escape = false;
        QPoint cursor;
    };
    //! Runs the menu in place of the user when set (tests).
    std::function<ContextMenuAnswer(QMenu& menu, QPoint globalPoint)> m_contextMenuTracker;
    //! The flag the right-click menu leaves when a click outside an item closed it.
    bool MenuDismissedByClick() const { return m_menuOpen; }

private:
    void RegisterColouringCommands(CommandMap& map);
    void RegisterTinOptionCommands(CommandMap& map);
    void RegisterSettingDialogCommands(CommandMap& map);
    //! Background, camera, recolouring (when a point colour input changed since
    //! `before`), TIN faces and legends after new settings.
    void ApplyChangedSettings(const ViewSettings& before);
    std::optional<COLORREF> RunEditColourDialog();
    ContextMenuAnswer TrackContextMenu(QMenu& menu, QPoint globalPoint);
    void ToggleTinEditMode(std::uint8_t mode);

    // ---- Distance and coordinate measurement
    // (viewer/commands/CModelViewerViewMeasure.cpp) ----
public:
    //! Commands 35210 and 32838: the distance and the coordinate tool on or off.
    void OnToolDst();
    void OnToolShowXyz();
    void ShowDistanceResult(std::size_t pointCount) override;
    void DrawDistanceFirstPoint() override;
    void DrawDistanceMeasure() override;
    void ShowPointCoordinates(PT* point) override;
    void DrawCoordinateMarker() override;
    //! The last distance read (user units through the inverse user matrix) and the
    //! settings that switch its lines and hints.
    struct MeasureResult {
        double plane = 0.0;
        double height = 0.0;
        double slope = 0.0;
        int* showPlane = nullptr;    // "psKeyLevelDistance"
        int* showSlope = nullptr;    // "psKeySlopeDistance"
        int* showHeight = nullptr;   // "psKeyHeigthDistance"
    };
    MeasureResult m_measureResult{0.0, 0.0, 0.0, &m_settings.showPlaneDistance, &m_settings.showSlopeDistance,
                                  &m_settings.showHeightDifference};
    class DstConfDlg* DistanceDialog() const { return m_dstConfDlg; }

private:
    void RegisterMeasureCommands(CommandMap& map);
    void ToggleMeasureMode(std::uint8_t mode);
    //! Empties the measuring and section lists and makes the next click start afresh.
    void ForgetMeasuredPoints();
    void CloseDistanceDialog();
    //! The readings' converter, with the points turned into user coordinates;
    //! nullopt while another thread holds the store.
    std::optional<class Measurement> CurrentMeasurement(std::vector<PT>& points);
    class DstConfDlg* m_dstConfDlg = nullptr;
    // ---- end of distance and coordinate measurement ----

public:
    // ---- Picking: what lies under a window pixel, and the hooks built on it
    // (viewer/commands/CModelViewerViewPicking.cpp) ----
    //! The layers the next pick reads; every hook sets them, and InvalidateLayers
    //! turns them all on again.
    struct PickLayerFlags {
        bool points = true;
        bool cadFirst = true;
        bool cadSecond = true;
        bool part = true;
        bool tin = true;
    };
    //! The picked-point lists the measuring tools read: model points, their window
    //! points (y from the top), a copy of those, and an elevation flag per point.
    struct PickedPointLists {
        std::vector<PT> points;
        std::vector<QPoint> windowPoints;
        std::vector<QPoint> windowCopy;
        std::vector<int> elevationFlags;
    };
    //! What lies under window point (x, y from the top) in the flagged layers: 1
    //! with its kind and, where given, its ids, model point (written only on a hit)
    //! and elevation flag; 0 for nothing, while window points are pending, while
    //! the view is busy or another thread holds the store. Draws nothing.
    int PickAt(int x, int y, int& kind, std::vector<int>* ids, PT* point, int* elevationFlag);
    int PickPoint(int x, int y, PT* out) override;
    int PickPointIndex(int x, int y) override;
    int PickElevationToDialog(int x, int y) override;
    int AppendPickedPoint(int x, int y) override;
    int AddInputPointByPick(int x, int y) override;
    int PickMarkerPoint(int x, int y) override;
    //! Every layer takes part in the next pick again.
    void InvalidateLayers();
    PickLayerFlags& PickLayers() { return m_pickLayers; }
    PickedPointLists& PickedPoints() { return m_pickedPoints; }
    //! The group and point index the last point pick stored (-1 when none).
    std::pair<int, int> PickedPointIndex() const { return {m_pickedGroup, m_pickedPoint}; }

private:
    PickLayerFlags m_pickLayers;
    PickedPointLists m_pickedPoints;
    // ---- end of picking ----

public:
};
