#include "plugins/gnss/RouteCheck.h"

#include "hostfw/gnss/GnssRounding.h"

#include <set>
#include <utility>

namespace mod04827 {

namespace {

bool Touches(const RouteEntry& e, const std::string& point)
{
    return e.from == point || e.to == point;
}

RouteCheckResult Reject(std::string message)
{
    RouteCheckResult r;
    r.message = std::move(message);
    return r;
}

}  // namespace

RouteCheckResult CheckRoute(const std::vector<RouteEntry>& entries,
                            const std::map<std::string, double>& knownHeights, bool levellingInUse)
{
    if (entries.size() < 2) return Reject("点を２点以上指示して下さい。");

    const RouteEntry& first = entries.front();
    const RouteEntry& last = entries.back();
    const std::string start = Touches(entries[1], first.from) ? first.to : first.from;
    const std::string end = Touches(entries[entries.size() - 2], last.to) ? last.from : last.to;
    if (!first.active || !last.active || !knownHeights.count(start) || !knownHeights.count(end)) {
        return Reject(levellingInUse ? "出発又は到着点が電子基準点(又は水準点)ではありません。"
                                     : "電子基準点から電子基準点へ、登録が行われていません。");
    }

    std::set<std::pair<std::string, std::string>> seen;
    for (const RouteEntry& e : entries) {
        auto key = e.from < e.to ? std::make_pair(e.from, e.to) : std::make_pair(e.to, e.from);
        if (!seen.insert(std::move(key)).second) return Reject("点が重複しています。");
    }

    RouteCheckResult r;
    std::string current = start;
    double sum = 0.0;
    for (const RouteEntry& e : entries) {
        if (e.from == current) {
            r.reversed.push_back(false);
            sum += e.heightDifference;
            current = e.to;
        } else if (e.to == current) {
            r.reversed.push_back(true);
            sum -= e.heightDifference;
            current = e.from;
        } else {
            return Reject("登録が正しく行われていません。");
        }
    }
    r.passed = true;
    r.closure = CmpMaru(knownHeights.at(start), 4, 0) + sum - CmpMaru(knownHeights.at(current), 4, 0);
    return r;
}

}  // namespace mod04827
