#include "commands.h"

#include <sstream>

namespace orvalle::cli {

void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action) {
  registerInitCommand(app, context, action);
  registerDaysCommand(app, context, action);
  registerGetCommand(app, context, action);
  registerSetCommand(app, context, action);
  registerAcquireCommand(app, context, action);
  registerFetchResultsCommand(app, context, action);
  registerSimulateCommand(app, context, action);
  registerRacesCommand(app, context, action);
  registerCompareCommand(app, context, action);
  registerCardCommand(app, context, action);
  registerAnalyzeCommand(app, context, action);
  registerUnprocessedCommand(app, context, action);
  registerResultsCommand(app, context, action);
  registerHitReportCommand(app, context, action);
  registerImportOddsCommand(app, context, action);
  registerKaimeCommand(app, context, action);
  registerBacktestCommand(app, context, action);
  registerExportCommand(app, context, action);
}

void addQuietFlag(CLI::App& command, bool& quiet) {
  command.add_flag("-q,--quiet", quiet, "進行状況を表示しません");
}

app::Home homeOf(const CliContext& context) {
  return app::Home(app::Home::resolve(context.homeOption));
}

const app::SettingKey& settingKeyOf(std::string_view section, std::string_view key) {
  const app::SettingKey* found = app::findSettingKey(section, key);
  if (found == nullptr) {
    throw CLI::ValidationError("不明な設定です: " + std::string(section) + " " + std::string(key) +
                               "（--help で設定の一覧を表示します）");
  }
  return *found;
}

namespace {

// What each setting is, in the words of the program's menus and dialogs.
struct SettingDescription {
  const app::SettingKey* key;
  const char* text;
};
const SettingDescription kSettingDescriptions[] = {
    {&app::settings::kLocateTop, "メイン画面の位置（上）"},
    {&app::settings::kLocateLeft, "メイン画面の位置（左）"},
    {&app::settings::kLocateWidth, "メイン画面の幅"},
    {&app::settings::kLocateHeight, "メイン画面の高さ"},
    {&app::settings::kIgnorePastRunDates, "データ読込時過去走の日付を無視する"},
    {&app::settings::kCompareAfterLoading, "データ読込後直ちに全レース比較を行う"},
    {&app::settings::kCloseRaceList, "読込後、ﾃﾞｰﾀﾘｽﾄを消す"},
    {&app::settings::kPastRunPeriod, "過去走データ利用範囲（日数）"},
    {&app::settings::kOddsCeiling, "逆順位を数える予想オッズの上限"},
    {&app::settings::kUserSettingId, "使用するユーザー買い目設定の番号（0から）"},
    {&app::settings::kOddsFolder, "予想オッズのフォルダ（空ならホームの yLZH）"},
    {&app::settings::kLastAcquisitionTime, "前回のデータ取得日時"},
    {&app::settings::kPrintTop, "印刷プレビューの位置（上）"},
    {&app::settings::kPrintLeft, "印刷プレビューの位置（左）"},
    {&app::settings::kPrintWidth, "印刷プレビューの幅"},
    {&app::settings::kPrintHeight, "印刷プレビューの高さ"},
    {&app::settings::kPrintZoom, "印刷プレビューの倍率（0=25%, 1=50%, ...）"},
    {&app::settings::kJvLinkSource, "データの取得元フォルダ"},
};

const char* descriptionOf(const app::SettingKey& key) {
  for (const SettingDescription& description : kSettingDescriptions) {
    if (*description.key == key) return description.text;
  }
  return "";
}

}  // namespace

std::string settingKeysHelp() {
  std::string help = "設定（セクション キー: 内容。値の種類、既定値）:\n";
  for (const app::SettingKey& key : app::allSettingKeys()) {
    const char* type = "文字列";
    switch (key.type) {
      case app::SettingType::kInteger:
        type = "整数";
        break;
      case app::SettingType::kBoolean:
        type = "0/1";
        break;
      case app::SettingType::kDecimal:
        type = "数値";
        break;
      case app::SettingType::kText:
        break;
    }
    help += "  " + std::string(key.section) + " " + std::string(key.key) + ": " +
            descriptionOf(key) + "。" + type;
    if (key.range != nullptr) {
      // Shortest form of each bound ("365", "1"), as %g writes it.
      std::ostringstream range;
      range << key.range->minimum << ".." << key.range->maximum;
      help += " " + range.str();
    }
    if (!key.defaultValue.empty()) help += "、既定値 " + std::string(key.defaultValue);
    help += "\n";
  }
  return help;
}

}  // namespace orvalle::cli
