#include "hostfw/ctrlpoint/ShuboCalc.h"

#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"

ShuboCalc::ShuboCalc(PartSystem* handle, DWORD handbookPart, const ShboCalVur& conditions)
    : m_handle(handle), m_part(handbookPart), m_conditions(conditions)
{
}

void ShuboCalc::SetHeadData(long pointNo, double)
{
    m_headPoint = pointNo;
}

void ShuboCalc::SetData(int setIndex, long pointNo, double, double, double, double)
{
    m_handed.emplace_back(setIndex, pointNo);
}

int ShuboCalc::Calc()
{
    m_averages.clear();
    PartData book;
    if (m_handle == nullptr || !m_handle->LoadPart(m_part, book))
        return 1;
    PartRecord header;
    if (!book.GetRecord(ctrlsib::kRecKs, 0, header) || header.Long(0) != m_headPoint)
        return 1;
    std::vector<std::pair<int, long>> stored;
    for (int set = 0; set < 6; ++set) {
        const std::size_t rows = book.RowCount(ctrlsib::kHandbookSets[set]);
        for (std::size_t i = 0; i < rows; ++i) {
            PartRecord row;
            book.GetRecord(ctrlsib::kHandbookSets[set], i, row);
            stored.emplace_back(set, static_cast<long>(row.Long(ctrlsib::kRowPoint)));
        }
    }
    if (stored != m_handed)
        return 1;
    for (const PartRecord& row : m_handle->Answers(m_part, ctrlsib::kAnsShubo))
        m_averages.push_back({static_cast<long>(row.Long(0)), row.Double(1), row.Double(2), row.Double(3)});
    return 0;
}

int ShuboCalc::GetHeikin(int k, HeikinData& out) const
{
    if (k < 1 || k > GetNumHeikin())
        return 0;
    out = m_averages[static_cast<std::size_t>(k - 1)];
    return 1;
}
