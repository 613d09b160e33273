#include "store/day_file_names.h"

#include <gtest/gtest.h>

#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

TEST(DayFileNamesTest, AnSeDayFileIsNamedByItsRacecourseOrNotAtAll) {
  test::TempDir data;
  const struct {
    const char* code;
    const char* name;  // empty: the code names no file
  } cases[] = {{"06", "中山"}, {"05", "東京"}, {"10", "小倉"}, {"00", ""}, {"  ", ""}, {"ZZ", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(seFileRacecourseName(c.code), c.name) << c.code;
    std::optional<std::filesystem::path> path =
        seDayFilePath(data.path(), "2024年01月06日", c.code);
    EXPECT_EQ(path.has_value(), std::string(c.name) != "") << c.code;
    if (path) {
      EXPECT_EQ(*path, data / ("2024年01月06日" + std::string(c.name) + ".jvSEr"));
    }
  }
  // A file copied from Windows, named in CP932, is the one found.
  test::writeFile(data / cp932::fromUtf8("2024年01月06日中山.jvSEr"), "");
  EXPECT_EQ(seDayFilePath(data.path(), "2024年01月06日", "06"),
            data / cp932::fromUtf8("2024年01月06日中山.jvSEr"));
}

}  // namespace
}  // namespace orvalle::store
