#include <array>
#include <memory>
#include <string_view>

#include "analysis_report.h"
#include "app/day_report.h"
#include "commands.h"
#include "model/detailed_race_card.h"
#include "model/race_card.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

// Names a sort by its button caption ("Pt勝率") or a plain word ("ptrate").
struct SortName {
  std::string_view word;
  model::RaceCardSort sort;
};
constexpr std::array<SortName, 9> kSortWords = {{
    {"number", model::RaceCardSort::kHorseNumber},
    {"wins", model::RaceCardSort::kWinCount},
    {"losses", model::RaceCardSort::kLossCount},
    {"winrate", model::RaceCardSort::kWinRate},
    {"winpoints", model::RaceCardSort::kWinPoints},
    {"losspoints", model::RaceCardSort::kLossPoints},
    {"ptrate", model::RaceCardSort::kPointWinRate},
    {"odds", model::RaceCardSort::kOddsRank},
    {"finish", model::RaceCardSort::kFinishingPosition},
}};

model::RaceCardSort sortOf(const std::string& text) {
  for (const SortName& name : kSortWords) {
    if (text == name.word) return name.sort;
    if (text == cp932::toUtf8(model::raceCardSortCaption(name.sort))) return name.sort;
  }
  std::string known;
  for (const SortName& name : kSortWords) {
    known += " " + cp932::toUtf8(model::raceCardSortCaption(name.sort)) + "(" +
             std::string(name.word) + ")";
  }
  throw CLI::ValidationError("--sort",
                             "並べ替えの指定が不正です: " + text + "; 指定できるもの:" + known);
}

std::string joined(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += " / ";
    out += part;
  }
  return out;
}

// The detailed race card, row by row through `printRow` (CP932 cells): the
// 105 headings, then per runner the fixed columns and each of the 100
// past-run columns, the lines of a cell joined by " / " and an empty
// past-run slot as an empty cell.
void printDetailedCard(const std::function<void(const std::vector<std::string>&)>& printRow,
                       const app::DaySession& session, int raceSlot) {
  const model::DayTables& tables = session.tables();
  printRow(model::detailedCardHeadings(tables, raceSlot));

  const int runners = session.runnerCount(raceSlot);
  for (int runner = 0; runner < runners; ++runner) {
    model::DetailedRunnerInfo info = model::detailedRunnerInfo(tables, raceSlot, runner);
    std::vector<std::string> cells = {
        info.bracket,
        info.horseNumber,
        joined({info.horseName, info.sexAge + " " + info.earnings + " " + info.blinkers,
                info.jockey, info.weightCarried + " " + info.apprentice, info.trainer}),
        joined({info.distanceRecord[0], info.distanceRecord[1], info.distanceRecord[2],
                info.distanceRecord[3]}),
        joined(
            {info.goingRecord[0], info.goingRecord[1], info.goingRecord[2], info.goingRecord[3]}),
    };
    for (int k = 0; k < model::kPastRunSlots; ++k) {
      model::PastRunCell cell = model::pastRunCell(tables, raceSlot, runner, k);
      if (cell.empty) {
        cells.emplace_back();
        continue;
      }
      cells.push_back(
          joined({cell.lines[0], cell.lines[1], cell.lines[2] + " " + cell.finishingPosition,
                  cell.lines[3], cell.lines[4], cell.mark}));
    }
    printRow(cells);
  }
}

// The race card as JSON: the race, its header, whether it was compared,
// the column headings, the rows in the sort's order (cells without their
// padding blanks) and the runners' figures in the same order.
nlohmann::json raceCardJson(const app::DaySession& session, const model::RaceCard& card,
                            int raceNumber, std::string_view sortWord,
                            const std::vector<app::Notice>& notices) {
  const app::DayReport report = app::dayReport(session);
  const app::RaceReport* race = nullptr;
  for (const app::RaceReport& r : report.races) {
    if (r.slot == card.raceSlot) race = &r;
  }
  if (race == nullptr) throw CommandFailed{"レースがありません"};
  nlohmann::json columns = nlohmann::json::array();
  for (const std::string& heading : model::raceCardHeadings()) {
    columns.push_back(cp932::toUtf8(trimmedCell(heading)));
  }
  nlohmann::json rows = nlohmann::json::array();
  nlohmann::json horses = nlohmann::json::array();
  for (const model::RaceCardRow& row : card.rows) {
    nlohmann::json cells = nlohmann::json::array();
    for (const std::string& cell : row.cells) cells.push_back(cp932::toUtf8(trimmedCell(cell)));
    rows.push_back(std::move(cells));
    if (row.runnerSlot >= 0 && row.runnerSlot < static_cast<int>(race->horses.size())) {
      horses.push_back(horseJson(race->horses[static_cast<size_t>(row.runnerSlot)]));
    }
  }
  nlohmann::json out{
      {"day", report.day},
      {"race", raceNumber},
      {"key", race->key},
      {"line", race->line},
      {"header", raceHeaderJson(race->header)},
      {"payouts", payoutsJson(race->payouts)},
      {"compared", race->compared},
      {"comparedMessage", cp932::toUtf8(card.comparedMessage)},
      {"sort", std::string(sortWord)},
      {"columns", std::move(columns)},
      {"rows", std::move(rows)},
      {"horses", std::move(horses)},
  };
  addNotices(out, notices);
  return out;
}

std::string_view sortWordOf(model::RaceCardSort sort) {
  for (const SortName& name : kSortWords) {
    if (name.sort == sort) return name.word;
  }
  return "number";
}

}  // namespace

// `card DAY RACE [--sort KEY] [--detail] [--header] [--json | --csv [--encoding E]]`:
// the race card of a race after loading and comparing the day, as TSV
// (header row, then one row per runner with the 27 columns), CSV or JSON;
// --detail prints the detailed race card instead, --header the race's four
// header lines first, as the race card's copy to the clipboard does.
void registerCardCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    int race = 0;
    std::string sort = "number";
    bool detail = false;
    bool header = false;
    bool json = false;
    bool csv = false;
    CsvEncoding encoding = CsvEncoding::kUtf8;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "card", "レースの出馬表（比較の集計結果・オッズ・着順を含む）をタブ区切りで表示します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_option("RACE", arguments->race, kRaceOptionHelp)->required()->check(kPositiveNumber);
  command
      ->add_option("--sort", arguments->sort,
                   "並べ替え: 馬番 勝数 負数 勝率 勝ﾎﾟｲﾝﾄ 負ﾎﾟｲﾝﾄ Pt勝率 ｵｯｽﾞ順位 着順 "
                   "(または number wins losses winrate winpoints losspoints ptrate odds "
                   "finish)")
      ->type_name("KEY");
  CLI::Option* detail =
      command->add_flag("--detail", arguments->detail, "詳細出馬表（過去走）を表示します");
  command->add_flag("--header", arguments->header,
                    "表の前にレースの見出し4行（日付・レース名・距離・条件）を表示します");
  CLI::Option* json = command->add_flag("--json", arguments->json,
                                        "見出し・払戻・出馬表・各馬の集計値をJSONで表示します");
  addCsvOptions(*command, arguments->csv, arguments->encoding,
                "タブ区切りの代わりにCSVで表示します（セルの詰め物の空白を除きます）");
  json->excludes("--csv");
  json->excludes(detail);
  command->callback([&context, &action, arguments] {
    std::string stem = dayArgument(arguments->day);
    model::RaceCardSort sort = sortOf(arguments->sort);
    action = [&context, arguments, stem, sort] {
      auto session = openSession(context);
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kCompare);
      const int raceSlot = selectRaceOfArgument(context, *session, arguments->race);
      if (arguments->json) {
        const model::RaceCard card = model::raceCard(session->tables(), raceSlot, sort);
        context.out << raceCardJson(*session, card, arguments->race, sortWordOf(sort),
                                    loaded.notices)
                           .dump(2)
                    << "\n";
        return;
      }
      std::function<void(const std::vector<std::string>&)> printRow;
      if (arguments->csv) {
        // Standard output holds the CSV alone.
        for (const app::Notice& notice : loaded.notices) context.err << notice.text << "\n";
        printRow = [&context, encoding = arguments->encoding](const std::vector<std::string>& row) {
          std::vector<std::string> cells;
          for (const std::string& cell : row) cells.push_back(trimmedCell(cell));
          printCsvRow(context.out, cells, encoding);
        };
      } else {
        printNotices(context, loaded.notices);
        printRow = [&context](const std::vector<std::string>& row) {
          printTsvRow(context.out, row);
        };
      }
      if (arguments->header) {
        // Each header line on a line (a row of one cell) of its own.
        for (const std::string& line : model::raceHeaderLines(session->tables().race(raceSlot))) {
          printRow({line});
        }
      }
      if (arguments->detail) {
        printDetailedCard(printRow, *session, raceSlot);
        return;
      }
      model::RaceCard card = model::raceCard(session->tables(), raceSlot, sort);
      const auto& headings = model::raceCardHeadings();
      printRow(std::vector<std::string>(headings.begin(), headings.end()));
      for (const model::RaceCardRow& row : card.rows) {
        printRow(std::vector<std::string>(row.cells.begin(), row.cells.end()));
      }
    };
  });
}

}  // namespace orvalle::cli
