#pragma once

#include "hostfw/CABINFO.h"
#include "hostfw/HostTypes.h"
#include "hostfw/PartRecord.h"

#include <string>
#include <vector>

class VCabinetDocExDLL;

// The binder's document table: documents by system number and name, each with a data
// file in the binder's file store, an information record and delivery attributes.
// Document ids are variants; a blank id (empty or long 0) means "none".
class HOSTFW_API VCabinetDocTable {
public:
    explicit VCabinetDocTable(VCabinetDocExDLL& binder);

    // Takes the chooser's binder information; false when it names no usable cabinet.
    bool SetCabInfo(const CABINFO& info);
    FieldValue FindDocument(int systemNo, const std::string& name) const;
    FieldValue NewDocument(const std::string& name, int systemNo, const FieldValue& a,
                           const FieldValue& b);
    bool RemoveDocument(const FieldValue& id);
    bool GetInfo(const FieldValue& id, INFO& out) const;
    bool SetInfo(const FieldValue& id, const INFO& info);
    bool UpdateDocument(const FieldValue& id);
    // Path of the document's data file in the file store; false for an unknown id.
    bool GetDataFilePath(const FieldValue& id, std::string& out) const;
    // Delivery attributes and flag of a document (VDocTable's calls).
    bool SetAttributes(const FieldValue& id, const std::vector<std::string>& attributes);
    std::vector<std::string> GetAttributes(const FieldValue& id) const;
    bool SetCalsFlag(const FieldValue& id, int flag);
    int GetCalsFlag(const FieldValue& id) const;
    int DocumentCount() const;
    // Grows with every document update (the host stand-in tells a stored output by it).
    long long UpdateCount() const;

private:
    VCabinetDocExDLL& m_binder;
    CABINFO m_cabInfo;
};

// Delivery attributes of a document.
class HOSTFW_API VDocTable {
public:
    static bool SetSname(VCabinetDocTable& table, const FieldValue& id,
                         const std::vector<std::string>& attributes);
    static bool SetCalsUpDate(VCabinetDocTable& table, const FieldValue& id, int flag);
};
