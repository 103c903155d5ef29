#pragma once
// The Monitor's controls, for the tests that read them.
#include "TMonitor.h"
#include "ui_TMonitor.h"
