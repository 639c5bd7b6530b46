#include "scan/PathTests.h"
