#include "windows/WinHandles.h"
