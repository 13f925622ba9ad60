// The main of the test programs that use the toolkit's windows, timers and
// threads: one application object for the whole run, freed with every form
// before the program returns, as in the programs themselves.
#include "toolkit/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TApplication application;
    return RUN_ALL_TESTS();
}
