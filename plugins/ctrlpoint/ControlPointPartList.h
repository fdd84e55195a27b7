#pragma once

#include <memory>

#include "plugins/common/AdmittingPartList.h"
#include "plugins/ctrlpoint/PartAdmission.h"

class KjnXyda_Nt;

namespace mod00519 {

class HostControlPointSiblings;

// A part list of the control-point dialog: admits parts of its programs and of the
// table's grade, searched, imported or typed, reading them through the sibling databases it owns.
class ControlPointPartList : public plugcommon::AdmittingPartList {
    Q_OBJECT
public:
    explicit ControlPointPartList(PartListKind kind, QWidget* parent = nullptr);
    ~ControlPointPartList() override;

    PartListKind Kind() const { return m_kind; }
    BOOL CheckFuncPartAddr(DWORD address) override;
    // A typed part: the rules of the cell's column (its program) and of the list.
    plugcommon::PartRefusal CheckTypedPart(DWORD address, DWORD code) override;
    BOOL CheckFuncZa(DWORD element) override;
    // The two further hooks of the host's list sheet: nothing to add.
    virtual int OnListExtra1() { return 0; }
    virtual int OnListExtra2() { return 0; }

    // Drops what was read of sibling parts (they may have changed since): the dialog
    // calls it at each load, part change, search and import.
    void ForgetSiblingReads();
    // The route key of a check-calculation part (nullopt when unreadable).
    std::optional<std::int64_t> RouteKey(int program, PartAddress part);

private:
    AdmissionFacts Facts();

    PartListKind m_kind;
    std::unique_ptr<KjnXyda_Nt> m_coordinates;
    std::unique_ptr<HostControlPointSiblings> m_siblings;
};

} // namespace mod00519
