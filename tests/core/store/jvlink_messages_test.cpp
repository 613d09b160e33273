#include "store/jvlink_messages.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::store::codes {
namespace {

using Op = JvLinkOperation;

TEST(JvLinkMessagesTest, CodeTexts) {
  struct Case {
    Op operation;
    int code;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {Op::kJVRead, -503, "ファイルが見つかりません。(-503)"},
      {Op::kJVGets, -503, "ファイルが見つかりません。(-503)"},
      {Op::kJVOpen, -504, "サーバーがメンテナンス中です。(-504)"},
      {Op::kJVRTOpen, -1, " 取得済みデータより最新のデータがありません。(-1)"},
      {Op::kJVOpen, -201, "JVInit が行なわれていません。(-201)"},
      {Op::kJVOpen, 0, "正常に実行されました。(0)"},
      {Op::kJVOpen, -999, "(-999)"},
      {Op::kJVOpen, 5, "(5)"},
      {Op::kJVInit, -103, "sid が不正（sid の１桁目がスペース）です。(-103)"},
      {Op::kJVInit, 0, "正常に実行されました。(0)"},
      {Op::kJVSetUIProperties, -101, "すでにサービスキーが登録されています。(-101)"},
      {Op::kJVStatus, -201, "JVInitが行なわれていません。(-201)"},
      {Op::kJVStatus, 3, "ダウンロード済みファイル数3(3)"},
      {Op::kJVStatus, 0, "正常に実行されました。(0)"},
      {Op::kJVStatus, -502, "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"},
      {Op::kJVRead, -502, "ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"},
      {Op::kJVRead, 0, "全ファイルの読み込みが終了しました。（ＥＯＦ ）(0)"},
      {Op::kJVRead, -202,
       "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）(-202)"},
      {Op::kJVRead, 1272, "バッファにセットしたデータのサイズ1272(1272)"},
      {Op::kJVRead, -4, "(-4)"},
      {Op::kJVClose, 0, "正常に実行されました。(0)"},
      {Op::kJVClose, -1, "(-1)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(jvLinkCodeText(c.operation, c.code), c.expected)
        << jvLinkOperationName(c.operation) << " " << c.code;
  }
}

TEST(JvLinkMessagesTest, ErrorMessageNamesTheOperation) {
  EXPECT_EQ(jvLinkErrorMessage(Op::kJVOpen, -504),
            "JVOpenエラー:サーバーがメンテナンス中です。(-504)");
  EXPECT_EQ(
      jvLinkErrorMessage(Op::kJVSetUIProperties, -100),
      "JVSetUIPropertiesエラー:パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)");
}

// The texts are UTF-8 messages that the Windows code page can show as well.
TEST(JvLinkMessagesTest, EveryTextIsUtf8ThatCp932CanHold) {
  for (Op op : {Op::kJVInit, Op::kJVSetUIProperties, Op::kJVOpen, Op::kJVRTOpen, Op::kJVStatus,
                Op::kJVRead, Op::kJVGets, Op::kJVClose}) {
    for (int code = -600; code <= 2; ++code) {
      const std::string text = jvLinkErrorMessage(op, code);
      ASSERT_TRUE(cp932::isValidUtf8(text)) << text;
      EXPECT_EQ(cp932::toUtf8(cp932::fromUtf8(text)), text);
    }
  }
}

}  // namespace
}  // namespace orvalle::store::codes
