// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/sound_code.h"

#include <gtest/gtest.h>

namespace vistrel::filter {
namespace {

TEST(SoundCodeTest, ReferenceNumbers) {
  const struct {
    const char* text;
    std::uint32_t code;
  } cases[] = {
      {"Smith", 200},    {"Smyth", 200},    {"Schmidt", 16843}, {"Abbott", 57},
      {"Abot", 57},      {"Johnson", 6311}, {"Jonson", 6311},   {"Pfeiffer", 406},
      {"Feifer", 406},   {"Phillips", 12805}, {"Filips", 4819}, {"Tot", 24},
  };
  for (const auto& c : cases) EXPECT_EQ(SoundCode(c.text), c.code) << c.text;
}

TEST(SoundCodeTest, WhatDoesNotCount) {
  EXPECT_EQ(SoundCode(""), 0u);
  EXPECT_EQ(SoundCode("123 -- !"), 0u);
  EXPECT_EQ(SoundCode("Aeiou Why"), 0u) << "vowels and H W Y carry no value";
  EXPECT_EQ(SoundCode("O'Neil"), SoundCode("ONEIL"));
  EXPECT_EQ(SoundCode("o'neil"), SoundCode("ONEIL"));
  EXPECT_EQ(SoundCode("Müller"), SoundCode("Mller")) << "only a-z and A-Z are letters";
  EXPECT_EQ(SoundCode("Bell"), SoundCode("Bel")) << "doubled letter at the end";
  EXPECT_EQ(SoundCode("Bbb"), 5u * 11 + 5) << "a tripled letter counts twice";
  EXPECT_EQ(SoundCode("Pf"), 3u) << "the P of PF is silent even at the end";
  EXPECT_EQ(SoundCode("p"), 9u);
}

TEST(SoundCodeTest, OnlyTheFirstTenValuedLettersCount) {
  EXPECT_EQ(SoundCode("BCDFGLMNPR"), SoundCode("BCDFGLMNPRSTUVWXYZ"));
  EXPECT_NE(SoundCode("BCDFGLMNP"), SoundCode("BCDFGLMNPR"));
  // Ten letters of value 10 overflow 32 bits: 11^10 wraps.
  EXPECT_EQ(SoundCode("RARARARARARARARARARA"), static_cast<std::uint32_t>(25937424600ULL % 4294967296ULL));
}

}  // namespace
}  // namespace vistrel::filter
