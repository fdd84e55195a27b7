#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <functional>
#include <string>

// The host's form services. Form templates of program N are the files
// "formNNNNN*.frm" (five digits) in the forms folder, sorted by name; the forms
// folder defaults to the plug-in data folder of the application.

HOSTFW_API void FormGlobalStartNotCmp();
HOSTFW_API void FormGlobalEndNotCmp();
// The form chooser: 0 when the user cancelled. Without a chooser hook it answers 1.
HOSTFW_API int FormSelectDlg(WORD programNo, int mode);
HOSTFW_API int GetFormCnt(WORD programNo, int option);
// Non-zero when form i of the program exists; name gets its path.
HOSTFW_API int GetFormFileName(WORD programNo, int index, std::string& name, int option);

// Host stand-in settings.
HOSTFW_API void SetFormsFolder(const std::filesystem::path& folder);   // empty: plug-in data folder
HOSTFW_API std::filesystem::path GetFormsFolder();
HOSTFW_API void SetFormOutputFolder(const std::filesystem::path& folder);   // PDFs go here
HOSTFW_API std::filesystem::path GetFormOutputFolder();
HOSTFW_API void SetFormSelectHook(std::function<int(WORD programNo)> hook);
// Lines about written forms ("FORM …": a PDF written, a text that does not fit its
// cell, a field the template has no place for) go to this hook; without one, to the log.
HOSTFW_API void SetFormReportHook(std::function<void(const std::string& line)> hook);
HOSTFW_API void ReportFormLine(const std::string& line);
// When on, each PDF gets its layout beside it ("<name>.layout.json": every cell's page,
// rectangle in PDF points, lines and fields), for checking a form's layout.
HOSTFW_API void SetFormLayoutReports(bool on);
HOSTFW_API bool FormLayoutReports();
