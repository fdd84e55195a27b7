#include "viewer/files/ViewProgress.h"

#include <cstdio>

int ViewProgress::Answer(int promptOpen, int abortRequested)
{
    if (abortRequested != 0) return kStop;
    if (promptOpen != 0) return kWait;
    return kGoOn;
}

ViewProgress::LoadStep ViewProgress::LoadProgress(long long done, long long total)
{
    LoadStep step;
    if (total <= 0) return step;
    step.act = true;
    if (done == total) {
        step.status = "描画準備中です。";
        step.endProgress = true;
        return step;
    }
    char text[96];
    std::snprintf(text, sizeof text, "点群を読み込んでいます。(%d/%d)", int(done), int(total));
    step.status = text;
    step.maximum = unsigned(total / 1000000);
    step.position = unsigned(done < 0 ? 0 : done / 1000000);
    return step;
}

std::optional<std::string> ViewProgress::LoadFinishedText(long long code)
{
    if (code == -2) return std::nullopt;
    return std::string(code == -1 ? filetexts::kLoadFailed : filetexts::kLoadDone);
}

std::optional<std::string> ViewProgress::LandXmlFinishedText(long long code)
{
    if (code == -2) return std::nullopt;
    return std::string(code == -1 ? "LandXMLファイルの読み込みに失敗しました。" : "処理を終了しました（LandXMLファイル）");
}
