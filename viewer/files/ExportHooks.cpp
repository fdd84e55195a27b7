#include "viewer/files/ExportHooks.h"

#include "outside/XLandXmlAttrSetDlg.h"

ExportHooks& TheExportHooks()
{
    static ExportHooks hooks = [] {
        ExportHooks h;
        h.chooseFile = [](const std::string&, const std::string&, const std::string&) {
            return std::optional<std::string>();
        };
        h.chooseSaveFile = [](const std::string&, int&, const std::string&) { return std::optional<std::string>(); };
        h.commaTextOptions = [](int&, int&, const std::string&) { return false; };
        h.writeBitmap = [](const std::string&) { return false; };
        h.landXmlAttributes = [](LxDATA_Project& p, LxDATA_Application& a, LxDATA_Coordinate& c) {
            return XLandXmlAttrSetDlg::Run(p, a, c) != 0;
        };
        return h;
    }();
    return hooks;
}
