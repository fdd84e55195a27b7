#include "hostfw/ctrlpoint/SvyPartZu.h"

#include "hostfw/CVApp.h"
#include "hostfw/ctrlpoint/CSvyZaDB.h"

SvyPartZu::SvyPartZu(CVPartDocument* document, WORD flag, int, double, double, const PT*, const MTRX*,
                     const std::string& name)
    : m_document(document), m_flag(flag), m_name(name)
{
}

int SvyPartZu::PartStart(DWORD partKey)
{
    if (m_document == nullptr)
        return 0;
    m_partKey = partKey;
    m_started = true;
    return 1;
}

int SvyPartZu::PartEnd(int commit)
{
    if (!m_started)
        return 0;
    m_started = false;
    if (commit == 0)
        return 1;
    CSvyZaDB figures(GetCurrentPartSystem());
    return figures.PutFigurePart(m_partKey, m_flag, m_name);
}
