#include "hostfw/gnss/CTab04735DB.h"

int GetMod04735Ans(const CTab04735DB& db, DWORD part, std::vector<NeuTriple>& out)
{
    return ReadNeuAnswers(db, part, out);
}
