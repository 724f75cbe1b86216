#include <gtest/gtest.h>
#include "flatctrls/FlatUtilitys.h"
TEST(Placeholder, Builds) { EXPECT_EQ(flat::DeriveAdvColor(0xFFFFFF, 0, 10, flat::AdvColorMode::Lighten), 0x6A6A6Au); }
