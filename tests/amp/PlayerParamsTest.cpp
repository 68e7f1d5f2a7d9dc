// The player-facing parameter table: the symbols and names formats show for each control.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "amp/PlayerParams.h"

TEST(PlayerParamsTest, SymbolsAndNamesAreUniqueIdentifiersAndLookupsFoldCase) {
  std::set<int> ids;
  std::set<std::string> symbols, names;
  for (const PlayerParam& row : PlayerParams()) {
    EXPECT_TRUE(ids.insert(row.id).second) << row.symbol;
    EXPECT_TRUE(symbols.insert(row.symbol).second) << row.symbol;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    for (char c : std::string(row.symbol)) EXPECT_TRUE(std::islower(c) || c == '_') << row.symbol;
    EXPECT_EQ(FindPlayerParam(row.symbol), &row);
    EXPECT_EQ(FindPlayerParam(row.name), &row);
  }
  EXPECT_EQ(FindPlayerParam("GATE-THRESHOLD")->id, kGateThreshold);
  EXPECT_EQ(FindPlayerParam("impulse response on")->id, kIrLed);
  EXPECT_EQ(FindPlayerParam("gate"), nullptr);
  EXPECT_EQ(FindPlayerParam(""), nullptr);
}
