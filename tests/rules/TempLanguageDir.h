#pragma once
// A fresh temporary folder that is the current folder while the object lives; the rules
// tests write their language files into it.

#include "tests/support/TempFolder.h"

namespace quintaro::testing {

using TempLanguageDir = TempFolder;

}  // namespace quintaro::testing
