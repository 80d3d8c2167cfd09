#pragma once
// This folder's temporary directories, named so that a left-over one tells which tests made it.
#include "tests/support/temp_dir.h"

struct TempDir : test_support::TempDir {
  TempDir() : test_support::TempDir("revmgr-vnquery") {}
};
