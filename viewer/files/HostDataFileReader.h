#pragma once

#include "outside/MTRX.h"

#include <string>

class ModelArchive;
struct HostDataContent;

// Reads a host data file (magic 0x40474C56, version 0x0100) into a
// HostDataContent, validating every count against the bytes left and every
// index against its list before anything is kept.
class HostDataFileReader {
public:
    enum class Result {
        Ok,
        Missing,        // no file at the path
        CannotOpen,     // exists but cannot be read
        WrongMagic,
        WrongVersion,
        Damaged,        // header passed, content does not hold together
    };

    // The view's transform as it stands before this file.
    HostDataFileReader(const MTRX& surveyTransform, bool transformSet)
        : m_transform(surveyTransform), m_transformSet(transformSet) {}

    Result Read(const std::string& path, HostDataContent& out);
    // Why the last Read failed (for the log and the message).
    const std::string& Error() const { return m_error; }

    // True for results that passed magic and version: only such a file is the
    // host's temporary file and may be deleted.
    static bool HeaderPassed(Result r) { return r == Result::Ok || r == Result::Damaged; }

private:
    bool ReadHeader(ModelArchive& ar, HostDataContent& out);
    bool ReadCad(ModelArchive& ar, HostDataContent& out);
    bool ReadPart(ModelArchive& ar, HostDataContent& out);
    bool ReadViewCloud(ModelArchive& ar, HostDataContent& out);
    bool ReadGroup(ModelArchive& ar, HostDataContent& out);
    // x, y finite (else the archive fails), NaN z as 1e-16, x and y through the transform.
    bool ReadHostPoint(ModelArchive& ar, const HostDataContent& out, double& x, double& y, double& z);
    void LowerZMin(HostDataContent& out, double z) const;

    MTRX m_transform;
    bool m_transformSet;
    double m_rawCorners[4][2] = {};
    std::string m_error;
};
