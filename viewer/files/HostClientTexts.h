#pragma once

// Texts of the commands that ask the host for data over its pipe.
namespace hosttexts {
inline constexpr const char* kAskGetCad = "ORVANEのCAD図形／パート図（表示状態）を取得します\n\n実行してよろしいですか？";
inline constexpr const char* kAskDiscardCad = "現在のCAD図形／パート図は全て破棄されます\n\n実行してよろしいですか？";
inline constexpr const char* kNoAnswer = "ORVANEが応答しません。\nORVANEが起動しているかご確認下さい。";
inline constexpr const char* kMakingData = "データ作成中です　しばらくお待ちください・・";
inline constexpr const char* kMadeData = "処理完了（データ作成）";
inline constexpr const char* kRegisterTin = "TINからCAD図形を登録します";
inline constexpr const char* kRegisterNeedsHost =
    "TINからCAD図形を登録するには、ORVANEと連動する必要があります。\nORVANEが起動しているかご確認下さい。";
inline constexpr const char* kMakingExchange = "中間ファイルを生成しています";
inline constexpr const char* kNoTin = "TINが存在しません。";
inline constexpr const char* kRegistering = "ORVANEにCAD図形を登録しています";
inline constexpr const char* kRegistered = "TINからCAD図形を登録しました";
inline constexpr const char* kRegisterFailed = "TINからCAD図形登録に失敗しました";
inline constexpr const char* kAskRefetchCad =
    "現在のCAD図形／パート図を全て破棄して\n現在のnORVANEのCAD図形／パート図（表示状態）を取得します\n\n実行してよろしいですか？";
inline constexpr const char* kCadUpdated = "CAD図形を更新しました";
inline constexpr const char* kUpdateFailed = "更新ができませんでした\n\nORVANEが起動しているかご確認下さい。";
inline constexpr const char* kAskTexture = "TINに対してテクスチャを更新します。\n\n実行してよろしいですか？";
inline constexpr const char* kTextureUpdating = "テクチャ更新中・・・しばらくお待ちください";
inline constexpr const char* kTextureUpdated = "テクスチャを更新しました";
inline constexpr const char* kTinDone = "処理を終了しました（TIN生成）";
inline constexpr const char* kAskPointClouds = "ORVANEの3Dビューで開いている点群を取得します\n\n実行してよろしいですか？";
inline constexpr const char* kAskPointCloudsAdd =
    "ORVANEの3Dビューで開いている点群を取得します(追加登録)\n\n実行してよろしいですか？";
inline constexpr const char* kAskDuplicates = "全て追加で登録となります\n\nデータの重複登録にご注意ください";
}  // namespace hosttexts
