// The shared temporary folder of the tests.
#pragma once

#include "support/temp_folder.h"
