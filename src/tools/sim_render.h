#pragma once
#include "sim_options.h"

// zentrova-sim render: a picture of a set (and of its run) as a PNG file.
// Returns the process's exit status.
int simRender(const zentrova::Options& o, char** argv);
