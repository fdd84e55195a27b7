#include "plugins/gnss/SplitText.h"

#include "platform/Cp932.h"

namespace mod04827 {

bool SplitText(std::string& source, std::string& tail, std::size_t width)
{
    if (tessara::Cp932Length(source) <= width) return false;
    std::string head = tessara::CutToCp932Bytes(source, width);
    tail = source.substr(head.size());
    source = std::move(head);
    return true;
}

std::vector<std::string> CutFormLines(std::string text, std::size_t firstWidth, std::size_t laterWidth, int cuts)
{
    std::vector<std::string> lines;
    std::size_t width = firstWidth;
    for (int i = 0; i < cuts; ++i) {
        std::string tail;
        if (!SplitText(text, tail, width)) break;
        lines.push_back(std::move(text));
        text = std::move(tail);
        width = laterWidth;
    }
    lines.push_back(std::move(text));
    return lines;
}

}  // namespace mod04827
