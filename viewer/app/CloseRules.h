#pragma once

// Whether the frame may close now, and what it tells the user otherwise.
class CloseRules {
public:
    enum class Decision {
        CloseNow,       // no view: close without asking
        RefuseSaving,   // "ファイル保存中のため終了できません。"
        RefuseBusy,     // long work runs; closing would free what it returns into
        Ask,            // ask "アプリケーションを終了してよろしいですか？"
    };

    static Decision Decide(bool hasView, bool saving, bool otherLongWork);
};
