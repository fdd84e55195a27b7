#include "hostfw/PartDlgCommands.h"

#include <iterator>

namespace {

constexpr HostPartCommand kCommands[] = {
    {0x8400, "先頭のパート", "先頭のパート: このプログラムの最初のパートを開きます（変更は保存します）"},
    {33794, "前のパート", "前のパート: 一つ前のパートを開きます（変更は保存します）"},
    {33795, "次のパート", "次のパート: 一つ後のパートを開きます（変更は保存します）"},
    {33797, "計算登録", "計算登録: 表示中のパートを保存し、計算に使えるようにします"},
    {33798, "元に戻す", "元に戻す: 保存していない変更を捨て、保存されているパートを読み直します"},
    {33800, "最後のパート", "最後のパート: このプログラムの最後のパートを開きます（変更は保存します）"},
    {33801, "パート情報", "パート情報: 表示中のパートの番号とプログラム、変更の有無を表示します"},
};

} // namespace

const HostPartCommand* FindHostPartCommand(int id)
{
    for (const HostPartCommand& command : kCommands)
        if (command.id == id)
            return &command;
    return nullptr;
}
