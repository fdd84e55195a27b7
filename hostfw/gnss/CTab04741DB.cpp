#include "hostfw/gnss/CTab04741DB.h"

int GetMod04741Ans(const CTab04741DB& db, DWORD part, std::vector<NeuTriple>& out)
{
    return ReadNeuAnswers(db, part, out);
}
