#include <gtest/gtest.h>

#include "base/console.h"

TEST(Console, CaptureCollectsFormattedText) {
  con_capture_begin();
  con_printf("\n- Font file not found %s", "x.sym");
  con_printf(" %u", 7u);
  EXPECT_EQ(con_capture_end(), "\n- Font file not found x.sym 7");
}
