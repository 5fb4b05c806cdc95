#include "base/WinHandles.h"
