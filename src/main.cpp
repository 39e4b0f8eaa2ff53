#include "CVQ9Test.h"

wxIMPLEMENT_APP(CVQ9App);
