#pragma once

namespace mod04827 {

// Count and absolute maxima (metres) of north, east and up values of one kind of
// closure. Unset values (1e-16) are neither counted nor taken into a maximum.
class NeuMaxima {
public:
    void Add(double n, double e, double u);

    int Count() const { return m_count; }
    double MaxN() const { return m_maxN; }
    double MaxE() const { return m_maxE; }
    double MaxU() const { return m_maxU; }

private:
    int m_count = 0;
    double m_maxN = 0.0;
    double m_maxE = 0.0;
    double m_maxU = 0.0;
};

}  // namespace mod04827
