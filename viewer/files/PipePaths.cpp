#include "viewer/files/PipePaths.h"

#include "platform/Cp932.h"
#include "viewer/files/PipeMessage.h"

std::optional<std::string> PipePathAt(const PipeMessage& message, std::size_t offset)
{
    auto raw = message.RawTextAt(offset);
    if (!raw) return std::nullopt;
    return tessara::FromCp932(tessara::Cp932Bytes::FromBytes(*raw));
}

bool SetPipePathAt(PipeMessage& message, std::size_t offset, const std::string& utf8)
{
    const auto cp932 = tessara::ToCp932(utf8);
    if (!cp932) return false;
    return message.SetRawTextAt(offset, cp932->Bytes());
}
