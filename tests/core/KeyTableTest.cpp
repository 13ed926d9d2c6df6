#include "keys/KeyTable.h"

#include <gtest/gtest.h>

TEST(KeyTable, Placeholder) { EXPECT_EQ(ladoton::initialKeyTable().size(), 39u); }
