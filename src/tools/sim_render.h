#pragma once

// zentrova-sim render: a picture of a set (and of its run) as a PNG file.
// Returns the process's exit status.
int simRender(int argc, char** argv);
