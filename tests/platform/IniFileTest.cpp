#include "IniFile.h"
#include <gtest/gtest.h>
TEST(Ini, Dummy) { int v; EXPECT_TRUE(ParseIniInteger("0x10", v)); EXPECT_EQ(v, 16); }
