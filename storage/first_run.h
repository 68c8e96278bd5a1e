// The events file of a first run: the day of the installation and four
// examples of how events, the $Age macro and the warning window behave.
#pragma once

// Writes a new events file with the five sample events. 1 when written, 0
// when the file could not be written (nothing is reported).
int WriteSampleEvents();
