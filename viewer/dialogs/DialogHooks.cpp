#include "viewer/dialogs/DialogHooks.h"

#include "outside/XLandXmlAttrSetDlg.h"
#include "viewer/dialogs/BitmapFile.h"
#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ExportFileDlg.h"
#include "viewer/dialogs/FileSimpleDlg.h"
#include "viewer/dialogs/VurTinToElmDlg.h"
#include "viewer/files/ExportFileName.h"
#include "viewer/files/ExportHooks.h"
#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/ShellHooks.h"

#include <QApplication>

namespace {

ExportHooks g_defaults;
bool g_defaultsKept = false;

} // namespace

void InstallDialogHooks(std::function<COpenGLBaseView*()> activeView)
{
    ShellHooks::Instance().chooseTinToCadKind = [](QWidget* parent, int& kind) {
        VurTinToElmDlg::Values values{static_cast<short>(kind == 0 ? 0 : 1)};
        if (tessara::RunDialog<VurTinToElmDlg>(parent, values) != tessara::IDOK)
            return false;
        kind = values.kind;
        return true;
    };

    ExportHooks& hooks = TheExportHooks();
    if (!g_defaultsKept) {
        g_defaults = hooks;
        g_defaultsKept = true;
    }
    hooks.chooseFile = [](const std::string& folder, const std::string& extension,
                          const std::string&) -> std::optional<std::string> {
        FileSimpleDlg::Values values{folder, extension, {}};
        if (tessara::RunDialog<FileSimpleDlg>(QApplication::activeWindow(), values) != tessara::IDOK ||
            values.result.empty())
            return std::nullopt;
        return values.result;
    };
    hooks.chooseSaveFile = [](const std::string& folder, int& filterIndex,
                              const std::string& suggested) -> std::optional<std::string> {
        ExportFileDlg::Values values{folder, {}, filterIndex, suggested};
        for (const exportfile::Filter& f : exportfile::Filters())
            values.filters.emplace_back(f.label);
        if (tessara::RunDialog<ExportFileDlg>(QApplication::activeWindow(), values) != tessara::IDOK ||
            values.fileName.empty())
            return std::nullopt;
        filterIndex = values.filterIndex;
        return values.fileName;
    };
    hooks.commaTextOptions = [](int& scaleIndex, int& axisXY, const std::string& path) {
        CInOutXYZVurDlg::Values values{scaleIndex, axisXY != 0, path};
        if (tessara::RunDialog<CInOutXYZVurDlg>(QApplication::activeWindow(), values) != tessara::IDOK)
            return false;
        scaleIndex = values.scaleIndex;
        axisXY = values.axisXyz ? 1 : 0;
        return true;
    };
    // Through the runner, so that scripts answer it as they answer every dialog.
    hooks.landXmlAttributes = [](LxDATA_Project& project, LxDATA_Application& application,
                                 LxDATA_Coordinate& coordinate) {
        XLandXmlAttrSetDlg::Values values{project, application, coordinate};
        if (tessara::RunDialog<XLandXmlAttrSetDlg>(QApplication::activeWindow(), values) != tessara::IDOK)
            return false;
        project = values.project;
        application = values.application;
        coordinate = values.coordinate;
        return true;
    };
    hooks.writeBitmap = [activeView](const std::string& path) {
        COpenGLBaseView* view = activeView ? activeView() : nullptr;
        return view != nullptr && WriteBitmapFile(*view, path);
    };
}

void RemoveDialogHooks()
{
    ShellHooks::Instance().chooseTinToCadKind = nullptr;
    if (g_defaultsKept)
        TheExportHooks() = g_defaults;
}
