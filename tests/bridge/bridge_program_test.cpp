#include "bridge_program.h"

#include <gtest/gtest.h>

#include <sstream>

#include "acquire/replay_jv_link.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::bridge {
namespace {

using test::TempDir;

class BridgeProgramTest : public ::testing::Test {
 protected:
  BridgeProgramTest() {
    test::writeDataFile(m_source / "RACEDIFF", "20240105120000", "RA.txt", {"RA1\r\n", "RA2\r\n"});
    m_platform.makeComponent = [this](bool, std::string& failure) {
      Component component;
      if (m_unavailable) {
        failure = "JV-Linkがインストールされていません。";
      } else {
        component.link = std::make_unique<acquire::ReplayJvLink>(m_source.path());
      }
      return component;
    };
  }

  int run(const std::vector<std::string>& args) {
    m_out.str("");
    m_err.str("");
    return runBridge(args, m_platform, m_out, m_err);
  }

  TempDir m_source;
  TempDir m_folder;
  BridgePlatform m_platform;
  bool m_unavailable = false;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

TEST_F(BridgeProgramTest, RecordsIntoTheFolderAndSaysWhatItDid) {
  const std::string out = (m_folder / "src").string();
  EXPECT_EQ(run({"--out", out}), 0) << m_err.str();
  EXPECT_EQ(m_out.str(), "1個のファイル(2レコード)を保存しました。\n");
  EXPECT_NE(m_err.str().find("保存: 20240105120000_RA.txt (2レコード)"), std::string::npos);
  EXPECT_EQ(test::readFile(m_folder / "src/RACEDIFF/20240105120000_RA.txt"), "RA1\r\nRA2\r\n");
  EXPECT_EQ(run({"--out", out}), 0);
  EXPECT_EQ(m_out.str(), "新しいデータはありません。(20240105120000より後)\n");
}

TEST_F(BridgeProgramTest, ExitStatusesTellArgumentsFoldersAndComponentFailuresApart) {
  const std::string out = (m_folder / "src").string();
  EXPECT_EQ(run({}), 1);
  EXPECT_EQ(m_err.str().rfind("--out で取込元フォルダを指定してください。\n\n使い方:", 0), 0u);
  EXPECT_EQ(run({"--out", out, "--from", "2024"}), 1);
  EXPECT_EQ(run({"--out", out, "--results", "20240106", "--setup"}), 1);
  EXPECT_EQ(run({"--out", out, "--bogus"}), 1);
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_NE(m_out.str().find("終了コード"), std::string::npos);

  test::writeFile(m_folder / "file", "x");
  EXPECT_EQ(run({"--out", (m_folder / "file").string()}), 1);
  EXPECT_FALSE(m_err.str().empty());

  test::writeFile(m_source / "jvlink.ini", "[emulate]\ninit=-101\n");
  EXPECT_EQ(run({"--out", out}), 2);
  EXPECT_EQ(m_err.str(), "JVInitエラー:sid が設定されていません。(-101)\n");
  EXPECT_EQ(run({"--settings"}), 2);

  m_platform.lockFolder = [](const std::filesystem::path&, std::string& failure) {
    failure = "ほかのorvalle-jvbridgeがこのフォルダに書き込み中です。";
    return std::shared_ptr<void>();
  };
  EXPECT_EQ(run({"--out", out}), 1);
  EXPECT_EQ(m_err.str(), "ほかのorvalle-jvbridgeがこのフォルダに書き込み中です。\n");

  m_unavailable = true;
  EXPECT_EQ(run({"--out", out}), 2);
  EXPECT_EQ(m_err.str(), "JV-Linkがインストールされていません。\n");
}

}  // namespace
}  // namespace orvalle::bridge
