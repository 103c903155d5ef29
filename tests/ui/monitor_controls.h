#pragma once
// The Monitor's controls, for the tests that read them.
#include <QScreen>

#include "TMonitor.h"
#include "monitor_plots.h"
#include "ui_TMonitor.h"
