#pragma once
// Processor time used by this process so far, in milliseconds: the machine running the
// benchmark may be shared, so wall-clock time would measure the neighbours too.
double CpuMilliseconds();
