#pragma once
// The test pack of the Data folder (data/levels/test.lvl): one short level of two customers
// ordering a drink each, started by its name as the command-line word.

namespace restaurant_test {

inline constexpr const char* kTestPack = "Packs/Test/pack.qpk";
// Its customers and the bar capacity that two takes in a row fill.
inline constexpr int kTestPackCustomers = 2;
inline constexpr int kTestPackCombo = 5;

}  // namespace restaurant_test
