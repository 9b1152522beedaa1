// Tests of the desktop platform on FLTK, run under Xvfb.
#include "platform/fltk/fltk_platform.h"

#include <gtest/gtest.h>

TEST(FltkPlatform, AnXDisplayIsAvailable)
{
    ASSERT_TRUE(FltkDisplayAvailable()) << "no X display: run under xvfb-run";
}
