#include "plugins/common/PartListFilter.h"

namespace plugcommon {

int IsCodeInList(DWORD, WORD programNo, const short* programList)
{
    if (programNo == 0)
        return 1;
    if (!programList)
        return 0;
    for (const short* p = programList; *p != 0; ++p)
        if (static_cast<WORD>(*p) == programNo)
            return 1;
    return 0;
}

std::vector<int> ProgramsOf(const short* programList)
{
    std::vector<int> programs;
    for (const short* p = programList; p != nullptr && *p != 0; ++p)
        programs.push_back(*p);
    return programs;
}

std::string RefusalText(DWORD part, const PartRefusal& refusal)
{
    const std::string name = "パート" + std::to_string(part);
    switch (refusal.reason) {
    case PartRefusal::Reason::None: return {};
    case PartRefusal::Reason::Missing: return name + "はありません。";
    case PartRefusal::Reason::Program: {
        std::string wanted;
        for (std::size_t i = 0; i < refusal.wanted.size(); ++i)
            wanted += (i == 0 ? "" : "・") + std::to_string(refusal.wanted[i]);
        return name + "（プログラム" + std::to_string(refusal.program) + "）はこの欄に指定できません。\n" +
               "この欄に指定できるのはプログラム" + wanted + "のパートです。";
    }
    case PartRefusal::Reason::Grade:
        if (!refusal.partGrade)
            return name + "の等級区分を読み取れないため、指定できません。";
        return name + "の等級区分（" + std::to_string(*refusal.partGrade) + "）が品質評価表の等級区分（" +
               std::to_string(refusal.tableGrade) + "）と一致しません。";
    case PartRefusal::Reason::TableGrade: return "品質評価表の等級区分を読み取れないため、パートを指定できません。";
    case PartRefusal::Reason::Duplicate: return name + "は既に一覧にあります。";
    case PartRefusal::Reason::Element: return "図形要素" + std::to_string(part & 0x7FFFFFFFu) + "はありません。";
    }
    return {};
}

} // namespace plugcommon
