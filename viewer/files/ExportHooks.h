#pragma once

#include "viewer/files/LandXmlExport.h"

#include <functional>
#include <optional>
#include <string>

// What the open and save commands ask of rooms above this one: the file list
// dialog, the save dialog, the comma-text options dialog, the bitmap writer and the LandXML
// attribute dialog. The dialogs room fills them at start-up; tests script them.
// Until filled, a dialog answers cancel and the bitmap writer fails.
struct ExportHooks {
    //! The file list of a folder for one extension; the chosen path, or nothing.
    std::function<std::optional<std::string>(const std::string& folder, const std::string& extension,
                                             const std::string& title)>
        chooseFile;
    //! The save dialog on folder with the filters of ExportFileName.h: the name as
    //! typed (or chosen, then a whole path) and, in and out, the filter; nothing
    //! when cancelled. `suggested` is put in the name field when not empty.
    std::function<std::optional<std::string>(const std::string& folder, int& filterIndex, const std::string& suggested)>
        chooseSaveFile;
    //! The comma-text options: the scale index and axis flag edited in place; false
    //! when cancelled.
    std::function<bool(int& scaleIndex, int& axisXY, const std::string& path)> commaTextOptions;
    //! Writes the view's picture as a bitmap file; false when it could not.
    std::function<bool(const std::string& path)> writeBitmap;
    //! The LandXML attribute dialog (the outside library's own unless replaced).
    landxml::AttributeDialog landXmlAttributes;
};

//! The process's hooks.
ExportHooks& TheExportHooks();
