#pragma once

#include <string>
#include <string_view>

// The texts of JV-Link's return codes, shown to the user when a JV-Link call
// fails. They are user messages: UTF-8.
namespace orvalle::store::codes {

// The JV-Link operations the system calls.
enum class JvLinkOperation {
  kJVInit,
  kJVSetUIProperties,
  kJVOpen,
  kJVRTOpen,
  kJVStatus,
  kJVRead,
  kJVGets,
  kJVClose,
};

// The operation's name as JV-Link spells it ("JVOpen").
std::string_view jvLinkOperationName(JvLinkOperation operation);

// The text of a return code of an operation followed by "(" the code ")":
// JVRead -503 gives "ファイルが見つかりません。(-503)". Code 0 gives
// "正常に実行されました。" unless the operation has its own text for it;
// JVStatus and JVRead/JVGets have texts for codes above 0 (the download
// count, the record size) followed by the number; a code without a text
// gives just "(" the code ")".
std::string jvLinkCodeText(JvLinkOperation operation, int code);

// The message of a failed call: the operation's name, "エラー:" and the
// code's text ("JVOpenエラー:サーバーがメンテナンス中です。(-504)").
std::string jvLinkErrorMessage(JvLinkOperation operation, int code);

}  // namespace orvalle::store::codes
