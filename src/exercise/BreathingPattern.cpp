#include "exercise/BreathingPattern.h"
