#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/PartData.h"
#include "hostfw/PartRecord.h"
#include "hostfw/RecordLayout.h"

// Record access of a program's part data by record name: plain records (row 0) and
// list records (rows). Every Get answers non-zero on success; a record never stored
// fails and leaves the output cleared.
class HOSTFW_API TabParamData : public PartData {
public:
    TabParamData() = default;
    explicit TabParamData(const PartData& data) : PartData(data) {}
    ~TabParamData() override;
    TabParamData(const TabParamData&) = default;
    TabParamData& operator=(const TabParamData&) = default;

    // An empty record of the program's layout (every field 0 or "").
    PartRecord NewRecord(const char* name) const;

    int GetRec(const char* name, PartRecord& out) const;
    int PutRec(const char* name, const PartRecord& record);
    int GetRow(const char* name, int index, PartRecord& out) const;
    int PutRow(const char* name, int index, const PartRecord& record);   // index == count appends
    int RowCnt(const char* name) const;
    // Index of the first row whose first field is the part address, -1 when none.
    int SrchRow(const char* name, DWORD address) const;
    void ClearRows(const char* name);
    int DeleteRow(const char* name, int index);
};

// Named accessors: Get_F1/Put_F1 for a plain record; Get_R3Cnt, Get_R3, Put_R3,
// Srch_R3, Clear_R3, Delete_R3 for a list record.
#define HOSTFW_PLAIN_RECORD(N) \
    int Get_##N(PartRecord& r) const { return GetRec(#N, r); } \
    int Put_##N(const PartRecord& r) { return PutRec(#N, r); }
#define HOSTFW_LIST_RECORD(N) \
    int Get_##N##Cnt() const { return RowCnt(#N); } \
    int Get_##N(int i, PartRecord& r) const { return GetRow(#N, i, r); } \
    int Put_##N(int i, const PartRecord& r) { return PutRow(#N, i, r); } \
    int Srch_##N(DWORD address) const { return SrchRow(#N, address); } \
    void Clear_##N() { ClearRows(#N); } \
    int Delete_##N(int i) { return DeleteRow(#N, i); }
