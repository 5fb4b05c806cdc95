#pragma once

#define IDI_LUMENO 1
