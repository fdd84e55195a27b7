// Form templates (.frm, JSON) from any bytes.
#include "FuzzFiles.h"

#include "hostfw/FormTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    FormTemplate form;
    std::string error;
    if (form.Load(file.Path(), error)) {
        for (const FormTemplate::Field& field : form.Fields()) form.FindField(field.no);
    }
    return 0;
}
