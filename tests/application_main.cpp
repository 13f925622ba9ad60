// The main of the test programs that use the toolkit's windows, timers and
// threads: one application object for the whole run, freed with every form
// before the program returns, as in the programs themselves.
#include "toolkit/application.h"
#ifdef TEST_GIF_UNIT
#include "gifimage/gif_unit_win32.h"
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef TEST_GIF_UNIT
    // Pictures of the GIF unit in form data; it outlives every form.
    TGIFUnit gifUnit;
#endif
    TApplication application;
    return RUN_ALL_TESTS();
}
