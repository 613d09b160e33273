#include "store/jvlink_messages.h"

#include <string>

namespace orvalle::store::codes {
namespace {

constexpr std::string_view kSuccess = "正常に実行されました。";
constexpr std::string_view kNotInitialised = "JVInitが行なわれていません。";
constexpr std::string_view kNotOpened = "JVOpenが行なわれていません。";
constexpr std::string_view kStillOpen =
    "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）";

std::string_view initText(int code) {
  switch (code) {
    case 0:
      return kSuccess;
    case -101:
      return "sid が設定されていません。";
    case -102:
      return "sid が64byte 以上あります。";
    case -103:
      return "sid が不正（sid の１桁目がスペース）です。";
    default:
      return {};
  }
}

std::string_view setUiPropertiesText(int code) {
  switch (code) {
    case 0:
      return kSuccess;
    case -100:
      return "パラメータが不正あるいはレジストリへの保存に失敗しました。";
    case -101:
      return "すでにサービスキーが登録されています。";
    default:
      return {};
  }
}

// JVOpen and JVRTOpen share their codes.
std::string_view openText(int code) {
  switch (code) {
    case 0:
      return kSuccess;
    case -1:
      return " 取得済みデータより最新のデータがありません。";
    case -2:
      return "セットアップダイアログでキャンセルが押されました。";
    case -111:
      return "dataspec パラメータが不正です。";
    case -112:
      return "fromdate パラメータが不正です。";
    case -114:
      return "key パラメータが不正です。";
    case -115:
      return "option パラメータが不正です。";
    case -116:
      return "dataspec とoption の組み合わせが不正です。";
    case -201:
      return "JVInit が行なわれていません。";
    case -202:
      return kStillOpen;
    case -211:
      return "レジストリ内容が不正（レジストリ内容が不正に変更された）です。";
    case -301:
      return "認証エラーが発生しました。";
    case -302:
      return "サービスキーの有効期限切れです。";
    case -303:
      return "サービスキーが設定されていません。（サービスキーが空値）";
    case -401:
      return "JV- Link 内部エラーが発生しました。";
    case -411:
      return "サーバーエラー（HTTP ステータス404 NotFount ）が発生しました。";
    case -412:
      return "サーバーエラー（HTTP ステータス403 Forbidden ）が発生しました。";
    case -413:
      return "サーバーエラー（HTTP ステータス200,403,404 以外）が発生しました。";
    case -421:
      return "サーバーエラー（サーバーの応答が不正）が発生しました。";
    case -431:
      return "サーバーエラー（サーバーアプリケーション内部エラー）が発生しました。";
    case -501:
      return "セットアップ処理においてＣＤ －ＲＯＭ が無効です。";
    case -504:
      return "サーバーがメンテナンス中です。";
    default:
      return {};
  }
}

std::string_view statusText(int code) {
  switch (code) {
    case 0:
      return kSuccess;
    case -201:
      return kNotInitialised;
    case -203:
      return kNotOpened;
    case -502:
      return "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）";
    default:
      return {};
  }
}

// JVRead and JVGets share their codes.
std::string_view readText(int code) {
  switch (code) {
    case 0:
      return "全ファイルの読み込みが終了しました。（ＥＯＦ ）";
    case -1:
      return "ファイルが切り替わりました。";
    case -3:
      return "ファイルダウンロード中";
    case -201:
      return kNotInitialised;
    case -202:
      return kStillOpen;
    case -203:
      return kNotOpened;
    case -402:
      return "ダウンロードしたファイルサイズが異常です。";
    case -403:
      return "ダウンロードしたファイル内容が異常です。";
    case -502:
      return "ダウンロードに失敗しました。(通信エラーやディスクエラー)";
    case -503:
      return "ファイルが見つかりません。";
    default:
      return {};
  }
}

}  // namespace

std::string_view jvLinkOperationName(JvLinkOperation operation) {
  switch (operation) {
    case JvLinkOperation::kJVInit:
      return "JVInit";
    case JvLinkOperation::kJVSetUIProperties:
      return "JVSetUIProperties";
    case JvLinkOperation::kJVOpen:
      return "JVOpen";
    case JvLinkOperation::kJVRTOpen:
      return "JVRTOpen";
    case JvLinkOperation::kJVStatus:
      return "JVStatus";
    case JvLinkOperation::kJVRead:
      return "JVRead";
    case JvLinkOperation::kJVGets:
      return "JVGets";
    case JvLinkOperation::kJVClose:
      return "JVClose";
  }
  return {};
}

std::string jvLinkCodeText(JvLinkOperation operation, int code) {
  std::string text;
  switch (operation) {
    case JvLinkOperation::kJVInit:
      text = initText(code);
      break;
    case JvLinkOperation::kJVSetUIProperties:
      text = setUiPropertiesText(code);
      break;
    case JvLinkOperation::kJVOpen:
    case JvLinkOperation::kJVRTOpen:
      text = openText(code);
      break;
    case JvLinkOperation::kJVStatus:
      text = code > 0 ? "ダウンロード済みファイル数" + std::to_string(code)
                      : std::string(statusText(code));
      break;
    case JvLinkOperation::kJVRead:
    case JvLinkOperation::kJVGets:
      text = code > 0 ? "バッファにセットしたデータのサイズ" + std::to_string(code)
                      : std::string(readText(code));
      break;
    case JvLinkOperation::kJVClose:
      if (code == 0) text = kSuccess;
      break;
  }
  return text + "(" + std::to_string(code) + ")";
}

std::string jvLinkErrorMessage(JvLinkOperation operation, int code) {
  return std::string(jvLinkOperationName(operation)) + "エラー:" + jvLinkCodeText(operation, code);
}

}  // namespace orvalle::store::codes
