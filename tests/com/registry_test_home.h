#pragma once
// A product home of its own for a test (tests/support), under the name the com, module and revmgr
// tests know it by.
#include "tests/support/temporary_home.h"

namespace com_test {

using TemporaryHome = test_support::TemporaryHome;

}  // namespace com_test
