#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FormTemplate;

// The host's report form: one document per form file, rendered to PDF with the
// Japanese font embedded. Fields are numbered; the template lays them out as ruled
// tables with captions (FormLayout) or in boxes of its own. CR/LF breaks a line, long
// lines wrap and table cells grow; a text that still does not fit is reported, and
// fails CloseDoc, rather than cut silently.
class HOSTFW_API SvyForm {
public:
    SvyForm(DWORD flags, DWORD kind, int option);
    ~SvyForm();
    SvyForm(const SvyForm&) = delete;
    SvyForm& operator=(const SvyForm&) = delete;

    // Opens a document from formFile (a path, or a name in the program's forms
    // folder); -1 when the template is missing or bad (LastError tells why).
    int CreateDoc(WORD programNo, const std::string& formFile, const std::string& title1,
                  const std::string& title2);
    // Sets a field of the open document; 0 when no document is open, and 0 for a text
    // over the field's 254 CP932 bytes: such a document is refused by CloseDoc, which
    // then writes nothing.
    int PutField(int fieldNo, const std::string& text, int option);
    // Renders the open document to a PDF in the output folder; 0 on failure, and 0 (with
    // the PDF written, and each text named in LastError) when a text does not fit.
    int CloseDoc();

    const std::string& LastError() const { return m_error; }
    // PDF files this object wrote, in order.
    const std::vector<std::filesystem::path>& WrittenFiles() const { return m_written; }

private:
    DWORD m_flags;
    std::unique_ptr<FormTemplate> m_template;
    std::map<int, std::string> m_fields;
    std::vector<std::string> m_refused;   // fields PutField could not hold
    std::string m_docName;
    WORD m_programNo = 0;
    std::string m_error;
    std::vector<std::filesystem::path> m_written;
};
