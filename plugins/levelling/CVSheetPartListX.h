#pragma once

#include <memory>
#include <vector>

#include "plugins/common/AdmittingPartList.h"
#include "plugins/levelling/LevellingAdmission.h"

class PeldaSysData;

namespace mod00963 {

class HostLevellingSiblings;

// A part list of the levelling dialog (network adjustment, observation notes or
// check routes): admits parts of its program and of the table's grade, searched or typed, reading them
// through the sibling databases it owns.
class CVSheetPartListX : public plugcommon::AdmittingPartList {
    Q_OBJECT
public:
    explicit CVSheetPartListX(LevellingListKind kind, QWidget* parent = nullptr);
    ~CVSheetPartListX() override;

    LevellingListKind Kind() const { return m_kind; }
    BOOL CheckFuncPartAddr(DWORD address) override;
    plugcommon::PartRefusal CheckTypedPart(DWORD address, DWORD code) override;
    // Adds the admitted parts of a part search in order: the network list takes the
    // first, the note and route lists fill their empty rows and then append. The held
    // parts are read once, so a search of 4,096 parts stays linear. Answers how many
    // were added.
    int AddParts(const std::vector<DWORD>& parts, DWORD column);
    // The two further hooks of the host's list sheet: nothing to add.
    BOOL CheckFuncZa(DWORD element) override;
    virtual int OnListExtra() { return 0; }

private:
    LevellingAdmissionFacts Facts();
    const char* ListRecord() const { return m_kind == LevellingListKind::Notes ? "R2" : "R3"; }

    LevellingListKind m_kind;
    const PeldaSysData* m_systemData;
    std::unique_ptr<HostLevellingSiblings> m_siblings;
};

} // namespace mod00963
