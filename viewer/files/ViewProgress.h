#pragma once

#include <optional>
#include <string>

// The rules of the view's progress and status messages, apart from the widgets:
// what the sender is told, which text is shown and what the progress bar does.
class ViewProgress {
public:
    static constexpr int kGoOn = 0;
    static constexpr int kWait = -1;    // the abort question is on screen
    static constexpr int kStop = -2;    // the user confirmed the abort

    // -2 once abort was requested, else -1 while the question is open, else 0.
    static int Answer(int promptOpen, int abortRequested);

    // What WM_USER+103 (points done of total) does.
    struct LoadStep {
        bool act = false;               // false: nothing changes, answer 0
        std::string status;
        bool endProgress = false;       // true: progress hidden, answer 0
        unsigned maximum = 0;           // millions of points
        unsigned position = 0;
    };
    static LoadStep LoadProgress(long long done, long long total);

    // Status text after a load-finished code (-1 failed, -2 cancelled: none).
    static std::optional<std::string> LoadFinishedText(long long code);
    static std::optional<std::string> LandXmlFinishedText(long long code);
};

// Status texts of the host link and the files.
namespace filetexts {
inline constexpr const char* kCaption = "ORVANE SurfLook(Free)";
inline constexpr const char* kBusy = "データの適正処理を行っています\nしばらく待って処理を実行してください。";
inline constexpr const char* kNoDiskSpace = "ディスクの空き容量が不足しています。";
inline constexpr const char* kSaveFailed = "ファイルの保存に失敗しました。";
inline constexpr const char* kOpenFailed = "ファイルを開くことができませんでした\nデータが破損している可能性があります";
inline constexpr const char* kUndoRunning = "一つ前の操作を元に戻しています・・しばらくお待ちください";
inline constexpr const char* kUndoDone = "処理完了（元に戻す）";
inline constexpr const char* kLoadFailed = "データの読み込みに失敗しました。";
inline constexpr const char* kLoadDone = "処理を終了しました（データの読み込み)";
}  // namespace filetexts
