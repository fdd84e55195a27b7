#pragma once

#include <string>

class CModelDataMng;
class CPCloudMng;

// Names a group and gives it the lowest name number that no group of the same
// shown label uses ("name", then "name 2", "name 3", ...). With excludeLast the
// store's last group (the one being named, already appended) is not compared.
void MakeUniqueGroupName(std::string name, const CModelDataMng& store, CPCloudMng& group, int excludeLast);
